#include "game/board/GameSplit.h"

#include "engine/core/Log.h"
#include "engine/core/RandomGenerator.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

namespace orv {

const ClassRecord GameSplit::classRecord{"GameSplit", parentRecords<Game::classRecord>};

namespace {

// Values a twin of a bonus-suit tile is drawn from: 0 to 3.
constexpr int kBonusTwinValues = 4;

void readTiles(PropertyNode& saved, std::string_view name, TileList& out) {
    for (const RefPtr<AbstractProperty>& element : saved.getVector(name)->getElements()) {
        if (RefPtr<Tile> tile = createTile(element.get(), "saved order of twins")) {
            out.push_back(tile);
        }
    }
}

void writeTiles(PropertyNode& node, std::string_view name, const TileList& tiles) {
    auto* list = static_cast<PropertyVector*>(node.add(new PropertyVector(name)));
    for (const RefPtr<Tile>& tile : tiles) {
        tile->save(static_cast<PropertyNode*>(list->add(new PropertyNode("", "Tile"))));
    }
}

// The buried tiles of `tiles` (neither free nor under a free tile), or all
// of them when none is buried.
TileList buriedOf(const Layout& layout, const TileList& tiles, FreeTileRule rule) {
    TileList buried;
    for (const RefPtr<Tile>& tile : tiles) {
        if (!layout.isTileFree(*tile, rule) && !layout.isUnderFreeTile(*tile, rule)) {
            buried.push_back(tile);
        }
    }
    return buried.empty() ? tiles : buried;
}

// Moves `tile` from `from` (first occurrence) to the end of `to`.
void moveTile(RefPtr<Tile> tile, TileList& from, TileList& to) {
    removeFirst(from, tile.get());
    to.push_back(std::move(tile));
}

} // namespace

GameSplit::GameSplit(PropertyNode* saved) : GameSplit(saved, GameType::Split) {}

GameSplit::GameSplit(PropertyNode* saved, GameType type) : Game(saved, type) {
    if (saved != nullptr) {
        readTiles(*saved, "sb_order", sbOrder_);
        readTiles(*saved, "sb_order_undo", sbOrderUndo_);
    }
}

BaseObject* GameSplit::createFromDefinition(PropertyNode* definition) {
    return new GameSplit(definition);
}

bool GameSplit::tilesMatch(const Tile* a, const Tile* b) const {
    return a != nullptr && b != nullptr && a != b && a->matchKey() == b->matchKey() &&
           a->isSideboard() != b->isSideboard();
}

void GameSplit::collectCandidates(TileList& out) {
    const Layout* board = getLayout();
    const SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (rack == nullptr) {
        return;
    }
    TileList twins;
    rack->getTiles(twins);
    TileList free;
    board->getFreeTiles(free, getFreeTileRule());
    for (const RefPtr<Tile>& twin : twins) {
        for (const RefPtr<Tile>& tile : free) {
            if (tilesMatch(twin.get(), tile.get()) && !listContains(out, tile.get())) {
                out.push_back(tile);
                out.push_back(twin);
                break;
            }
        }
    }
}

void GameSplit::groupIntoSets(std::vector<TileDef>& out) {
    const Layout* board = getLayout();
    if (board == nullptr) {
        return;
    }
    TileList tiles;
    board->getTiles(tiles);
    randomShuffle(tiles);
    for (const RefPtr<Tile>& tile : tiles) {
        out.push_back(TileDef{tile->getSuit(), tile->getIdx()});
    }
}

bool GameSplit::dealCanSucceed(const Layout& /*board*/) const {
    return true;
}

bool GameSplit::handSizes(int h1, int h2, int h3, int slots, int& k1, int& k2, int& k3) {
    h1 = std::max(h1, 0);
    h2 = std::max(h2, 0);
    h3 = std::max(h3, 0);
    const std::int64_t sum = std::int64_t{h1} + h2 + h3;
    if (sum <= 0 || slots <= 0) {
        k1 = k2 = k3 = 0;
        return false;
    }
    k1 = static_cast<int>(std::clamp<std::int64_t>(h1 * std::int64_t{slots} / sum, 1, slots));
    k2 = static_cast<int>(std::min<std::int64_t>(h2 * std::int64_t{slots} / sum, slots - k1));
    k3 = slots - k1 - k2;
    return true;
}

bool GameSplit::deal(Layout& layout, TileList& order) {
    const FreeTileRule rule = getFreeTileRule();
    const Level* level = getLevel();
    const SideBoard* rack = layout.getSideBoard();
    const int slots = rack != nullptr ? rack->getSlotCount() : 0;
    int k1 = 0;
    int k2 = 0;
    int k3 = 0;
    if (level == nullptr ||
        !handSizes(level->getTuningInt(Tuning::FirstHand), level->getTuningInt(Tuning::SecondHand),
                   level->getTuningInt(Tuning::ThirdHand), slots, k1, k2, k3)) {
        // Levels without usable hands are refused before they are dealt;
        // a deal asked for all the same shows the free tiles' twins.
        k1 = std::max(slots, 1);
        k2 = 0;
        k3 = 0;
    }
    order.reserve(order.size() + static_cast<std::size_t>(layout.getTileCount()));

    // The hands: the tiles whose twins are on show at the start. A hand
    // that finds too few tiles of its kind passes the rest to the next.
    TileList hand;
    TileList pool;
    layout.getFreeTiles(pool, rule);
    randomShuffle(pool);
    int missing = 0;
    for (int i = 0; i < k1; ++i) {
        if (pool.empty()) {
            ++missing;
        } else {
            hand.push_back(pool.back());
            pool.pop_back();
        }
    }
    if (missing + k2 > 0 || k3 > 0) {
        pool.clear();
        layout.getTilesUnderFreeTile(pool, rule);
        randomShuffle(pool);
        const int wanted = missing + k2;
        missing = 0;
        for (int i = 0; i < wanted; ++i) {
            if (pool.empty()) {
                ++missing;
            } else {
                hand.push_back(pool.back());
                pool.pop_back();
            }
        }
    }
    if (missing + k3 > 0) {
        // Buried tiles first, then any tile: each from the tiles not in a
        // hand yet, so that no tile is dealt twice.
        TileList rest;
        layout.forEachTile([&](Tile& tile) {
            if (!listContains(hand, &tile)) {
                rest.emplace_back(&tile);
            }
        });
        TileList buried;
        for (const RefPtr<Tile>& tile : rest) {
            if (!layout.isTileFree(*tile, rule) && !layout.isUnderFreeTile(*tile, rule)) {
                buried.push_back(tile);
            }
        }
        randomShuffle(rest);
        randomShuffle(buried);
        const int wanted = missing + k3;
        for (int i = 0; i < wanted && !rest.empty(); ++i) {
            const RefPtr<Tile> tile = buried.empty() ? rest.back() : buried.back();
            if (!buried.empty()) {
                buried.pop_back();
            }
            moveTile(tile, rest, hand);
        }
    }

    TileList rest;
    layout.forEachTile([&](Tile& tile) {
        if (!listContains(hand, &tile)) {
            rest.emplace_back(&tile);
        }
    });

    // Simulated play: a free tile of the hand leaves the board, and a tile
    // of the rest takes its place in the hand, chosen so that the hands keep
    // their shares of free, half-covered and buried tiles.
    TileList dealt;
    TileList candidates;
    while (layout.getTileCount() > 0) {
        randomShuffle(hand);
        const auto freeInHand = std::find_if(hand.begin(), hand.end(), [&](const RefPtr<Tile>& t) {
            return layout.isTileFree(*t, rule);
        });
        RefPtr<Tile> played;
        if (freeInHand != hand.end()) {
            played = *freeInHand;
        } else {
            // No tile of the hand is free: the hand takes a free tile of the
            // rest, which is played at once.
            candidates.clear();
            for (const RefPtr<Tile>& tile : rest) {
                if (layout.isTileFree(*tile, rule)) {
                    candidates.push_back(tile);
                }
            }
            if (candidates.empty()) {
                return false;
            }
            randomShuffle(candidates);
            played = candidates.back();
            removeFirst(rest, played.get());
        }
        order.push_back(played);
        layout.removeTile(played.get());
        dealt.push_back(played);
        removeFirst(hand, played.get());

        if (layout.getTileCount() <= static_cast<int>(hand.size()) || rest.empty()) {
            continue;
        }
        int freeCount = 0;
        int underCount = 0;
        for (const RefPtr<Tile>& tile : hand) {
            if (layout.isTileFree(*tile, rule)) {
                ++freeCount;
            } else if (layout.isUnderFreeTile(*tile, rule)) {
                ++underCount;
            }
        }
        if (freeCount < k1) {
            candidates.clear();
            for (const RefPtr<Tile>& tile : rest) {
                if (layout.isTileFree(*tile, rule)) {
                    candidates.push_back(tile);
                }
            }
            if (!candidates.empty()) {
                randomShuffle(candidates);
                moveTile(candidates.back(), rest, hand);
                continue;
            }
            ++underCount;
        }
        if (underCount < k2) {
            candidates.clear();
            for (const RefPtr<Tile>& tile : rest) {
                if (layout.isUnderFreeTile(*tile, rule)) {
                    candidates.push_back(tile);
                }
            }
            if (!candidates.empty()) {
                randomShuffle(candidates);
                moveTile(candidates.back(), rest, hand);
                continue;
            }
        }
        candidates = buriedOf(layout, rest, rule);
        randomShuffle(candidates);
        moveTile(candidates.front(), rest, hand);
    }

    // The twins arrive in the order the tiles were dealt: the last entry of
    // sb_order is the tile dealt first.
    sbOrder_.assign(dealt.rbegin(), dealt.rend());
    sbOrderUndo_.clear();
    return true;
}

RefPtr<Tile> GameSplit::makeTwin(const Tile& tile) {
    RefPtr<Tile> twin(new Tile(nullptr));
    int idx = tile.getIdx();
    if (tile.getSuit() == kFirstBonusSuit || tile.getSuit() == kSecondBonusSuit) {
        idx = Random::nextInt(0, kBonusTwinValues);
    }
    twin->setFace(tile.getSuit(), idx, tile.getMatchType());
    return twin;
}

RefPtr<Tile> GameSplit::newTile() {
    if (sbOrder_.empty()) {
        return nullptr;
    }
    const RefPtr<Tile> next = sbOrder_.back();
    sbOrder_.pop_back();
    sbOrderUndo_.push_back(next);
    return makeTwin(*next);
}

void GameSplit::sideBoardUndo(Tile& tile) {
    Layout* board = getLayout();
    SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (rack == nullptr) {
        return;
    }
    const TilePos slot = tile.getPos();
    // The slot holds the twin that refilled it after the match, if any:
    // that refill is taken back with its entry. A match made after
    // sb_order ran out refilled nothing, and nothing goes back.
    if (rack->getTileAt(slot.x, slot.y) != nullptr) {
        if (!sbOrderUndo_.empty()) {
            sbOrder_.push_back(sbOrderUndo_.back());
            sbOrderUndo_.pop_back();
        }
        rack->removeTileAt(slot.x, slot.y);
    }
    rack->putTile(&tile, slot.x, slot.y);
}

bool GameSplit::setLevel(Level* level) {
    sbOrder_.clear();
    startOrder_.clear();
    sbOrderUndo_.clear();
    if (level != nullptr && level->getLayout() != nullptr) {
        const SideBoard* rack = level->getLayout()->getSideBoard();
        const std::string& name = level->getLayoutName();
        if (rack != nullptr && rack->getSlotCount() <= 0) {
            logWarning("game: the side board of the layout " + name +
                       " has no slots, so no twin could be shown; the level is refused");
            return false;
        }
        int k1 = 0;
        int k2 = 0;
        int k3 = 0;
        if (getGameType() == GameType::Split && rack != nullptr &&
            !handSizes(level->getTuningInt(Tuning::FirstHand),
                       level->getTuningInt(Tuning::SecondHand),
                       level->getTuningInt(Tuning::ThirdHand), rack->getSlotCount(), k1, k2, k3)) {
            logWarning("game: the hands of the Split level on " + name +
                       " add up to 0 (firstHand, secondHand, thirdHand); the level is refused");
            return false;
        }
    }
    if (!Game::setLevel(level)) {
        return false;
    }
    if (startOrder_.empty()) {
        startOrder_ = sbOrder_;
    }
    return true;
}

void GameSplit::restart() {
    if (startOrder_.empty() && (!sbOrder_.empty() || !sbOrderUndo_.empty())) {
        // A resumed game (the kept order is not saved): the order after
        // the level's first fill is what is left of sb_order
        // followed by the refills taken since, latest first, less the
        // twins the first fill showed.
        const Layout* kept = getLayoutCopy();
        const SideBoard* rack = kept != nullptr ? kept->getSideBoard() : nullptr;
        const std::size_t shown =
            rack != nullptr ? static_cast<std::size_t>(rack->countTiles()) : 0;
        startOrder_ = sbOrder_;
        for (std::size_t i = sbOrderUndo_.size(); i > shown; --i) {
            startOrder_.push_back(sbOrderUndo_[i - 1]);
        }
    }
    Game::restart();
    sbOrder_.clear();
    sbOrderUndo_.clear();
    const Layout* board = getLayout();
    if (board == nullptr) {
        return;
    }
    for (const RefPtr<Tile>& tile : startOrder_) {
        const TilePos& pos = tile->getPos();
        Tile* now = board->getGridCell(pos.x, pos.y, pos.z);
        if (now != nullptr && now->getPos() == pos) {
            sbOrder_.emplace_back(now);
        }
    }
    startOrder_ = sbOrder_;
}

void GameSplit::save(PropertyNode& node) const {
    Game::save(node);
    // Speed deals no order of twins and saves none.
    if (&node == DUMMY_NODE || getGameType() != GameType::Split) {
        return;
    }
    writeTiles(node, "sb_order", sbOrder_);
    writeTiles(node, "sb_order_undo", sbOrderUndo_);
}

bool GameSplit::selectionMatches() {
    const Tile* clicked = getClickedTile();
    const Layout* board = getLayout();
    const SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    if (clicked == nullptr || rack == nullptr) {
        return false;
    }
    TileList twins;
    rack->getTiles(twins);
    return std::any_of(twins.begin(), twins.end(),
                       [&](const RefPtr<Tile>& twin) { return tilesMatch(clicked, twin.get()); });
}

void GameSplit::click(int x, int y) {
    // Single tiles are never selected here: a hint the screen put into the
    // selection would otherwise be removed with the next match.
    if (!getSelection().empty()) {
        clearSelection();
    }
    Game::click(x, y);
    const RefPtr<Tile> clicked(getClickedTile());
    if (!clicked) {
        return;
    }
    if (getPendingAction() == PendingAction::NewSelection) {
        setPendingAction(PendingAction::None);
        if (!clicked->isSideboard()) {
            view().pulseTile(*clicked);
        }
    }
    if (!clicked->isSideboard()) {
        return;
    }
    // A hinted twin is matched with the hinted board tile it pairs with;
    // any other twin only shows it cannot be played.
    if (isHinted(clicked.get())) {
        for (const RefPtr<Tile>& partner : getHintTiles()) {
            if (partner->isSideboard() || !tilesMatch(clicked.get(), partner.get()) ||
                !getLayout()->isTileFree(*partner, getFreeTileRule())) {
                continue;
            }
            // The base click has given this click its sound already.
            setClickedTile(partner.get());
            if (selectionMatches()) {
                setPendingAction(PendingAction::Match);
                return;
            }
            setClickedTile(clicked.get());
        }
    }
    setPendingAction(PendingAction::None);
    view().pulseTile(*clicked);
}

} // namespace orv
