#pragma once

#include "game/board/Game.h"

namespace orv {

/// Game type 3: a match is three free tiles with the same match key, chosen
/// one after the other. The deal orders the board into triples, each free at
/// its turn, steered by the level's tile distances; the faces come in
/// matching triples. Registered as "GameTriple".
class GameTriple : public Game {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new game (null), or one read back from its saved "game" node.
    explicit GameTriple(PropertyNode* saved);
    /// The object factory's create function for "GameTriple".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Two tiles of a triple: both given, different, equal match keys.
    [[nodiscard]] bool tilesMatch(const Tile* a, const Tile* b) const override;
    /// Disjoint triples of free tiles with one key, in grid order of their
    /// first tile.
    void collectCandidates(TileList& out) override;
    /// The deal by distance in triples.
    bool deal(Layout& layout, TileList& order) override;
    /// With two tiles selected: the clicked tile makes three different tiles
    /// of one key. With three selected (a hint): the clicked one is among
    /// them. Otherwise false: the first two tiles are added one by one.
    [[nodiscard]] bool selectionMatches() override;
    [[nodiscard]] int tilesPerMatch() const override { return 3; }
};

} // namespace orv
