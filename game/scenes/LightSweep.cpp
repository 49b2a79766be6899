#include "game/scenes/LightSweep.h"

#include "engine/core/GameTree.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/Image.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierLocationLine.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace orv {

namespace {

// The alpha of `image` at (x, y); the image is locked.
std::uint8_t alphaAt(const Image& image, int x, int y) {
    if (image.getFormat() == kFormatArgb32) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel,
                    image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch() +
                        static_cast<std::ptrdiff_t>(x) * 4,
                    sizeof pixel);
        return static_cast<std::uint8_t>(pixel >> 24U);
    }
    return image.getAlpha()[static_cast<std::ptrdiff_t>(y) * image.getWidth() + x];
}

// A band whose light is scaled by a mask's alpha where it lies over the
// mask: rebuilt into a picture of its own whenever it has moved. The picture
// takes the band's format, so that it draws on a 16-bit display as on a
// 32-bit one.
class MaskedLight : public AdditiveSprite {
public:
    MaskedLight(PropertyNode* definition, Image& band, Image& mask, int maskX, int maskY)
        : AdditiveSprite(definition), band_(&band), mask_(&mask), maskX_(maskX), maskY_(maskY),
          lit_(createImage(band.getWidth(), band.getHeight(),
                           band.getFormat() == kFormatRgb565 ? kFormatRgb565 : kFormatArgb32)) {
        setImage(lit_.get());
    }

    void render(Graphics& graphics) override {
        if (!builtAt_ || builtAt_->x != getLeft() || builtAt_->y != getTop()) {
            rebuild();
        }
        AdditiveSprite::render(graphics);
    }

private:
    struct Place {
        int x;
        int y;
    };

    // The mask's cover of the band's pixel (x, y), 0 beside the mask; the
    // mask is locked.
    [[nodiscard]] std::uint32_t coverAt(int x, int y) const {
        const int mx = builtAt_->x + x - maskX_;
        const int my = builtAt_->y + y - maskY_;
        const bool inside = mx >= 0 && my >= 0 && mx < mask_->getWidth() && my < mask_->getHeight();
        return inside ? alphaAt(*mask_, mx, my) : 0U;
    }

    void rebuild() {
        builtAt_ = Place{getLeft(), getTop()};
        if (!lit_ || !lit_->lock()) {
            return;
        }
        const int format = lit_->getFormat();
        const bool readable = band_->getFormat() == format && band_->lock();
        const bool masked =
            readable &&
            (mask_->getFormat() == kFormatArgb32 || mask_->getFormat() == kFormatAlpha ||
             mask_->getFormat() == kFormatRgb565) &&
            mask_->lock();
        const auto bytes = static_cast<std::ptrdiff_t>(format);
        for (int y = 0; y < lit_->getHeight(); ++y) {
            std::uint8_t* row =
                lit_->getPixels() + static_cast<std::ptrdiff_t>(y) * lit_->getPitch();
            const std::uint8_t* bandRow =
                masked ? band_->getPixels() + static_cast<std::ptrdiff_t>(y) * band_->getPitch()
                       : nullptr;
            for (int x = 0; x < lit_->getWidth(); ++x) {
                // A band that cannot be read leaves the picture dark.
                std::uint32_t alpha = 0;
                if (bandRow != nullptr) {
                    std::memcpy(row + x * bytes, bandRow + x * bytes,
                                static_cast<std::size_t>(bytes));
                    alpha = (alphaAt(*band_, x, y) * coverAt(x, y) + 127U) / 255U;
                } else {
                    std::memset(row + x * bytes, 0, static_cast<std::size_t>(bytes));
                }
                if (format == kFormatArgb32) {
                    std::uint32_t pixel = 0;
                    std::memcpy(&pixel, row + x * bytes, sizeof pixel);
                    pixel = (alpha << 24U) | (pixel & 0xFFFFFFU);
                    std::memcpy(row + x * bytes, &pixel, sizeof pixel);
                } else {
                    lit_->getAlpha()[static_cast<std::ptrdiff_t>(y) * lit_->getWidth() + x] =
                        static_cast<std::uint8_t>(alpha);
                }
            }
        }
        if (masked) {
            mask_->unlock();
        }
        if (readable) {
            band_->unlock();
        }
        lit_->unlock();
    }

    RefPtr<Image> band_;
    RefPtr<Image> mask_;
    int maskX_;
    int maskY_;
    RefPtr<Image> lit_;
    std::optional<Place> builtAt_;
};

} // namespace

Sprite* startLightSweep(GameNode& parent, const LightSweep& sweep, GameNode* before) {
    if (sweep.image == nullptr) {
        return nullptr;
    }
    const RefPtr<PropertyNode> plain(new PropertyNode("", "AdditiveSprite"));
    AdditiveSprite* sprite = nullptr;
    if (sweep.mask != nullptr) {
        sprite = new MaskedLight(plain.get(), *sweep.image, *sweep.mask, sweep.maskX, sweep.maskY);
    } else {
        sprite = new AdditiveSprite(plain.get());
        sprite->setImage(sweep.image);
    }
    sprite->setAlpha(sweep.alpha);
    sprite->setAnchorPoint(sweep.anchor);
    sprite->setPosition(sweep.fromX, sweep.fromY);
    sprite->setClipRect(sweep.clip.x, sweep.clip.y, sweep.clip.width, sweep.clip.height);
    if (before != nullptr && before->getParent() == &parent) {
        GameTree::insertBefore(sprite, before);
    } else {
        GameTree::appendChild(sprite, &parent);
    }
    auto* move = new ModifierLocationLine(sweep.fromX, sweep.fromY, sweep.toX, sweep.toY,
                                          sweep.durationMs, false);
    move->setFinishFlags(Modifier::FinishRemoveTarget);
    sprite->addModifier(move);
    return sprite;
}

} // namespace orv
