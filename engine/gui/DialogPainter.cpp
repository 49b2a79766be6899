#include "engine/gui/DialogPainter.h"

#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

namespace orv {

constinit const ClassRecord DialogPainter::classRecord{"DialogPainter",
                                                       parentRecords<AbstractPainter::classRecord>};

namespace {

enum Piece : int {
    kTopLeft = 0,
    kTop = 1,
    kTopRight = 2,
    kLeft = 3,
    kCenter = 4,
    kRight = 5,
    kBottomLeft = 6,
    kBottom = 7,
    kBottomRight = 8,
};

constexpr int kAlphaChannel = 0;

// The smallest size of `fixed` plus whole tiles that is not below `request`;
// `request` itself when nothing tiles or the request is larger. Worked in 64
// bits so that an absurd request cannot overflow; a size an int cannot hold
// gives the request back.
int roundUpToTiles(int request, int fixed, int tile) {
    const std::int64_t free = std::int64_t{request} - fixed;
    std::int64_t count = 0;
    if (tile > 0 && free > 0) {
        count = static_cast<std::int64_t>(std::ceil(static_cast<double>(free) / tile));
    }
    const std::int64_t size = count * tile + fixed;
    if (size <= request || size > std::numeric_limits<int>::max()) {
        return request;
    }
    return static_cast<int>(size);
}

// Raises every alpha value below `alpha` in `area` (target pixels) of
// `target` to `alpha`; in 32-bit images such a pixel takes `colour` whole.
void raiseAlpha(Image& target, const Rect& area, std::uint32_t colour, int alpha) {
    if (area.width <= 0 || area.height <= 0 || !target.lock()) {
        return;
    }
    const auto floor = static_cast<std::uint8_t>(alpha);
    if (target.getFormat() == kFormatArgb32 && target.getPixels() != nullptr) {
        for (int y = area.y; y < area.y + area.height; ++y) {
            std::uint8_t* row =
                target.getPixels() + static_cast<std::ptrdiff_t>(y) * target.getPitch();
            for (int x = area.x; x < area.x + area.width; ++x) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof pixel);
                if ((pixel >> 24U) < floor) {
                    std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 4, &colour, sizeof colour);
                }
            }
        }
    } else if (target.getFormat() == kFormatRgb565 && target.getAlpha() != nullptr) {
        for (int y = area.y; y < area.y + area.height; ++y) {
            std::uint8_t* row =
                target.getAlpha() + static_cast<std::ptrdiff_t>(y) * target.getWidth();
            for (int x = area.x; x < area.x + area.width; ++x) {
                row[x] = std::max(row[x], floor);
            }
        }
    }
    target.unlock();
}

} // namespace

DialogPainter::DialogPainter(PropertyNode* definition) : AbstractPainter(definition) {
    if (definition == nullptr) {
        return;
    }
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    struct FlagKey {
        std::string_view key;
        bool DialogPainter::*field;
    };
    static constexpr std::array<FlagKey, 3> flagKeys{{
        {"adjustalpha", &DialogPainter::adjustAlpha_},
        {"initalpha", &DialogPainter::initAlpha_},
        {"usemaxalpha", &DialogPainter::useMaxAlpha_},
    }};
    for (const FlagKey& flag : flagKeys) {
        if (const AbstractProperty* value = source.getChild(flag.key);
            value != nullptr && value->isValue()) {
            this->*flag.field = asValue(value)->getBool();
        }
    }
    if (const AbstractProperty* value = source.getChild("centercolor");
        value != nullptr && value->isValue()) {
        centerColor_ = static_cast<std::uint32_t>(asValue(value)->getInt());
    }
}

BaseObject* DialogPainter::createFromDefinition(PropertyNode* definition) {
    return new DialogPainter(definition);
}

int DialogPainter::pieceWidth(int index) {
    const Image* image = getImage(index);
    return image != nullptr ? image->getWidth() : 0;
}

int DialogPainter::pieceHeight(int index) {
    const Image* image = getImage(index);
    return image != nullptr ? image->getHeight() : 0;
}

int DialogPainter::adjustWidth(int width) {
    int fixed = std::max(pieceWidth(kTopLeft), pieceWidth(kBottomLeft)) +
                std::max(pieceWidth(kTopRight), pieceWidth(kBottomRight));
    if (fixed == 0) {
        fixed = pieceWidth(kLeft) + pieceWidth(kRight);
    }
    int tile = std::max(pieceWidth(kTop), pieceWidth(kBottom));
    if (tile == 0) {
        tile = pieceWidth(kCenter);
    }
    return roundUpToTiles(width, fixed, tile);
}

int DialogPainter::adjustHeight(int height) {
    int fixed = std::max(pieceHeight(kTopLeft), pieceHeight(kTopRight)) +
                std::max(pieceHeight(kBottomLeft), pieceHeight(kBottomRight));
    if (fixed == 0) {
        fixed = pieceHeight(kTop) + pieceHeight(kBottom);
    }
    int tile = std::max(pieceHeight(kLeft), pieceHeight(kRight));
    if (tile == 0) {
        tile = pieceHeight(kCenter);
    }
    return roundUpToTiles(height, fixed, tile);
}

