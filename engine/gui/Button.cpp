#include "engine/gui/Button.h"

#include "engine/core/Log.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/Messages.h"
#include "engine/platform/Platform.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/Sound.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

namespace orv {

constinit const ClassRecord Button::classRecord{
    "Button",
    parentRecords<Sprite::classRecord, iInputListener::classRecord, iGuiMethod::classRecord>};

namespace {

// The value under `key`, or null when the key is missing or not a value.
const PropertyValue* presentValue(const PropertyNode& definition, std::string_view key) {
    const AbstractProperty* child = definition.getChild(key);
    return child != nullptr && child->isValue() ? asValue(child) : nullptr;
}

// Whether the alpha of `image` at (x, y) is above `threshold`. Masks may be
// smaller than the button and pictures may lack alpha, so a point outside the
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

// The pieces of a "firekey" text: blanks dropped, split at commas, each read
// as the property tree reads integers. Empty pieces ("13,,32") name no key.
std::vector<int> parseFireKeys(std::wstring_view text) {
    std::wstring compact;
    std::copy_if(text.begin(), text.end(), std::back_inserter(compact),
                 [](wchar_t c) { return c != L' ' && c != L'\t'; });
    std::vector<int> keys;
    std::size_t start = 0;
    while (start <= compact.size()) {
        const std::size_t comma = std::min(compact.find(L',', start), compact.size());
        const std::wstring_view piece = std::wstring_view(compact).substr(start, comma - start);
        if (!piece.empty()) {
            keys.push_back(PropertyValue::toInt(piece));
        }
        start = comma + 1;
    }
    return keys;
}

} // namespace

Button::Button(PropertyNode* definition) : Sprite(definition) {
    if (definition != nullptr) {
        readDefinition(definition);
    }
    setFrameLayout(4, false);
    setFrameWrapStyle(FrameWrapStyle::Switch);
    showStateFrame();
}

Button::~Button() {
    setHovered(false);
}

BaseObject* Button::createFromDefinition(PropertyNode* definition) {
    return new Button(definition);
}

void Button::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));

    if (const PropertyValue* value = presentValue(source, "enabled")) {
        enabled_ = value->getBool();
    }
    if (const PropertyValue* value = presentValue(source, "hitmask")) {
        const std::string maskName = value->getString();
        const std::string sectionName = source.getValue("section")->getString();
        Image* mask = nullptr;
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            const platform::NamedMutexGuard guard(resources->getDataLock());
            mask = kindCast<Image>(resources->getObject(maskName, sectionName));
            hitMask_ = mask; // the reference is taken under the lock
        }
        if (mask == nullptr) {
            logWarning("Button '" + getName() + "': no hit mask '" + maskName + "' in section '" +
                       sectionName + "'; the whole box is clickable");
        }
    }
    if (const PropertyValue* value = presentValue(source, "hitmaskthreshold")) {
        hitMaskThreshold_ = value->getInt();
    }

    struct SoundKey {
        std::string_view key;
        std::string Button::*field;
    };
    static constexpr std::array<SoundKey, 4> soundKeys{{
        {"clicksound", &Button::clickSound_},
        {"disabledsound", &Button::disabledSound_},
        {"oversound", &Button::overSound_},
        {"soundsection", &Button::soundSection_},
    }};
    for (const SoundKey& key : soundKeys) {
        if (const PropertyValue* value = presentValue(source, key.key)) {
            this->*key.field = value->getString();
        }
    }

    if (const PropertyValue* value = presentValue(source, "firekey")) {
        const std::vector<int> keys = parseFireKeys(value->getText());
        fireKeys_.insert(fireKeys_.end(), keys.begin(), keys.end());
    }
}

void* Button::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iInputListener::classRecord) {
        return static_cast<iInputListener*>(this);
    }
    if (&interfaceRecord == &iGuiMethod::classRecord) {
        return static_cast<iGuiMethod*>(this);
    }
    if (&interfaceRecord == &IRenderable::classRecord) {
        return static_cast<IRenderable*>(this);
    }
    return nullptr;
}

void Button::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    showStateFrame();
    if (!enabled_) {
        setHovered(false);
    }
}

void Button::setState(int state) {
    if (state != state_) {
        state_ = state;
        setCurrentFrame(state);
    }
}

void Button::setCurrentFrame(int frame) {
    Sprite::setCurrentFrame(enabled_ ? frame : kDisabledFrame);
}

