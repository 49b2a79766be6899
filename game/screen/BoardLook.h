#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <string>

namespace orv {

/// The board's pixel metrics: the tile face, the body's right and bottom
/// edges, the shift per layer and the shadow strips, and the size of one face
/// in the face sheet. All in pixels; a grid cell is half a face.
struct BoardMetrics {
    int faceWidth = 40;    ///< RENDERER_TILE_FACE_WIDTH
    int faceHeight = 52;   ///< RENDERER_TILE_FACE_HEIGHT
    int sideWidth = 6;     ///< RENDERER_TILE_SIDE_WIDTH: the right edge of a body
    int sideHeight = 6;    ///< RENDERER_TILE_SIDE_HEIGHT: the bottom edge of a body
    int layerOffsetX = 6;  ///< RENDERER_TILE_LAYER_OFFSETX: shift left per layer
    int layerOffsetY = 6;  ///< RENDERER_TILE_LAYER_OFFSETY: shift up per layer
    int shadowOffsetX = 4; ///< RENDERER_SHADOW_OFFSETX: shadow strip left of a face
    int shadowOffsetY = 4; ///< RENDERER_SHADOW_OFFSETY: shadow strip above a face
    int symbolWidth = 40;  ///< TILE_FACE_WIDTH: column pitch of the face sheet
    int symbolHeight = 52; ///< TILE_FACE_HEIGHT: a face in the sheet (rows are one more apart)

    /// The metrics of the tuning constants.
    [[nodiscard]] static BoardMetrics fromConstants();
    /// Empty when the metrics fit together; else why not. A face must have a
    /// positive even size, and a body edge may not be wider than the layer
    /// step: a tile's dirty rectangle reaches only one layer step beyond its
    /// face, so a wider edge would leave stale pixels behind when it changes.
    [[nodiscard]] std::string checkConsistency() const;
};

/// The colours, alphas and times of the tile effects (colours 0xRRGGBB,
/// alphas 0 to 255, times in milliseconds).
struct TileTints {
    int fadeTime = 300; ///< TILE_FADEOUT_TIME
    std::uint32_t superHintColor = 0;
    int superHintAlpha = 0;
    std::uint32_t selectColor = 0;
    int selectAlpha = 0;
    std::uint32_t hoverColor = 0;
    int hoverAlpha = 0;
    std::uint32_t blockedColor = 0;
    int blockedMinAlpha = 0;
    int blockedMaxAlpha = 0;
    std::uint32_t hintColor = 0;
    int hintMinAlpha = 0;
    int hintMaxAlpha = 0;
    std::uint32_t flashColor = 0;
    int flashMaxAlpha = 0;
    std::uint32_t darkenColor = 0;
    int darkenAlpha = 0;

    /// The tints of the tuning constants.
    [[nodiscard]] static TileTints fromConstants();
};

/// What the board is drawn with: the metrics, the effect tints and the three
/// pictures. The tile body ("TILE") holds the face W x H at (0, 0), the right
/// edge beside it and the bottom edge below it; the shadow ("SHADOW") holds
/// a top strip 2 * SY high and a left strip 2 * SX wide from its top-left
/// corner; the face sheet ("SYMBOLS<n>") holds one face per tile in the rows
/// of the suits.
///
/// Shared by the renderer, its render tiles, their effects and the side
/// board's painter; it holds a reference to each picture for its own life.
///
///     RefPtr<BoardLook> look = BoardLook::fromResources(player->getTileSet());
///     if (look && look->isComplete()) { ... }
class BoardLook : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A look of these parts; any picture may be null (nothing of it is
    /// drawn then). A metrics mismatch is logged as an error once.
    BoardLook(const BoardMetrics& metrics, const TileTints& tints, Image* tile, Image* shadow,
              Image* symbols);
    /// The look of the game: the metrics and tints of the tuning constants,
    /// "TILE" of resource section "default", "SHADOW" and "SYMBOLS" followed
    /// by `tileSet` + 1 of section "manual", taken under the resource
    /// manager's lock. Missing pictures are logged and left null.
    [[nodiscard]] static RefPtr<BoardLook> fromResources(int tileSet);

    [[nodiscard]] const BoardMetrics& getMetrics() const { return metrics_; }
    [[nodiscard]] const TileTints& getTints() const { return tints_; }
    /// Borrowed from the look.
    [[nodiscard]] Image* getTileImage() const { return tile_.get(); }
    [[nodiscard]] Image* getShadowImage() const { return shadow_.get(); }
    [[nodiscard]] Image* getSymbolsImage() const { return symbols_.get(); }
    /// True when all three pictures are there.
    [[nodiscard]] bool isComplete() const { return tile_ && shadow_ && symbols_; }

private:
    BoardMetrics metrics_;
    TileTints tints_;
    RefPtr<Image> tile_;
    RefPtr<Image> shadow_;
    RefPtr<Image> symbols_;
};

} // namespace orv
