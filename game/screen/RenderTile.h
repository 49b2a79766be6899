#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

#include <cstdint>
#include <vector>

namespace orv {

class BoardLook;
class Tile;
class TileEffect;

/// The drawing state of one tile: its cell relative to the renderer's origin
/// (or its slot on the side board), where its face lies in the face sheet,
/// the flags that tell the layer drawing which parts of it neighbours hide,
/// and a stack of tile effects whose top one gives the body's look.
///
/// The flags are plain fields: the renderer computes the quarter and shadow
/// flags before each flush and clears them after it.
///
///     RefPtr<RenderTile> rt(new RenderTile(*look));
///     rt->setEffect(new TileOverlay(*rt));            // plain body
///     rt->setEffect(TileOverlay::constructTinted(*rt, 0xFFD25A, 140));
class RenderTile : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// An empty stack, `dirty` set. `look` is borrowed: it must outlive the
    /// render tile and its effects (the renderer and the side board's
    /// painter hold it).
    explicit RenderTile(const BoardLook& look);
    RenderTile(const RenderTile&) = delete;
    RenderTile& operator=(const RenderTile&) = delete;
    ~RenderTile() override;

    /// A render tile for `tile` with a plain overlay: x, y, z copied; the
    /// face's place in the sheet from its suit and value.
    [[nodiscard]] static RefPtr<RenderTile> createFor(const BoardLook& look, const Tile& tile);

    /// Releases every effect; a non-null `effect` then becomes the only one
    /// and `dirty` is set. The stack holds a reference.
    void setEffect(TileEffect* effect);
    /// Pushes `effect` (not null) on top of the stack.
    void pushEffect(TileEffect* effect);
    /// With more than one effect: drops effects from the top until one is
    /// left; with one or none: a plain overlay alone. Sets `dirty`.
    void resetEffects();
    /// The top effect, or null for an empty stack. Borrowed.
    [[nodiscard]] TileEffect* getTopEffect() const;
    [[nodiscard]] std::size_t getEffectCount() const { return effects_.size(); }
    /// Steps the top effect by `elapsedMs`, keeping it alive through a step
    /// that replaces it.
    void stepTopEffect(int elapsedMs);
    /// Clears the quarter and shadow flags.
    void clearNeighbourFlags();
    /// The quarter and shadow flags as one number (bit per flag).
    [[nodiscard]] std::uint16_t neighbourMask() const;
    /// `drawnMask` of a render tile not drawn since it was shown or built.
    static constexpr std::uint16_t kNotDrawn = 0xFFFF;

    [[nodiscard]] const BoardLook& getLook() const { return look_; }

    int x = 0; ///< cell (or slot column), relative to the renderer's origin
    int y = 0;
    int z = 0;
    int symbolX = 0; ///< top-left corner of the face in the face sheet, pixels
    int symbolY = 0;
    bool quarterTopLeft = false;
    bool quarterBottomLeft = false;
    bool quarterTopRight = false;
    bool quarterBottomRight = false;
    bool openLowerLeft = false;  ///< the cell (x-1, y+1) on the tile's layer is open
    bool openLeft = false;       ///< (x-1, y)
    bool openUpper = false;      ///< (x, y-1)
    bool openUpperRight = false; ///< (x+1, y-1)
    bool openUpperLeft = false;  ///< (x-1, y-1)
    bool dirty = true;           ///< the look changed since the last drawing
    bool busy = false;           ///< a fade-out runs
    bool hidden = false;         ///< not drawn, out of the renderer's grid
    bool vanishing = false;      ///< fading out: it no longer covers its neighbours
    /// The neighbour flags the layers were last drawn with (`neighbourMask`):
    /// when a neighbour's change alters them, the renderer redraws the tile's
    /// whole area, since its quarters and shadow reach beyond that neighbour.
    std::uint16_t drawnMask = kNotDrawn;

private:
    const BoardLook& look_;
    std::vector<RefPtr<TileEffect>> effects_;
};

} // namespace orv
