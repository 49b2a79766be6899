#pragma once

#include "engine/scene/AbstractPainter.h"

#include <cstdint>

namespace orv {

class Graphics;
class Image;
class PropertyNode;

/// Paints a dialog's frame from nine pieces: four corners drawn once, four
/// edges repeated along the sides and a centre repeated over the inside (or
/// a plain centre colour when there is no centre piece). It also rounds the
/// dialog's sizes up so that the edges are made of whole tiles.
///
/// Pieces by index in "images": 0 top-left, 1 top, 2 top-right, 3 left,
/// 4 centre, 5 right, 6 bottom-left, 7 bottom, 8 bottom-right. A missing
/// piece (no name, an empty name, not found) measures 0 x 0 and is not
/// drawn.
///
/// With "adjustalpha" (the default) the frame also writes the canvas's
/// alpha channel: pieces with per-pixel alpha copy it in (or raise it, with
/// "usemaxalpha"), pieces without make their area opaque, and the centre
/// colour's alpha byte becomes the inside's alpha; "initalpha" first makes
/// the whole canvas transparent, so that rounded corners show through.
///
///     <DialogPainter id="PAINTER_DIALOG" section="common" adjustalpha="true"
///                    initalpha="true" centercolor="#C0000000">
///       <Vector id="images"><String value="DIALOG_TOPLEFT"/> ... </Vector>
///     </DialogPainter>
///     <Dialog id="DIALOG_MENU" painterid="PAINTER_DIALOG" width="300" height="200"/>
///
/// Main thread only. The game derives its own painters from it.
class DialogPainter : public AbstractPainter {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The piece keys of `AbstractPainter`, then "adjustalpha",
    /// "initalpha", "usemaxalpha" (Booleans) and "centercolor" (0xAARRGGBB).
    /// Every key is optional; `definition` may be null.
    explicit DialogPainter(PropertyNode* definition);

    /// The object factory's create function for "DialogPainter".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Paints the frame over the whole target image of `graphics` (its width
    /// and height are the frame's), through `graphics`' translation and
    /// clip. Tiles are whole pieces and may reach past their area when the
    /// size was not adjusted; pixels no piece covers are left as they were.
    /// Clears the dirty flag.
    void paint(Graphics& graphics) override;
    /// The fixed parts (corners, else the side edges) plus the fewest whole
    /// edge tiles (else centre tiles) that reach `width`; `width` itself
    /// when that is larger or there is nothing to tile.
    [[nodiscard]] int adjustWidth(int width) override;
    /// `adjustWidth` for heights, rows and columns exchanged.
    [[nodiscard]] int adjustHeight(int height) override;

    [[nodiscard]] bool getAdjustAlpha() const { return adjustAlpha_; }
    void setAdjustAlpha(bool adjust) { adjustAlpha_ = adjust; }
    [[nodiscard]] bool getInitAlpha() const { return initAlpha_; }
    void setInitAlpha(bool init) { initAlpha_ = init; }
    [[nodiscard]] bool getUseMaxAlpha() const { return useMaxAlpha_; }
    void setUseMaxAlpha(bool useMax) { useMaxAlpha_ = useMax; }
    [[nodiscard]] std::uint32_t getCenterColor() const { return centerColor_; }
    void setCenterColor(std::uint32_t color) { centerColor_ = color; }

protected:
    /// Repeats `image` (null, or an image without area, draws nothing) from
    /// (x, y) in rows and columns while they start inside `width` x
    /// `height`, each tile whole. With adjust alpha the tiles replace the
    /// colour and the image's alpha is written into the target (copied, or
    /// by maximum with use max alpha); an image that draws without alpha
    /// makes the area opaque instead.
    void paintPiece(Graphics& graphics, Image* image, int x, int y, int width, int height);
    /// Width and height of piece `index`; 0 for a missing piece.
    [[nodiscard]] int pieceWidth(int index);
    [[nodiscard]] int pieceHeight(int index);

private:
    // The inside without a centre piece: the centre colour, and with adjust
    // alpha its alpha byte.
    void paintCenterColor(Graphics& graphics, int x, int y, int width, int height);

    bool adjustAlpha_ = true;
    bool initAlpha_ = false;
    bool useMaxAlpha_ = false;
    std::uint32_t centerColor_ = 0;
};

} // namespace orv
