#pragma once

#include "engine/core/RefPtr.h"

#include <array>

namespace orv {

class Image;
class Layout;

/// Draws a miniature of a layout: every tile as the small blank tile
/// "TILE_PREVIEW", one quarter per grid cell, layer over layer (upper layers
/// shifted right and down by PREVIEW_LAYER_OFFSETX / _OFFSETY), centred on one
/// of the six grounds "PREVIEWBACKGROUND1"-"6". The pictures are those of the
/// resource section "manual", taken when the preview is made; the section is
/// unloaded then, the preview keeps its own references.
///
///     LayoutPreview preview;
///     preview.draw(*level->getLayout(), 0);
///     sprite->setImage(preview.getImage());
///
/// Sizes come from PREVIEW_WIDTH, PREVIEW_HEIGHT, PREVIEW_TILE_FACE_WIDTH and
/// PREVIEW_TILE_FACE_HEIGHT (pixels). Main thread only.
class LayoutPreview {
public:
    static constexpr int kBackgrounds = 6;

    /// Takes "TILE_PREVIEW" and the six grounds from the section "manual"
    /// (whatever of them is loaded; a missing picture is simply not drawn),
    /// then unloads that section.
    LayoutPreview();
    /// Borrows the pictures given instead of the resource manager's (tests,
    /// tools): `tile` and `backgrounds` may hold nulls.
    LayoutPreview(Image* tile, const std::array<Image*, kBackgrounds>& backgrounds);
    LayoutPreview(const LayoutPreview&) = delete;
    LayoutPreview& operator=(const LayoutPreview&) = delete;
    ~LayoutPreview();

    /// Draws `layout` on ground `background` (0-5; other values draw no
    /// ground) into a new picture of PREVIEW_WIDTH x PREVIEW_HEIGHT pixels,
    /// transparent where neither ground nor tile lies. A layout larger than
    /// the picture is cut at its edges. Returns the picture (held by the
    /// preview until the next drawing or `release`); null when it cannot be
    /// made.
    Image* draw(const Layout& layout, int background);
    /// The last picture drawn, or null.
    [[nodiscard]] Image* getImage() const { return image_.get(); }
    /// The layout last drawn (borrowed, not held), or null.
    [[nodiscard]] const Layout* getLayout() const { return layout_; }
    /// Lets go of the picture, the tile and the grounds.
    void release();

private:
    RefPtr<Image> image_;
    RefPtr<Image> tilePreview_;
    std::array<RefPtr<Image>, kBackgrounds> backgrounds_;
    const Layout* layout_ = nullptr;
};

} // namespace orv
