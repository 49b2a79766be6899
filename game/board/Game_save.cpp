// The saved game: what the rule engine writes into the "game" node of a
// saved game, how a game is made again from it, and the usage records.

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/BoardFactory.h"
#include "game/board/CommandMove.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"

#include <algorithm>
#include <string>

namespace orv {

namespace {

constexpr std::string_view kSavedGame = "saved game";

void addInt(PropertyNode& node, std::string_view name, int value) {
    node.add(new PropertyValue(name, value, true));
}

// The saved layout `name` of `saved`, or null when it is missing (not
// logged) or damaged (logged; `intact` cleared).
RefPtr<Layout> readLayout(PropertyNode& saved, std::string_view name, GameType type,
                          int sideBoardIndex, bool& intact) {
    AbstractProperty* node = saved.getChild(name);
    if (node == nullptr) {
        return nullptr;
    }
    if (!node->isNode()) {
        logWarning(std::string(kSavedGame) + ": \"" + std::string(name) + "\" is no layout");
        intact = false;
        return nullptr;
    }
    bool whole = true;
    RefPtr<Layout> layout = Layout::load(static_cast<PropertyNode*>(node), type, sideBoardIndex,
                                         std::string(kSavedGame) + " " + std::string(name), &whole);
    if (!whole) {
        intact = false;
    }
    if (usesSideBoard(type) && layout->getSideBoard() == nullptr) {
        logWarning(std::string(kSavedGame) + ": \"" + std::string(name) +
                   "\" has no side board, which its game type needs");
        intact = false;
    }
    return layout;
}

// Whether undoing `undo` from its end would put every tile back on an empty
// square of `board`: a tile of a saved undo step landing on a tile still on
// the board, or on one put back by a later step, would take that tile off.
bool undoFits(const Layout& board, const std::vector<RefPtr<Command>>& undo) {
    std::vector<char> taken(Layout::kCellCount, 0);
    const auto cell = [](int x, int y, int z) {
        const auto at = [](int n) {
            return static_cast<std::size_t>(n);
        };
        return (at(z) * at(Layout::kRows) + at(y)) * at(Layout::kColumns) + at(x);
    };
    for (int z = 0; z < Layout::kLayers; ++z) {
        for (int y = 0; y < Layout::kRows; ++y) {
            for (int x = 0; x < Layout::kColumns; ++x) {
                taken[cell(x, y, z)] = board.getGridCell(x, y, z) != nullptr ? 1 : 0;
            }
        }
    }
    for (auto step = undo.rbegin(); step != undo.rend(); ++step) {
        std::vector<TilePos> squares;
        if (const auto* move = kindCast<CommandMove>(step->get())) {
            if (!move->cameFromSlot()) {
                squares.push_back(move->getLastPos());
            }
        } else {
            TileList tiles;
            (*step)->tiles(tiles);
            for (const RefPtr<Tile>& tile : tiles) {
                if (!tile->isSideboard()) {
                    squares.push_back(tile->getPos());
                }
            }
        }
        for (const TilePos& pos : squares) {
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    char& square = taken[cell(pos.x + dx, pos.y + dy, pos.z)];
                    if (square != 0) {
                        return false;
                    }
                    square = 1;
                }
            }
        }
    }
    return true;
}

} // namespace

void Game::save(PropertyNode& node) const {
    if (&node == DUMMY_NODE) {
        return;
    }
    addInt(node, "undoCount", counters_.undoCount);
    addInt(node, "hintCount", counters_.hintCount);
    addInt(node, "shuffleCount", counters_.shuffleCount);
    addInt(node, "removedTilesCount", counters_.removedTilesCount);
    addInt(node, "numZeroMatches", counters_.numZeroMatches);
    addInt(node, "realScore", score_.getValue());
    addInt(node, "realTime", counters_.realTime);
    addInt(node, "dataGatherLevelTime", counters_.dataGatherLevelTime);
    addInt(node, "clockTime", counters_.clockTime);
    addInt(node, "timeSinceLastRestart", counters_.timeSinceLastRestart);
    node.addNamedBool("hasWon", counters_.hasWon, true);
    node.addNamedBool("pressedShuffle", counters_.pressedShuffle, true);
    node.addNamedBool("pressedUndo", counters_.pressedUndo, true);
    addInt(node, "bonusesClaimed", counters_.bonusesClaimed);
    if (const Layout* board = shuffledLayout_ ? shuffledLayout_.get() : layout_.get()) {
        board->save(static_cast<PropertyNode*>(node.add(new PropertyNode("layout", "Layout"))));
    }
    if (layoutCopy_) {
        layoutCopy_->save(
            static_cast<PropertyNode*>(node.add(new PropertyNode("layoutCopy", "Layout"))));
    }
    if (level_) {
        level_->writeXml(static_cast<PropertyNode*>(node.add(new PropertyNode("level", "Level"))));
    }
    auto* undo = static_cast<PropertyVector*>(node.add(new PropertyVector("undo")));
    for (const RefPtr<Command>& command : undoList_) {
        command->save(*static_cast<PropertyNode*>(undo->add(new PropertyNode("", "Command"))));
    }
    auto* levels = static_cast<PropertyVector*>(node.add(new PropertyVector("randomLevels")));
    for (const int level : randomLevels_) {
        levels->add(new PropertyValue("", level));
    }
    node.add(new PropertyValue("lastSubmitTime",
                               std::string_view(std::to_string(counters_.lastMatchTime)), true));
    node.setTypeName(
        kGameClassNames.at(static_cast<std::size_t>(std::max(toNumber(gameType_), 0))));
}

