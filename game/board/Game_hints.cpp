// The candidates of the rule engine: the matching sets a player could take
// now, the count of available matches and the hint.

#include "game/board/Game.h"

namespace orv {

void Game::collectCandidates(TileList& out) {
    if (!layout_) {
        return;
    }
    TileList free;
    layout_->getFreeTiles(free, getFreeTileRule());
    for (const RefPtr<Tile>& a : free) {
        if (listContains(out, a.get())) {
            continue;
        }
        for (const RefPtr<Tile>& b : free) {
            if (b == a || !tilesMatch(a.get(), b.get()) || listContains(out, b.get())) {
                continue;
            }
            out.push_back(a);
            out.push_back(b);
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