void DialogPainter::paint(Graphics& graphics) {
    const int width = graphics.getTarget().getWidth();
    const int height = graphics.getTarget().getHeight();
    if (adjustAlpha_ && initAlpha_) {
        graphics.setChannelRect(kAlphaChannel, 0, 0, 0, width, height);
    }

    const int left = pieceWidth(kLeft);
    const int top = pieceHeight(kTop);
    const int centerWidth = width - pieceWidth(kLeft) - pieceWidth(kRight);
    const int centerHeight = height - pieceHeight(kTop) - pieceHeight(kBottom);
    if (Image* center = getImage(kCenter)) {
        paintPiece(graphics, center, left, top, centerWidth, centerHeight);
    } else {
        paintCenterColor(graphics, left, top, centerWidth, centerHeight);
    }

    paintPiece(graphics, getImage(kTop), pieceWidth(kTopLeft), 0,
               width - pieceWidth(kTopLeft) - pieceWidth(kTopRight), pieceHeight(kTop));
    paintPiece(graphics, getImage(kBottom), pieceWidth(kBottomLeft), height - pieceHeight(kBottom),
               width - pieceWidth(kBottomLeft) - pieceWidth(kBottomRight), pieceHeight(kBottom));
    paintPiece(graphics, getImage(kLeft), 0, pieceHeight(kTopLeft), pieceWidth(kLeft),
               height - pieceHeight(kTopLeft) - pieceHeight(kBottomLeft));
    paintPiece(graphics, getImage(kRight), width - pieceWidth(kRight), pieceHeight(kTopRight),
               pieceWidth(kRight), height - pieceHeight(kTopRight) - pieceHeight(kBottomRight));

    // The corners last, one tile each, over whatever the edges left there.
    paintPiece(graphics, getImage(kTopLeft), 0, 0, pieceWidth(kTopLeft), pieceHeight(kTopLeft));
    paintPiece(graphics, getImage(kTopRight), width - pieceWidth(kTopRight), 0,
               pieceWidth(kTopRight), pieceHeight(kTopRight));
    paintPiece(graphics, getImage(kBottomLeft), 0, height - pieceHeight(kBottomLeft),
               pieceWidth(kBottomLeft), pieceHeight(kBottomLeft));
    paintPiece(graphics, getImage(kBottomRight), width - pieceWidth(kBottomRight),
               height - pieceHeight(kBottomRight), pieceWidth(kBottomRight),
               pieceHeight(kBottomRight));
    setDirty(false);
}

void DialogPainter::paintCenterColor(Graphics& graphics, int x, int y, int width, int height) {
    // The fill keeps the canvas's alpha; the colour's alpha byte is the
    // inside's transparency, written apart below.
    const std::uint32_t savedColor = graphics.getColor();
    graphics.setColor(centerColor_ & 0x00FFFFFFU);
    graphics.fillRect(x, y, width, height);
    graphics.setColor(savedColor);
    if (!adjustAlpha_) {
        return;
    }
    const auto alpha = static_cast<int>(centerColor_ >> 24U);
    if (!useMaxAlpha_) {
        graphics.setChannelRect(kAlphaChannel, alpha, x, y, width, height);
        return;
    }
    // Through the pixels: only where the translated rectangle meets the clip
    // and the image.
    Image& target = graphics.getTarget();
    const Rect& clip = graphics.getClip();
    const int x0 = std::max({x + graphics.getTranslateX(), clip.x, 0});
    const int y0 = std::max({y + graphics.getTranslateY(), clip.y, 0});
    const int x1 =
        std::min({x + graphics.getTranslateX() + width, clip.x + clip.width, target.getWidth()});
    const int y1 =
        std::min({y + graphics.getTranslateY() + height, clip.y + clip.height, target.getHeight()});
    raiseAlpha(target, Rect{x0, y0, x1 - x0, y1 - y0}, centerColor_, alpha);
}

void DialogPainter::paintPiece(Graphics& graphics, Image* image, int x, int y, int width,
                               int height) {
    // A piece without area would never step forward.
    if (image == nullptr || image->getWidth() <= 0 || image->getHeight() <= 0) {
        return;
    }
    // With adjust alpha the colour is copied and the alpha written on its
    // own, so the piece's transparency becomes the canvas's instead of being
    // blended into the colour.
    const bool ownAlpha = image->getUseAlphaChannel();
    image->setUseAlphaChannel(!adjustAlpha_);
    if (adjustAlpha_ && !ownAlpha) {
        graphics.setChannelRect(kAlphaChannel, 255, x, y, width, height);
    }
    for (int tileTop = y; tileTop < y + height; tileTop += image->getHeight()) {
        for (int tileLeft = x; tileLeft < x + width; tileLeft += image->getWidth()) {
            graphics.drawImage(*image, tileLeft, tileTop);
            if (adjustAlpha_ && ownAlpha) {
                if (useMaxAlpha_) {
                    graphics.maxChannel(*image, kAlphaChannel, tileLeft, tileTop);
                } else {
                    graphics.copyChannel(*image, kAlphaChannel, tileLeft, tileTop);
                }
            }
        }
    }
    image->setUseAlphaChannel(ownAlpha);
}

} // namespace orv
