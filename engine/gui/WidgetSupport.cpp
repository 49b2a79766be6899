#include "engine/gui/WidgetSupport.h"

#include "engine/core/Log.h"
#include "engine/platform/InputHandler.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/Sound.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orv::widget {

namespace {

// Whether the alpha of `image` at (x, y) is above `threshold`. Masks may be
// smaller than the widget and pictures may lack alpha, so a point outside the
// image, or an image whose alpha cannot be read, is a miss rather than a read
// out of bounds.
bool alphaAbove(Image& image, int x, int y, int threshold) {
    if (x < 0 || y < 0 || x >= image.getWidth() || y >= image.getHeight() || !image.lock()) {
        return false;
    }
    int alpha = -1;
    const int format = image.getFormat();
    if ((format == kFormatAlpha || format == kFormatRgb565) && image.getAlpha() != nullptr) {
        alpha = image.getAlpha()[static_cast<std::ptrdiff_t>(y) * image.getWidth() + x];
    } else if (format == kFormatArgb32 && image.getPixels() != nullptr) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel,
                    image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch() +
                        static_cast<std::ptrdiff_t>(x) * 4,
                    sizeof pixel);
        alpha = static_cast<int>(pixel >> 24U);
    }
    image.unlock();
    return alpha > threshold;
}

constexpr int kHitMaskThreshold = 128;

} // namespace

RefPtr<Image> findImage(const std::string& name, const std::string& section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<Image>(kindCast<Image>(resources->getObject(name, section)));
}

RefPtr<Image> findLoadedImage(const std::string& name, const std::string& section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<Image>(kindCast<Image>(resources->getLoadedObject(name, section)));
}

bool hitBox(const Sprite& sprite, int x, int y, Image* hitMask, int threshold) {
    const int left = static_cast<int>(static_cast<float>(sprite.getParentX() + sprite.getX()) -
                                      sprite.getAnchorOffsetX());
    const int top = static_cast<int>(static_cast<float>(sprite.getParentY() + sprite.getY()) -
                                     sprite.getAnchorOffsetY());
    const int localX = x - left;
    const int localY = y - top;
    if (localX < 0 || localX >= sprite.getWidth() || localY < 0 || localY >= sprite.getHeight()) {
        return false;
    }
    if (hitMask != nullptr) {
        return alphaAbove(*hitMask, localX, localY, kHitMaskThreshold);
    }
    if (threshold < 0) {
        return true;
    }
    Image* image = sprite.getImage();
    return image == nullptr || alphaAbove(*image, localX, localY, threshold);
}

void playSound(std::string_view owner, const std::string& id, const std::string& section) {
    if (id.empty()) {
        return;
    }
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return;
    }
    RefPtr<Sound> sound;
    bool known = false;
    {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        known = resources->findResource(id, section) != nullptr;
        sound = kindCast<Sound>(resources->getObject(id, section));
    }
    if (!known) {
        logWarning(std::string(owner) + ": no sound '" + id + "' in section '" + section + "'");
    }
    // Null while its section is not loaded: the widget is silent then.
    if (sound) {
        (void)sound->play(255, 128, false);
    }
}

void showFrame(Sprite& sprite, int frame) {
    sprite.Sprite::setCurrentFrame(frame);
    if (const std::optional<Rect>& first = sprite.getFrameRect()) {
        sprite.setSourceRect(first->x + frame * sprite.getFrameOffsetX(),
                             first->y + frame * sprite.getFrameOffsetY(), first->width,
                             first->height);
    }
}

void HoverMark::set(bool hovered) {
    if (hovered == hovered_) {
        return;
    }
    hovered_ = hovered;
    hoverCount += hovered ? 1 : -1;
}

} // namespace orv::widget
