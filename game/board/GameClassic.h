#pragma once

#include "game/board/Game.h"

namespace orv {

/// Game type 0: two free tiles with the same match key are removed
/// together. Its deal orders the board into pairs, each free at its turn,
/// steered by the level's tile distances. Registered as "GameClassic".
class GameClassic : public Game {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new game (null), or one read back from its saved "game" node.
    explicit GameClassic(PropertyNode* saved);
    /// The object factory's create function for "GameClassic".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Both tiles given, different, with equal match keys.
    [[nodiscard]] bool tilesMatch(const Tile* a, const Tile* b) const override;
    /// The deal by distance in pairs.
    bool deal(Layout& layout, TileList& order) override;

    /// The pair test of the pair games: both given, different, equal keys.
    [[nodiscard]] static bool sameKey(const Tile* a, const Tile* b) {
        return a != nullptr && b != nullptr && a != b && a->matchKey() == b->matchKey();
    }
};

} // namespace orv
