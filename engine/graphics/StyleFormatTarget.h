#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Font.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

/// The largest magnitude of a layout coordinate, in pixels. Pens, edges and
/// sizes computed from outside data are held within it, so that sums of them
/// cannot overflow.
inline constexpr int kStyleLayoutLimit = 1 << 28;

/// `value` held within ±`kStyleLayoutLimit`.
[[nodiscard]] constexpr int clampLayout(std::int64_t value) {
    if (value > kStyleLayoutLimit) {
        return kStyleLayoutLimit;
    }
    if (value < -kStyleLayoutLimit) {
        return -kStyleLayoutLimit;
    }
    return static_cast<int>(value);
}

/// The layout state of a styled text while its markup is parsed: what the
/// tags (`StyleFormat` and its kinds) read and change, and what places the
/// following runs of text. Positions and sizes are pixels in the styled
/// text's own image, y downwards.
struct StyleLayoutState {
    /// Wrap styles.
    static constexpr int kAutoWidth = 0;
    static constexpr int kWordWrap = 1;
    static constexpr int kTruncate = 2;
    /// Horizontal alignments.
    static constexpr int kAlignLeft = 0;
    static constexpr int kAlignCenter = 1;
    static constexpr int kAlignRight = 2;
    /// Vertical alignments (handed to every run).
    static constexpr int kAlignTop = 0;
    static constexpr int kAlignMiddle = 1;
    static constexpr int kAlignBaseline = 2;
    static constexpr int kAlignBottom = 3;

    /// The top is the colour (0xAARRGGBB) of new runs; empty: the font's own.
    std::vector<std::uint32_t> colorStack;
    std::vector<int> wrapStyleStack;
    std::vector<int> alignVStack;
    std::vector<int> alignHStack;
    /// x positions the tab tag jumps to, in the order given.
    std::vector<int> tabStops;
    /// Fonts saved by the font tag; each entry holds a reference (may be null).
    std::vector<RefPtr<Font>> fontStack;
    /// The font of new runs; null: runs measure and draw nothing.
    RefPtr<Font> font;
    /// Where the next run goes.
    int penX = 0;
    int penY = 0;
    /// Height of the current line so far.
    int lineHeight = 0;
    int alignV = kAlignTop;
    int alignH = kAlignLeft;
    int wrapStyle = kAutoWidth;
};

/// What a styled text offers its tags besides the layout state: closing a
/// line, its area, the resources a tag names and the images it floats. The
/// styled label implements it; the tags know nothing of the scene graph.
class StyleFormatTarget {
public:
    StyleFormatTarget(const StyleFormatTarget&) = delete;
    StyleFormatTarget& operator=(const StyleFormatTarget&) = delete;

    /// Borrowed from the target for the length of a tag's work.
    [[nodiscard]] virtual StyleLayoutState& getLayoutState() = 0;
    /// Closes the current line (aligns it, moves the pen to the next one).
    virtual void newLine() = 0;
    /// The area that wrapping, truncation, alignment and placement use.
    [[nodiscard]] virtual int getAreaWidth() const = 0;
    [[nodiscard]] virtual int getAreaHeight() const = 0;
    virtual void setAreaWidth(int width) = 0;
    virtual void setAreaHeight(int height) = 0;
    /// The loaded font resource `name` of section `section`, looked up without
    /// loading it; null when there is none (not loaded, unknown, no font).
    [[nodiscard]] virtual RefPtr<Font> findFont(std::string_view name,
                                                std::string_view section) = 0;
    /// The loaded image resource, as `findFont`.
    [[nodiscard]] virtual RefPtr<Image> findImage(std::string_view name,
                                                  std::string_view section) = 0;
    /// Adds an image floating at (x, y) that later runs avoid and that is
    /// drawn over the text; `image` may be null (it then takes no room and
    /// draws nothing). A reference is taken.
    virtual void addFloatingImage(Image* image, int x, int y) = 0;
    /// Names the styled text in log lines, for example "styled label 'HINT'".
    [[nodiscard]] virtual std::string describeTarget() const = 0;

protected:
    StyleFormatTarget() = default;
    ~StyleFormatTarget() = default;
};

} // namespace orv
