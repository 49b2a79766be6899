#include "game/board/GameTriple.h"

#include "game/board/DealByDistance.h"
#include "game/board/GameClassic.h"

#include <array>
#include <vector>

namespace orv {

const ClassRecord GameTriple::classRecord{"GameTriple", parentRecords<Game::classRecord>};

GameTriple::GameTriple(PropertyNode* saved) : Game(saved, GameType::Triple) {}

BaseObject* GameTriple::createFromDefinition(PropertyNode* definition) {
    return new GameTriple(definition);
}

bool GameTriple::tilesMatch(const Tile* a, const Tile* b) const {
    return GameClassic::sameKey(a, b);
}

void GameTriple::collectCandidates(TileList& out) {
    const Layout* board = getLayout();
    if (board == nullptr) {
        return;
    }
    TileList free;
    board->getFreeTiles(free, getFreeTileRule());
    std::vector<char> taken(free.size(), 0);
    for (std::size_t i = 0; i < free.size(); ++i) {
        taken[i] = listContains(out, free[i].get()) ? 1 : 0;
    }
    // The first two untaken tiles after `first` with its key complete its
    // triple; a key with fewer than three free tiles gives none.
    for (std::size_t first = 0; first < free.size(); ++first) {
        if (taken[first] != 0) {
            continue;
        }
        const int key = free[first]->matchKey();
        std::array<std::size_t, 2> partners{};
        int found = 0;
        for (std::size_t other = 0; other < free.size() && found < 2; ++other) {
            if (other != first && taken[other] == 0 && free[other]->matchKey() == key) {
                partners.at(static_cast<std::size_t>(found++)) = other;
            }
        }
        if (found < 2) {
            continue;
        }
        for (const std::size_t index : {first, partners[0], partners[1]}) {
            taken[index] = 1;
            out.push_back(free[index]);
        }
    }
}

bool GameTriple::deal(Layout& layout, TileList& order) {
    return dealInSets(layout, getFreeTileRule(), getLevel(), 3, order);
}

bool GameTriple::selectionMatches() {
    const Tile* clicked = getClickedTile();
    const TileList& selection = getSelection();
    if (selection.size() == 3) {
        return isSelected(clicked);
    }
    if (selection.size() != 2) {
        return false;
    }
    const Tile* s0 = selection[0].get();
    const Tile* s1 = selection[1].get();
    return clicked != nullptr && clicked != s0 && clicked != s1 && s0 != s1 &&
           clicked->matchKey() == s0->matchKey() && clicked->matchKey() == s1->matchKey();
}

} // namespace orv
