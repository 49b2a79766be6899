#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <cstdint>

namespace orv {

/// One layer of a bitmap font (a shadow, an outline, a fill ...): an image
/// holding a cell for every glyph of the font, and the colour the layer is
/// drawn in. A layer with padding p has cells p pixels larger than the glyph
/// rectangle on every side; glyph number i (its position in the glyph list)
/// has its cell at (sx + 2 × p × i, sy) of the image.
///
///     RefPtr<FontLayer> fill(new FontLayer(0, 0xFFFFFFFF, fillImage.get()));
///     font->addLayer(fill.get());
class FontLayer : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Holds a reference to `image` (may be null: the layer then draws only
    /// the boxes of missing glyphs). `color` is 0xAARRGGBB.
    FontLayer(int padding, std::uint32_t color, Image* image);
    ~FontLayer() override;

    [[nodiscard]] int getPadding() const { return padding_; }
    [[nodiscard]] std::uint32_t getColor() const { return color_; }
    /// Borrowed from the layer, which keeps it as long as it lives.
    [[nodiscard]] Image* getImage() const { return image_.get(); }

private:
    int padding_;
    std::uint32_t color_;
    RefPtr<Image> image_;
};

} // namespace orv
