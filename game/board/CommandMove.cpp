#include "game/board/CommandMove.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"

#include <string>

namespace orv {

const ClassRecord CommandMove::classRecord{"CommandMove", parentRecords<Command::classRecord>};

CommandMove::CommandMove(Tile* tile, int column, int row)
    : tile_(tile), column_(column), row_(row) {
    if (tile != nullptr) {
        last_ = tile->getPos();
        lastInSlot_ = tile->isSideboard();
    }
}

CommandMove::CommandMove(PropertyNode* saved) {
    const PropertyNode& node = *(saved != nullptr ? saved : DUMMY_NODE);
    tile_ = createTile(node.getChild("tile"), "saved free-cell move");
    column_ = node.getValue("x")->getInt();
    row_ = node.getValue("y")->getInt();
    last_ = TilePos{node.getValue("lx")->getInt(), node.getValue("ly")->getInt(),
                    node.getValue("lz")->getInt()};
    lastInSlot_ = node.getValue("lsb")->getBool();
    if (!tile_ || (!lastInSlot_ && !Layout::isValidOrigin(last_))) {
        setIntact(false);
    }
}

BaseObject* CommandMove::createFromDefinition(PropertyNode* definition) {
    return new CommandMove(definition);
}

void CommandMove::execute(Game& game) {
    Layout* board = game.getLayout();
    SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (!tile_ || rack == nullptr || column_ < 0 || column_ >= rack->getColumns() || row_ < 0 ||
        row_ >= rack->getRows() || rack->getTileAt(column_, row_) != nullptr) {
        logWarning("free-cell move: slot (" + std::to_string(column_) + ", " +
                   std::to_string(row_) + ") cannot take the tile; nothing moves");
        return;
    }
    GameView& view = Game::getView();
    game.clearSelection();
    const TilePos from = tile_->getPos();
    const bool fromSlot = tile_->isSideboard();
    board->removeTile(tile_.get());
    rack->putTile(tile_.get(), column_, row_);
    view.tileMovedToSlot(*tile_, from, fromSlot);
    view.updateFreeTileMarks();
    view.updateMatchesLabel();
    view.updateProgressLabel();
}

void CommandMove::undo(Game& game) {
    Layout* board = game.getLayout();
    SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (!tile_ || rack == nullptr) {
        return;
    }
    GameView& view = Game::getView();
    game.clearSelection();
    rack->removeTileAt(column_, row_);
    if (lastInSlot_) {
        rack->putTile(tile_.get(), last_.x, last_.y);
    } else {
        tile_->setSideboard(false);
        board->setTileAt(tile_.get(), last_);
    }
    view.tileReturned(*tile_);
    view.updateFreeTileMarks();
    view.updateMatchesLabel();
    view.updateProgressLabel();
}

void CommandMove::save(PropertyNode& node) const {
    node.setTypeName("CommandMove");
    if (tile_) {
        tile_->save(static_cast<PropertyNode*>(node.add(new PropertyNode("tile", "Tile"))));
    }
    node.add(new PropertyValue("x", column_, true));
    node.add(new PropertyValue("y", row_, true));
    node.add(new PropertyValue("lx", last_.x, true));
    node.add(new PropertyValue("ly", last_.y, true));
    node.add(new PropertyValue("lz", last_.z, true));
    if (lastInSlot_) {
        node.addNamedBool("lsb", true, true);
    }
}

void CommandMove::tiles(TileList& /*out*/) const {}

} // namespace orv
