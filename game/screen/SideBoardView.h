#pragma once

#include "engine/core/RefPtr.h"
#include "game/board/SideBoard.h"

#include <map>
#include <string>

namespace orv {

class BoardLook;
class Image;
class RenderTile;

/// Draws every side board of the playing screen: the rack's picture (for
/// FreeCell one cell picture per slot), and each slot's tile as a body with
/// its face, in the look of the board. It keeps a render tile per occupied
/// slot so the screen can start the same looks (selected, hovered, hinted,
/// fading) on a rack tile as on a board tile. It also gives the side board
/// the slot geometry of its pictures, so that clicks find the slots.
///
///     SideBoardView view(look);       // installs itself as the painter
///     view.startSelect(tile);         // a rack tile looks selected
///
/// Main thread only.
class SideBoardView : public SideBoardPainter {
public:
    /// `look` is shared with the board renderer; the view installs itself as
    /// the side boards' painter and removes itself when destroyed.
    explicit SideBoardView(BoardLook& look);
    SideBoardView(const SideBoardView&) = delete;
    SideBoardView& operator=(const SideBoardView&) = delete;
    ~SideBoardView() override;

    void tilePut(SideBoard& board, int column, int row, bool arrived) override;
    void update(SideBoard& board, int elapsedMs) override;
    void render(SideBoard& board, Graphics& graphics) override;

    /// Hides or shows the racks with the board (pause).
    void setVisible(bool visible) { visible_ = visible; }
    [[nodiscard]] bool isVisible() const { return visible_; }

    /// The render tile of `tile` when it sits in a slot of the side board
    /// drawn last; null otherwise. Borrowed.
    [[nodiscard]] RenderTile* renderTileFor(const Tile& tile) const;

    /// Sets the pictures and the slot geometry of `board` for the current
    /// game's type; the pictures are looked up once per name.
    void prepare(SideBoard& board);

private:
    Image* picture(const std::string& name);
    RenderTile* slotTile(SideBoard& board, int column, int row);

    BoardLook& look_;
    RefPtr<SideBoard> current_;
    std::map<std::string, RefPtr<Image>, std::less<>> pictures_;
    bool visible_ = true;
};

} // namespace orv
