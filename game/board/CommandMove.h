#pragma once

#include "game/board/Command.h"

namespace orv {

/// A tile moved into a free cell of the side board (FreeCell): undone, it
/// goes back to the board place, or the slot, it came from. Registered as
/// "CommandMove".
///
/// The tile reaches its slot when the command executes; the flight the
/// player sees is the screen's (`GameView::tileMovedToSlot`).
class CommandMove : public Command {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Moves `tile` to slot (column, row); remembers where it stands now.
    CommandMove(Tile* tile, int column, int row);
    /// From the saved form: "tile", "x", "y", "lx", "ly", "lz" and "lsb"
    /// (true when the tile came from a slot).
    explicit CommandMove(PropertyNode* saved);
    /// The object factory's create function for "CommandMove".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Nothing happens when the slot does not exist or is taken.
    void execute(Game& game) override;
    void undo(Game& game) override;
    void save(PropertyNode& node) const override;
    /// Appends nothing: the moved tile stays in play.
    void tiles(TileList& out) const override;

    [[nodiscard]] Tile* getTile() const { return tile_.get(); }
    [[nodiscard]] int getColumn() const { return column_; }
    [[nodiscard]] int getRow() const { return row_; }
    [[nodiscard]] const TilePos& getLastPos() const { return last_; }
    [[nodiscard]] bool cameFromSlot() const { return lastInSlot_; }

private:
    RefPtr<Tile> tile_;
    int column_ = 0;
    int row_ = 0;
    TilePos last_;
    bool lastInSlot_ = false;
};

} // namespace orv