void Button::setImage(Image* image) {
    if (image == getImage()) {
        return;
    }
    Sprite::setImage(image);
    setFrameLayout(4, false);
    showStateFrame();
}

void Button::showStateFrame() {
    const int frame = enabled_ ? state_ : kDisabledFrame;
    Sprite::setCurrentFrame(frame);
    // The sprite skips a frame it believes it shows, but a new layout has
    // put its source rectangle back on frame 0.
    if (const std::optional<Rect>& first = getFrameRect()) {
        setSourceRect(first->x + frame * getFrameOffsetX(), first->y + frame * getFrameOffsetY(),
                      first->width, first->height);
    }
}

bool Button::hitTest(int x, int y) const {
    const int left =
        static_cast<int>(static_cast<float>(getParentX() + getX()) - getAnchorOffsetX());
    const int top =
        static_cast<int>(static_cast<float>(getParentY() + getY()) - getAnchorOffsetY());
    const int localX = x - left;
    const int localY = y - top;
    if (localX < 0 || localX >= getWidth() || localY < 0 || localY >= getHeight()) {
        return false;
    }
    if (hitMask_) {
        return alphaAbove(*hitMask_, localX, localY, kHitMaskThreshold);
    }
    if (hitMaskThreshold_ < 0) {
        return true;
    }
    Image* image = getImage();
    return image == nullptr || alphaAbove(*image, localX, localY, hitMaskThreshold_);
}

void Button::setHovered(bool hovered) {
    if (hovered == hovered_) {
        return;
    }
    hovered_ = hovered;
    hoverCount += hovered ? 1 : -1;
}

void Button::playSound(const std::string& id) const {
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
        known = resources->findResource(id, soundSection_) != nullptr;
        sound = kindCast<Sound>(resources->getObject(id, soundSection_));
    }
    if (!known) {
        logWarning("Button '" + getName() + "': no sound '" + id + "' in section '" +
                   soundSection_ + "'");
    }
    // Null while its section is not loaded: the click is silent then.
    if (sound) {
        (void)sound->play(255, 128, false);
    }
}

void Button::fire() {
    (void)call(static_cast<Button*>(this));
}

RefPtr<Button> Button::keepAliveWhileFiring() {
    // The callback may close the dialog and drop the last reference to this
    // button while the event still needs it. An object nobody holds is never
    // destroyed by the count, so it needs no guard (and must not get one,
    // whose release would destroy it).
    return RefPtr<Button>(getRefCount() > 0 ? this : nullptr);
}

bool Button::onKeyDown(int key) {
    if (!enabled_ || std::find(fireKeys_.begin(), fireKeys_.end(), key) == fireKeys_.end()) {
        return false;
    }
    setState(kPressed);
    return true;
}

bool Button::onKeyUp(int key) {
    if (!enabled_ || std::find(fireKeys_.begin(), fireKeys_.end(), key) == fireKeys_.end()) {
        return false;
    }
    const RefPtr<Button> keepAlive = keepAliveWhileFiring();
    fire();
    setState(kNormal);
    return true;
}

bool Button::onMouseMove(int x, int y, int flags) {
    const bool inside = hitTest(x, y);
    const bool wasHovered = hovered_;
    setHovered(inside && enabled_);
    if ((static_cast<unsigned>(flags) & platform::MK_LBUTTON) != 0) {
        if (inside && state_ == kOver) {
            setState(kPressed);
        } else if (!inside && state_ == kPressed) {
            setState(kOver);
        }
    } else if (inside) {
        if (enabled_ && !wasHovered) {
            playSound(overSound_);
        }
        setState(kOver);
    } else {
        setState(kNormal);
    }
    return false;
}

bool Button::onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) {
    if (!hitTest(x, y)) {
        return false;
    }
    playSound(enabled_ ? clickSound_ : disabledSound_);
    setState(kPressed);
    return enabled_;
}

bool Button::onLeftButtonUp(int x, int y, int /*flags*/) {
    if (!hitTest(x, y)) {
        setState(kNormal);
        return false;
    }
    if (enabled_ && state_ == kPressed) {
        const RefPtr<Button> keepAlive = keepAliveWhileFiring();
        if (getFunction() != nullptr) {
            fire();
        }
        setState(kNormal);
        return true;
    }
    setState(kOver);
    return false;
}

void Button::reset() {
    setState(kNormal);
    setHovered(false);
}

} // namespace orv
