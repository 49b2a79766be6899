#include "game/board/CommandRemove.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"

namespace orv {

const ClassRecord Command::classRecord{"Command", parentRecords<BaseObject::classRecord>};
const ClassRecord CommandRemove::classRecord{"CommandRemove", parentRecords<Command::classRecord>};

CommandRemove::CommandRemove(int points, int factor, const TileList& tiles)
    : score_(points * factor), points_(points), factor_(factor), tiles_(tiles) {}

CommandRemove::CommandRemove(PropertyNode* saved) {
    const PropertyNode& node = *(saved != nullptr ? saved : DUMMY_NODE);
    score_ = node.getValue("score")->getInt();
    for (const RefPtr<AbstractProperty>& element : node.getVector("tiles")->getElements()) {
        RefPtr<Tile> tile = createTile(element.get(), "saved match");
        if (!tile || (!tile->isSideboard() && !Layout::isValidOrigin(tile->getPos()))) {
            setIntact(false);
            continue;
        }
        tiles_.push_back(tile);
    }
}

BaseObject* CommandRemove::createFromDefinition(PropertyNode* definition) {
    return new CommandRemove(definition);
}

void CommandRemove::execute(Game& game) {
    Layout* board = game.getLayout();
    if (board == nullptr || tiles_.empty()) {
        return;
    }
    GameView& view = Game::getView();
    game.addScore(score_);
    game.commitScore(score_);
    view.showScoreFloater(points_, factor_, *tiles_.back());
    for (const RefPtr<Tile>& tile : tiles_) {
        const int multiplier = view.getScoreMultiplier();
        board->removeTile(tile.get());
        view.tileRemoved(*tile, multiplier);
    }
    game.clearSelection();
    if (game.getGameType() == GameType::River) {
        view.invalidateBoard();
    }
    view.updateFreeTileMarks();
    if (SideBoard* rack = board->getSideBoard()) {
        rack->fill([&game] { return game.newTile(); });
    }
    view.updateMatchesLabel();
    view.updateProgressLabel();
}

void CommandRemove::undo(Game& game) {
    Layout* board = game.getLayout();
    if (board == nullptr) {
        return;
    }
    GameView& view = Game::getView();
    game.clearSelection();
    for (const RefPtr<Tile>& tile : tiles_) {
        if (tile->isSideboard()) {
            game.sideBoardUndo(*tile);
        } else if (board->setTileAt(tile.get(), tile->getPos())) {
            view.tileReturned(*tile);
        }
    }
    view.updateFreeTileMarks();
    DisplayValue& score = game.getScore();
    score.add(-score_);
    score.commit(-score_);
    view.countScoreLabel(score.getShown());
    view.updateMatchesLabel();
    view.updateProgressLabel();
}

void CommandRemove::save(PropertyNode& node) const {
    node.setTypeName("CommandRemove");
    node.add(new PropertyValue("score", score_, true));
    auto* list = static_cast<PropertyVector*>(node.add(new PropertyVector("tiles")));
    for (const RefPtr<Tile>& tile : tiles_) {
        tile->save(static_cast<PropertyNode*>(list->add(new PropertyNode("", "Tile"))));
    }
}

void CommandRemove::tiles(TileList& out) const {
    out.insert(out.end(), tiles_.begin(), tiles_.end());
}

} // namespace orv
