#include "game/board/GameFreeCell.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/DealByDistance.h"
#include "game/board/GameClassic.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"

namespace orv {

const ClassRecord GameFreeCell::classRecord{"GameFreeCell", parentRecords<Game::classRecord>};

namespace {

// The tutorial hint that explains parking a tile.
constexpr int kFreeCellMoveHint = 22;

} // namespace

GameFreeCell::GameFreeCell(PropertyNode* saved) : Game(saved, GameType::FreeCell) {
    if (saved != nullptr && saved->getChild("hintCounter") != nullptr) {
        hintCounter_ = saved->getValue("hintCounter")->getInt();
    }
}

BaseObject* GameFreeCell::createFromDefinition(PropertyNode* definition) {
    return new GameFreeCell(definition);
}

bool GameFreeCell::tilesMatch(const Tile* a, const Tile* b) const {
    return GameClassic::sameKey(a, b);
}

void GameFreeCell::unpairedParkedTiles(const Layout& board, TileList& out) {
    const SideBoard* rack = board.getSideBoard();
    if (rack == nullptr) {
        return;
    }
    TileList parked;
    rack->getTiles(parked);
    std::vector<char> paired(parked.size(), 0);
    for (std::size_t i = 0; i < parked.size(); ++i) {
        for (std::size_t j = i + 1; j < parked.size() && paired[i] == 0; ++j) {
            if (paired[j] == 0 && GameClassic::sameKey(parked[i].get(), parked[j].get())) {
                paired[i] = 1;
                paired[j] = 1;
            }
        }
        if (paired[i] == 0) {
            out.push_back(parked[i]);
        }
    }
}

void GameFreeCell::collectCandidates(TileList& out) {
    const Layout* board = getLayout();
    if (board == nullptr) {
        return;
    }
    TileList free;
    board->getFreeTiles(free, getFreeTileRule());
    TileList parked;
    if (const SideBoard* rack = board->getSideBoard()) {
        rack->getTiles(parked);
    }
    const auto addPairs = [this, &out](const TileList& outer, const TileList& inner) {
        for (const RefPtr<Tile>& a : outer) {
            if (listContains(out, a.get())) {
                continue;
            }
            for (const RefPtr<Tile>& b : inner) {
                if (b != a && tilesMatch(a.get(), b.get()) && !listContains(out, b.get())) {
                    out.push_back(a);
                    out.push_back(b);
                    break;
                }
            }
        }
    };
    addPairs(free, free);
    addPairs(parked, free);
    addPairs(parked, parked);
}

void GameFreeCell::groupIntoSets(std::vector<TileDef>& out) {
    const Layout* board = getLayout();
    if (board == nullptr) {
        return;
    }
    TileList tiles;
    board->getTiles(tiles);
    TileList lonely;
    unpairedParkedTiles(*board, lonely);
    for (const RefPtr<Tile>& parked : lonely) {
        for (auto it = tiles.begin(); it != tiles.end(); ++it) {
            if (tilesMatch(parked.get(), it->get())) {
                out.push_back(TileDef{(*it)->getSuit(), (*it)->getIdx()});
                tiles.erase(it);
                break;
            }
        }
    }
    randomShuffle(tiles);
    appendFaceSets(tiles, 2, out);
}

bool GameFreeCell::dealCanSucceed(const Layout& board) const {
    TileList lonely;
    unpairedParkedTiles(board, lonely);
    const auto reserved = static_cast<int>(lonely.size());
    return reserved <= board.getTileCount() && (board.getTileCount() - reserved) % 2 == 0;
}

bool GameFreeCell::deal(Layout& layout, TileList& order) {
    const Level* level = getLevel();
    const FreeTileRule rule = getFreeTileRule();
    order.reserve(order.size() + static_cast<std::size_t>(layout.getTileCount()));
    DealByDistance dealer(layout, rule,
                          level != nullptr ? level->getTuningInt(Tuning::TileDistMin) : 0,
                          level != nullptr ? level->getTuningInt(Tuning::TileDistMax) : 0);
    // A parked tile without a parked partner is matched first, with a board
    // tile that must be free at once: the reserved tiles are drawn among the
    // free ones, one after the other.
    TileList lonely;
    unpairedParkedTiles(layout, lonely);
    for (std::size_t i = 0; i < lonely.size(); ++i) {
        Tile* tile = dealer.pickFree();
        if (tile == nullptr) {
            return false;
        }
        order.emplace_back(tile);
        dealer.take(tile);
    }
    while (!dealer.isDone()) {
        if (layout.countFreeTiles(rule) < 2 || !dealer.dealSet(2, order)) {
            return false;
        }
    }
    return true;
}

void GameFreeCell::sideBoardUndo(Tile& tile) {
    Layout* board = getLayout();
    SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (rack == nullptr) {
        return;
    }
    const TilePos cell = tile.getPos();
    rack->removeTileAt(cell.x, cell.y);
    rack->putTile(&tile, cell.x, cell.y);
}

void GameFreeCell::save(PropertyNode& node) const {
    Game::save(node);
    if (&node != DUMMY_NODE) {
        node.add(new PropertyValue("hintCounter", hintCounter_, true));
    }
}

void GameFreeCell::click(int x, int y) {
    Game::click(x, y);
    const Layout* board = getLayout();
    const SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (getSelection().size() != 1 || getPendingAction() != PendingAction::None ||
        rack == nullptr) {
        return;
    }
    int column = x;
    int row = y;
    if (!rack->slotAt(column, row)) {
        return;
    }
    services().completeTutorialHint(kFreeCellMoveHint);
    setPendingAction(PendingAction::FreeCellMove);
    setFreeCell(column, row);
}

bool GameFreeCell::isStuck(int available) {
    const Layout* board = getLayout();
    const SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    return available <= 0 && board != nullptr && board->getTileCount() > 0 &&
           (rack == nullptr || rack->countTiles() >= rack->getSlotCount());
}

} // namespace orv
