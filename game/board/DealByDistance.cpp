#include "game/board/DealByDistance.h"

#include "game/board/Level.h"

#include "engine/core/RandomGenerator.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orv {

DealByDistance::DealByDistance(Layout& layout, FreeTileRule rule, int distanceMin, int distanceMax)
    : layout_(layout), rule_(rule), distanceMin_(distanceMin), distanceMax_(distanceMax) {
    layout.getTiles(working_);
}

void DealByDistance::take(Tile* tile) {
    removeFirst(working_, tile);
    layout_.removeTile(tile);
}

Tile* DealByDistance::pickFree() {
    const auto count = static_cast<int>(working_.size());
    if (count == 0) {
        return nullptr;
    }
    for (int draws = 1;; ++draws) {
        Tile* tile = working_[static_cast<std::size_t>(Random::nextInt(0, count))].get();
        if (layout_.isTileFree(*tile, rule_)) {
            return tile;
        }
        // A board always has a free tile under the standard rule; a list
        // without one (only possible with tiles that are not present) would
        // otherwise keep drawing for ever.
        if (draws % (4 * count) == 0 &&
            std::none_of(working_.begin(), working_.end(),
                         [this](const RefPtr<Tile>& t) { return layout_.isTileFree(*t, rule_); })) {
            return nullptr;
        }
    }
}

void DealByDistance::sortByDistance(const Tile& from) {
    // Distances are small (at most 39 + 19 + 6 cells), so a counting sort
    // orders the list in one pass, keeping equal distances in their order.
    std::array<std::size_t, kMaxDistance + 2> starts{};
    const TilePos& p = from.getPos();
    for (const RefPtr<Tile>& tile : working_) {
        const TilePos& q = tile->getPos();
        const int distance =
            std::min(std::abs(q.x - p.x) + std::abs(q.y - p.y) + std::abs(q.z - p.z), kMaxDistance);
        tile->setDealKey(distance);
        ++starts[static_cast<std::size_t>(distance) + 1];
    }
    for (std::size_t i = 1; i < starts.size(); ++i) {
        starts[i] += starts[i - 1];
    }
    sorted_.resize(working_.size());
    for (RefPtr<Tile>& tile : working_) {
        const auto key = static_cast<std::size_t>(tile->getDealKey());
        sorted_[starts[key]++] = std::move(tile);
    }
    working_.swap(sorted_);
}

int DealByDistance::drawTargetDistance() const {
    const int distance =
        distanceMin_ < distanceMax_ ? Random::nextInt(distanceMin_, distanceMax_) : distanceMax_;
    return std::max(distance, 1);
}

Tile* DealByDistance::findPartner(int distance, const TileList& exclude) const {
    for (const RefPtr<Tile>& tile : working_) {
        if (tile->getDealKey() >= distance && !listContains(exclude, tile.get()) &&
            layout_.isTileFree(*tile, rule_)) {
            return tile.get();
        }
    }
    for (auto it = working_.rbegin(); it != working_.rend(); ++it) {
        if (!listContains(exclude, it->get()) && layout_.isTileFree(**it, rule_)) {
            return it->get();
        }
    }
    return nullptr;
}

bool DealByDistance::dealSet(int setSize, TileList& order) {
    Tile* picked = pickFree();
    if (picked == nullptr) {
        return false;
    }
    sortByDistance(*picked);
    const int distance = drawTargetDistance();
    TileList set{RefPtr<Tile>(picked)};
    // Partners after the first must not repeat one found before; the picked
    // tile itself is not excluded, so that meeting it means failure.
    TileList found;
    for (int i = 1; i < setSize; ++i) {
        Tile* partner = findPartner(distance, found);
        if (partner == nullptr || partner == picked) {
            return false;
        }
        found.emplace_back(partner);
        set.emplace_back(partner);
    }
    for (const RefPtr<Tile>& tile : set) {
        order.push_back(tile);
    }
    for (const RefPtr<Tile>& tile : set) {
        take(tile.get());
    }
    return true;
}

bool dealInSets(Layout& layout, FreeTileRule rule, const Level* level, int setSize,
                TileList& order) {
    order.reserve(order.size() + static_cast<std::size_t>(layout.getTileCount()));
    DealByDistance dealer(layout, rule,
                          level != nullptr ? level->getTuningInt(Tuning::TileDistMin) : 0,
                          level != nullptr ? level->getTuningInt(Tuning::TileDistMax) : 0);
    while (!dealer.isDone()) {
        if (!dealer.dealSet(setSize, order)) {
            return false;
        }
    }
    return true;
}

} // namespace orv
