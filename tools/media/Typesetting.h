#pragma once

#include "tools/media/FontBaker.h"

#include <string>

/// Setting text on its ink: measuring what a line of a baked font really
/// covers, and placing it optically centred in a box.
namespace orv::media {

/// A box of pixels, right and bottom exclusive; empty when right <= left.
struct InkBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] bool isEmpty() const { return right <= left || bottom <= top; }
};

/// What drawText(target, font, text, 0, 0) covers with the font's top layer
/// (layer 0, the ink), relative to that origin. Shadows and outlines are
/// left out: the eye centres the letters, not their shadow.
[[nodiscard]] InkBox inkBox(const BakedFont& font, const std::u32string& text);

/// The capitals' band of a font: from the top of the line (where a label's
/// text starts) down to the top of "H", and the height of "H".
struct CapitalBand {
    int top = 0;
    int height = 0;
};
[[nodiscard]] CapitalBand capitals(const BakedFont& font);

/// The point to give drawText so that `text` sits optically centred in the
/// box (x, y, w, h): its ink centred across, its capitals centred up and
/// down (descenders hang below, as a reader expects).
struct Point {
    int x = 0, y = 0;
};
[[nodiscard]] Point centredOnInk(const BakedFont& font, const std::u32string& text, int x, int y,
                                 int w, int h);

/// Where the top of a label's line goes (the label's y in a property file,
/// anchored top-left) so that its capitals are centred on a face that starts
/// at `faceTop` and is `faceHeight` pixels tall.
[[nodiscard]] int captionTop(const BakedFont& font, int faceTop, int faceHeight);

/// UTF-8 to UTF-32, for sample texts and captions written in the source.
[[nodiscard]] std::u32string widen(const std::string& text);

} // namespace orv::media
