// The candidates of the rule engine: the matching sets a player could take
// now, the count of available matches and the hint.

#include "game/board/Game.h"

#include <vector>

namespace orv {

void Game::collectCandidates(TileList& out) {
    if (!layout_) {
        return;
    }
    TileList free;
    layout_->getFreeTiles(free, getFreeTileRule());
    // taken[i]: free tile i is in `out` already (from before, or paired).
    std::vector<char> taken(free.size(), 0);
    for (std::size_t i = 0; i < free.size(); ++i) {
        taken[i] = listContains(out, free[i].get()) ? 1 : 0;
    }
    for (std::size_t a = 0; a < free.size(); ++a) {
        if (taken[a] != 0) {
            continue;
        }
        for (std::size_t b = 0; b < free.size(); ++b) {
            if (b == a || taken[b] != 0 || !tilesMatch(free[a].get(), free[b].get())) {
                continue;
            }
            out.push_back(free[a]);
            out.push_back(free[b]);
            taken[a] = 1;
            taken[b] = 1;
            break;
        }
    }
}

int Game::availableMatches() {
    TileList candidates;
    collectCandidates(candidates);
    const int perMatch = tilesPerMatch();
    return perMatch > 0 ? static_cast<int>(candidates.size()) / perMatch : 0;
}

bool Game::pickHint(TileList& out) {
    TileList candidates;
    collectCandidates(candidates);
    const int count = static_cast<int>(candidates.size());
    const int perMatch = tilesPerMatch();
    if (perMatch <= 0 || count < perMatch) {
        return false;
    }
    const int half = count / 2;
    const int start = half - half % perMatch;
    for (int i = start; i < start + perMatch; ++i) {
        out.push_back(candidates[static_cast<std::size_t>(i)]);
    }
    return true;
}

} // namespace orv