void Game::restore(PropertyNode& saved) {
    score_.reset(saved.getValue("realScore")->getInt());
    counters_.undoCount = saved.getValue("undoCount")->getInt();
    counters_.hintCount = saved.getValue("hintCount")->getInt();
    counters_.shuffleCount = saved.getValue("shuffleCount")->getInt();
    counters_.removedTilesCount = saved.getValue("removedTilesCount")->getInt();
    counters_.realTime = saved.getValue("realTime")->getInt();
    counters_.dataGatherLevelTime = saved.getValue("dataGatherLevelTime")->getInt();
    counters_.clockTime = saved.getValue("clockTime")->getInt();
    counters_.timeSinceLastRestart = saved.getValue("timeSinceLastRestart")->getInt();
    counters_.hasWon = saved.getValue("hasWon")->getBool();
    counters_.pressedShuffle = saved.getValue("pressedShuffle")->getBool();
    counters_.pressedUndo = saved.getValue("pressedUndo")->getBool();
    counters_.bonusesClaimed = saved.getValue("bonusesClaimed")->getInt();

    if (saved.getChild("level") == nullptr) {
        logWarning(std::string(kSavedGame) + ": there is no level");
        setDamaged();
        return;
    }
    level_ = createFromNode<Level>(saved.getChild("level"));
    if (!level_) {
        logWarning(std::string(kSavedGame) + ": \"level\" is of type \"" +
                   saved.getChild("level")->getTypeName() + "\", not a level");
        setDamaged();
        return;
    }
    if (level_->getGameType() != gameType_) {
        logWarning(std::string(kSavedGame) + ": the level is of game type " +
                   std::to_string(toNumber(level_->getGameType())) + ", the game of type " +
                   std::to_string(toNumber(gameType_)));
        setDamaged();
        return;
    }
    const int sideBoardIndex = level_->getTuningInt(Tuning::SideBoardIndex);
    layout_ = readLayout(saved, "layout", gameType_, sideBoardIndex, intact_);
    layoutCopy_ = readLayout(saved, "layoutCopy", gameType_, sideBoardIndex, intact_);
    if (!layout_) {
        logWarning(std::string(kSavedGame) + ": there is no board");
        setDamaged();
        return;
    }
    level_->setLayout(layout_.get());

    const PropertyVector* undo = saved.getVector("undo");
    for (std::size_t i = 0; i < undo->size(); ++i) {
        AbstractProperty* element = undo->at(static_cast<std::ptrdiff_t>(i));
        RefPtr<Command> command = createFromNode<Command>(element);
        if (!command || !command->isIntact()) {
            logWarning(std::string(kSavedGame) + ": undo step " + std::to_string(i) + " (type \"" +
                       element->getTypeName() + "\") is damaged");
            setDamaged();
            continue;
        }
        undoList_.push_back(command);
    }
    if (!undoFits(*layout_, undoList_)) {
        logWarning(std::string(kSavedGame) +
                   ": the undo steps would put tiles back onto tiles on the board");
        setDamaged();
    }
    for (const RefPtr<AbstractProperty>& value : saved.getVector("randomLevels")->getElements()) {
        randomLevels_.push_back(PropertyValue::toInt(value.get()));
    }
}

bool Game::resumeSaved(int savedGameId) {
    const std::string what = "saved game " + std::to_string(savedGameId);
    RefPtr<PropertyStore> store(new PropertyStore());
    if (!services().loadSavedGame(savedGameId, *store)) {
        logWarning(what + ": cannot be loaded; nothing is resumed");
        return false;
    }
    AbstractProperty* node = store->getChild("game");
    if (node == nullptr || !node->isNode()) {
        logWarning(what + ": holds no game; nothing is resumed");
        return false;
    }
    RefPtr<Game> game = createFromNode<Game>(node);
    if (!game || !game->isIntact()) {
        logWarning(what + ": the game of type \"" + node->getTypeName() +
                   "\" is damaged; nothing is resumed");
        return false;
    }
    services().keepSavedGameNode(*static_cast<PropertyNode*>(node));
    makeCurrent(game.get());
    return true;
}

void Game::writeSessionAttributes(PropertyNode& record) {
    const std::string player = services().getPlayerName();
    if (!player.empty()) {
        record.add(new PropertyValue("playerName", std::string_view(player), true));
    }
    const Game* current = getCurrent();
    const Level* level = current != nullptr ? current->getLevel() : nullptr;
    if (level != nullptr && view().isShown()) {
        record.add(new PropertyValue("LevelName", std::string_view(level->getLayoutName()), true));
        addInt(record, "GameType", toNumber(level->getGameType()));
        addInt(record, "GameMode", static_cast<int>(level->getPlace()));
        addInt(record, "Difficulty", level->getDifficulty());
    }
}

RefPtr<PropertyNode> Game::logCustomEvent() {
    if (!services().hasUsageRecord()) {
        return nullptr;
    }
    RefPtr<PropertyNode> record(new PropertyNode("", "OVCustomEvent"));
    writeSessionAttributes(*record);
    services().addUsageRecord(*record);
    return record;
}

RefPtr<PropertyNode> Game::openLevelSession() {
    if (!services().hasUsageRecord()) {
        return nullptr;
    }
    Game* current = getCurrent();
    if (current != nullptr && view().isShown()) {
        if (!current->levelSession_) {
            current->levelSession_ = new PropertyNode("", "OVLevelSession");
            writeSessionAttributes(*current->levelSession_);
        }
        return current->levelSession_;
    }
    return logCustomEvent();
}

void Game::closeLevelSession() {
    if (!levelSession_) {
        return;
    }
    const RefPtr<PropertyNode> session = std::move(levelSession_);
    levelSession_ = nullptr;
    services().addUsageRecord(*session);
}

} // namespace orv
