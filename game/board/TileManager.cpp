#include "game/board/TileManager.h"

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyVector.h"

#include <algorithm>
#include <string>

namespace orv {

const ClassRecord TileManager::classRecord{"TileManager", parentRecords<BaseObject::classRecord>};

namespace {

RefPtr<TileManager>& theTileManager() {
    static RefPtr<TileManager> manager;
    return manager;
}

} // namespace

TileManager::TileManager(PropertyVector* suitDefs) {
    const PropertyVector* list = suitDefs != nullptr ? suitDefs : DUMMY_VECTOR;
    for (const RefPtr<AbstractProperty>& element : list->getElements()) {
        RefPtr<BaseObject> object = createFromDefinition(element.get());
        auto* suit = kindCast<TileSuit>(object.get());
        if (suit == nullptr) {
            logWarning("suitDefs: element " + std::to_string(suits_.size()) + " of type \"" +
                       element->getTypeName() + "\" is not a suit; skipped");
            continue;
        }
        suit->setNumber(static_cast<int>(suits_.size()));
        suits_.emplace_back(suit);
    }
}

TileManager& TileManager::create() {
    PropertyVector* defs = nullptr;
    if (BasicProperties* settings = BasicProperties::get()) {
        defs = settings->getVector("suitDefs").get();
    }
    theTileManager() = new TileManager(defs);
    return *theTileManager();
}

void TileManager::setInstance(TileManager* manager) {
    theTileManager() = manager;
}

TileManager* TileManager::get() {
    return theTileManager().get();
}

void TileManager::destroyInstance() {
    theTileManager() = nullptr;
}

const TileSuit* TileManager::getSuit(int number) const {
    if (number < 0 || number >= getSuitCount()) {
        return nullptr;
    }
    return suits_[static_cast<std::size_t>(number)].get();
}

MatchType TileManager::matchTypeOf(int number) const {
    const TileSuit* suit = getSuit(number);
    return suit != nullptr ? suit->getMatchType() : MatchType::Exact;
}

bool TileManager::isValidFace(int suit, int idx) const {
    const TileSuit* definition = getSuit(suit);
    return definition != nullptr && idx >= 0 && idx < definition->getSize();
}

int TileManager::sizeOf(int suit) const {
    const TileSuit* definition = getSuit(suit);
    return definition != nullptr ? std::max(definition->getSize(), 0) : 0;
}

void TileManager::appendSuit(int suit, std::vector<TileDef>& out) const {
    const int size = sizeOf(suit);
    for (int value = 0; value < size; ++value) {
        out.push_back(TileDef{suit, value});
    }
}

void TileManager::bonusStep(int& remaining, int cycleSize, int bonusCount,
                            std::vector<TileDef>& out) const {
    if (bonusCount <= 0 || cycleSize <= 0) {
        return;
    }
    const int cycles = remaining / cycleSize;
    // The coin is drawn even when no cycle follows, as the sequence of
    // draws is part of what makes a deal repeatable.
    int bonus = Random::nextInt(0, 1000) < 500 ? kFirstBonusSuit : kSecondBonusSuit;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const int size = sizeOf(bonus);
        if (size == 0) {
            // Without the bonus suits' definitions there is nothing to add.
            return;
        }
        appendSuit(bonus, out);
        remaining -= size;
        for (int extra = 0; extra < bonusCount - size; ++extra) {
            out.push_back(TileDef{bonus, Random::nextInt(0, size)});
        }
        remaining -= std::max(bonusCount - size, 0);
        bonus = bonus == kFirstBonusSuit ? kSecondBonusSuit : kFirstBonusSuit;
    }
}

void TileManager::remainderStep(int& remaining, int groupSize, int bonusCount, int ordinarySuits,
                                int ordinaryTotal, std::vector<TileDef>& out) const {
    const int cycleSize = groupSize * ordinaryTotal + bonusCount;
    bonusStep(remaining, cycleSize, bonusCount, out);
    if (remaining >= groupSize * ordinaryTotal) {
        for (int suit = 0; suit < ordinarySuits; ++suit) {
            for (int copy = 0; copy < groupSize; ++copy) {
                appendSuit(suit, out);
                remaining -= sizeOf(suit);
            }
        }
    }
    if (remaining <= 0) {
        return;
    }
    // Distinct faces at random, each `groupSize` times, from a pool that
    // holds every ordinary face once.
    std::vector<TileDef> pool;
    pool.reserve(static_cast<std::size_t>(ordinaryTotal));
    for (int suit = 0; suit < ordinarySuits; ++suit) {
        appendSuit(suit, pool);
    }
    const int sets = remaining / groupSize;
    for (int set = 0; set < sets && !pool.empty(); ++set) {
        const auto pick =
            static_cast<std::size_t>(Random::nextInt(0, static_cast<int>(pool.size())));
        for (int copy = 0; copy < groupSize; ++copy) {
            out.push_back(pool[pick]);
        }
        remaining -= groupSize;
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(pick));
    }
}

void TileManager::distribute(int tileCount, int groupSize, int bonusCount, int ordinarySuits,
                             std::vector<TileDef>& out) const {
    if (tileCount < 1 || groupSize < 1) {
        return;
    }
    ordinarySuits = std::clamp(ordinarySuits, 0, std::min(getSuitCount(), kFirstBonusSuit));
    int ordinaryTotal = 0;
    for (int suit = 0; suit < ordinarySuits; ++suit) {
        ordinaryTotal += sizeOf(suit);
    }
    if (ordinaryTotal == 0) {
        return;
    }
    const int cycleSize = groupSize * ordinaryTotal + bonusCount;
    const int twoCycles = 2 * cycleSize;
    int remaining = tileCount;
    if (remaining < twoCycles) {
        remainderStep(remaining, groupSize, bonusCount, ordinarySuits, ordinaryTotal, out);
        return;
    }
    do {
        bonusStep(remaining, cycleSize, bonusCount, out);
        for (int suit = 0; suit < ordinarySuits; ++suit) {
            for (int copy = 0; copy < 2 * groupSize; ++copy) {
                appendSuit(suit, out);
                remaining -= sizeOf(suit);
            }
        }
    } while (remaining >= twoCycles);
    if (remaining > 0) {
        remainderStep(remaining, groupSize, bonusCount, ordinarySuits, ordinaryTotal, out);
    }
}

} // namespace orv
