#pragma once

#include "engine/core/BaseObject.h"
#include "game/board/Tile.h"

namespace orv {

class Game;
class PropertyNode;

/// A change of the board that the player can take back: a match removed
/// (`CommandRemove`) or a tile moved into a free cell (`CommandMove`). The
/// game executes a command when it makes it (`Game::pushCommand`) and undoes
/// the last one (`Game::undo`); commands save themselves into the saved game
/// and are made again from it by class name, so a resumed game can still be
/// undone.
class Command : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Carries the change out on `game`'s board and tells its view.
    virtual void execute(Game& game) = 0;
    /// Takes the change back on `game`'s board and tells its view.
    virtual void undo(Game& game) = 0;
    /// Writes the command into `node` and sets its type name to the class.
    virtual void save(PropertyNode& node) const = 0;
    /// Appends the tiles the command names.
    virtual void tiles(TileList& out) const = 0;
    /// False when the saved form it was made from had to be mended (a tile
    /// that is none, off the grid or of no suit); such a command is not used.
    [[nodiscard]] bool isIntact() const { return intact_; }

protected:
    void setIntact(bool intact) { intact_ = intact; }

private:
    bool intact_ = true;
};

} // namespace orv
