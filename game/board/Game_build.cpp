// The level build: faces for a new board, the deal until the board can be
// cleared, the grouping of faces onto the deal order, and the record of it.

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/Game.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"

#include <algorithm>
#include <array>
#include <string>

namespace orv {

namespace {

// Gives the tiles of `order` the faces of `faces`, position by position.
void applyFaces(const TileList& order, const std::vector<TileDef>& faces,
                const TileManager* manager) {
    const std::size_t count = std::min(order.size(), faces.size());
    for (std::size_t i = 0; i < count; ++i) {
        const TileDef& face = faces[i];
        order[i]->setFace(face.suit, face.idx,
                          manager != nullptr ? manager->matchTypeOf(face.suit) : MatchType::Exact);
    }
}

} // namespace

bool Game::assignTileFaces() {
    const TileManager* manager = TileManager::get();
    if (!layout_ || manager == nullptr) {
        logWarning("game: there are no suits to deal from");
        return false;
    }
    int groupSize = 2;
    int bonusCount = 4;
    if (gameType_ == GameType::Split || gameType_ == GameType::Speed) {
        groupSize = 1;
    } else if (gameType_ == GameType::Triple) {
        groupSize = 3;
        bonusCount = 6;
    }
    const int tileCount = layout_->getTileCount();
    std::vector<TileDef> faces;
    manager->distribute(tileCount, groupSize, bonusCount, kOrdinarySuits, faces);
    if (static_cast<int>(faces.size()) < tileCount) {
        logWarning("game: the " + std::to_string(tileCount) + " tiles of the layout " +
                   (level_ ? level_->getLayoutName() : std::string()) + " (" +
                   layout_->getDisplayName() + ") cannot be dealt in sets of " +
                   std::to_string(groupSize) + " (only " + std::to_string(faces.size()) +
                   " faces); the level is refused");
        return false;
    }
    std::size_t next = 0;
    layout_->forEachTile([&](Tile& tile) {
        const TileDef& face = faces[next++];
        tile.setFace(face.suit, face.idx, manager->matchTypeOf(face.suit));
    });
    buildLevel(*layout_);
    return true;
}

void Game::groupIntoSets(std::vector<TileDef>& out) {
    if (!layout_) {
        return;
    }
    TileList tiles;
    layout_->getTiles(tiles);
    randomShuffle(tiles);
    appendFaceSets(tiles, tilesPerMatch(), out);
}

void Game::appendFaceSets(const TileList& tiles, int setSize, std::vector<TileDef>& out) const {
    std::vector<char> grouped(tiles.size(), 0);
    std::size_t front = 0; // every tile before it is in a set
    for (std::size_t last = tiles.size(); last-- > 0;) {
        if (grouped[last] != 0) {
            continue;
        }
        grouped[last] = 1;
        const Tile* tile = tiles[last].get();
        out.push_back(TileDef{tile->getSuit(), tile->getIdx()});
        const int key = tile->matchKey();
        int wanted = setSize - 1;
        while (front < last && grouped[front] != 0) {
            ++front;
        }
        // Matching tiles share a key: comparing keys first spares most of
        // the match tests.
        for (std::size_t i = front; i < last && wanted > 0; ++i) {
            const Tile* other = tiles[i].get();
            if (grouped[i] == 0 && other->matchKey() == key && tilesMatch(tile, other)) {
                grouped[i] = 1;
                out.push_back(TileDef{other->getSuit(), other->getIdx()});
                --wanted;
            }
        }
    }
}

bool Game::dealCanSucceed(const Layout& board) const {
    const int perMatch = tilesPerMatch();
    return perMatch > 0 && board.getTileCount() % perMatch == 0;
}

bool Game::hasStackingProblem(const Layout& board, const TileList& order) const {
    for (const RefPtr<Tile>& tile : order) {
        const TilePos& pos = tile->getPos();
        for (const int z : {pos.z + 1, pos.z - 1}) {
            const std::array<const Tile*, 4> cells{
                board.getGridCell(pos.x, pos.y, z), board.getGridCell(pos.x + 1, pos.y, z),
                board.getGridCell(pos.x, pos.y + 1, z), board.getGridCell(pos.x + 1, pos.y + 1, z)};
            for (const Tile* other : cells) {
                if (other != nullptr && tilesMatch(tile.get(), other)) {
                    return true;
                }
            }
        }
    }
    return false;
}

BuildReport Game::buildLevel(Layout& board) {
    BuildReport report;
    TileList allTiles;
    board.getTiles(allTiles);

    // The deal is tried again and again, but only for as much work as fits
    // a few milliseconds: a board whose deals fail late would otherwise
    // take seconds. The work counts the tiles the failed deals placed.
    TileList order;
    bool dealt = false;
    long failedWork = 0;
    if (!dealCanSucceed(board)) {
        report.numNotSolvable = kDealAttempts;
    }
    while (!dealt && report.numNotSolvable < kDealAttempts && failedWork < kDealWorkBudget) {
        order.clear();
        dealt = deal(board, order);
        board.addTiles(allTiles);
        if (!dealt) {
            ++report.numNotSolvable;
            failedWork += static_cast<long>(order.size()) + 1;
        }
    }
    if (!dealt) {
        // The board cannot be cleared by any deal tried: its tiles are
        // grouped in grid order, so the level can still be played.
        order = allTiles;
    }

    const TileManager* manager = TileManager::get();
    const bool testStacking = gameType_ == GameType::Classic || gameType_ == GameType::Triple;
    // Groupings likewise stop at a number of passes that places at most
    // kGroupingWorkBudget faces; the second half of them keeps the grouping
    // that leaves the most matches.
    const long faceCount = std::max(static_cast<long>(order.size()), 1L);
    const auto passes = static_cast<int>(
        std::clamp(kGroupingWorkBudget / faceCount, 1L, static_cast<long>(kGroupingPasses)));
    const int keepLatest = passes / 2;
    std::vector<TileDef> faces;
    std::vector<TileDef> best;
    int bestMatches = -1;
    for (int pass = 0; pass < passes; ++pass) {
        faces.clear();
        groupIntoSets(faces);
        applyFaces(order, faces, manager);
        if (!testStacking || order.empty() || !hasStackingProblem(board, order)) {
            best = faces;
            break;
        }
        ++report.numStackingProblem;
        if (pass <= keepLatest) {
            best = faces;
        } else {
            const int matches = availableMatches();
            if (matches > bestMatches) {
                best = faces;
                bestMatches = matches;
            }
        }
    }
    applyFaces(order, best, manager);
    report.levelBuildProblem = !dealt || report.numStackingProblem > 0;

    SideBoard* rack = board.getSideBoard();
    if (rack != nullptr && (gameType_ == GameType::Split || gameType_ == GameType::Speed)) {
        rack->clear();
        rack->fill([this] { return newTile(); });
        rack->getLocalRect();
    }

    report.order = std::move(order);
    if (const RefPtr<PropertyNode> record = logCustomEvent()) {
        record->add(new PropertyValue("numNotSolvable", report.numNotSolvable, true));
        record->add(new PropertyValue("numStackingProblem", report.numStackingProblem, true));
        record->addNamedBool("levelBuildProblem", report.levelBuildProblem, true);
    }
    lastBuild_ = report;
    return report;
}

} // namespace orv
