#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <string_view>

namespace orv::test {

// A small bitmap font made entirely here: three glyphs and a blank, one
// kerning pair, and two layers drawn in code.
//
//   glyph  code  cell (sx, sy, sw, sh)  advance  bx  by  index
//   A      0x41  (0, 0, 3, 4)           4        0   1   0
//   V      0x56  (3, 0, 3, 4)           4        1   1   1
//   i      0x69  (6, 0, 1, 5)           2        0   0   2
//   blank  "spacewidth" 3; char spacing 1; kerning A-V -2; baseline 4.
//
// Height 5; missing glyphs are 6 wide (twice the blank) with bx 1 (the
// average offset 1/4 rounded up).
//
// Layer 0 (on top): an alpha-only mask of every glyph rectangle, fully
// covered, padding 0, colour kFillColor. Layer 1 (below): 32-bit cells one
// pixel larger on every side, every pixel kShadowPixel, padding 1, colour
// kShadowColor.

inline constexpr std::uint32_t kFillColor = 0xFFFFFFFF;
inline constexpr std::uint32_t kShadowColor = 0xFF000080;
inline constexpr std::uint32_t kShadowPixel = 0xFF102030;

/// The definition document of the test font (a property file).
extern const std::string_view kTestFontXml;

/// The font of the "font" node of the property file text `xml` (an empty
/// font when the text does not parse). `sourceName` names it in log lines.
[[nodiscard]] RefPtr<BitmapFont> fontFromXml(std::string_view xml,
                                             std::string_view sourceName = "test.xml");

/// A font of fixed pitch: every printable ASCII character is a 3 x 5 glyph
/// advancing 4 pixels, the blank advances 4; one white mask layer, no
/// padding. A text of n characters that ends in a glyph measures 4n - 1;
/// lines are 5 apart.
[[nodiscard]] RefPtr<BitmapFont> gridFont();

/// Layer 0 of the test font: 7 x 5, alpha only.
[[nodiscard]] RefPtr<Image> testFillMask();
/// Layer 1 of the test font: 13 x 7, 32-bit.
[[nodiscard]] RefPtr<Image> testShadowImage();

/// The test font with both layers.
[[nodiscard]] RefPtr<BitmapFont> makeTestFont();

} // namespace orv::test
