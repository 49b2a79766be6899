#pragma once

#include "game/board/GameSplit.h"

namespace orv {

/// Game type 5, a variant of Split: nothing is dealt in advance. Each new
/// twin copies the face of a free board tile chosen at random, and only the
/// twin in the first slot (column 0, row 0), the current twin, counts for
/// matches, hints and candidates. Registered as "GameSpeed".
class GameSpeed : public GameSplit {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new game (null), or one read back from its saved "game" node.
    explicit GameSpeed(PropertyNode* saved);
    /// The object factory's create function for "GameSpeed".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The current twin and the first free board tile (grid order) that
    /// matches it; false when there is none.
    bool pickHint(TileList& out) override;
    /// The current twin and each free board tile that matches it, a pair
    /// per tile.
    void collectCandidates(TileList& out) override;
    /// Every tile in grid order.
    bool deal(Layout& layout, TileList& order) override;
    /// A twin of a free board tile chosen at random; null when none is free.
    [[nodiscard]] RefPtr<Tile> newTile() override;
    /// The clicked tile matches the current twin.
    [[nodiscard]] bool selectionMatches() override;

    /// The tile in slot (0, 0), or null. Borrowed from the side board.
    [[nodiscard]] Tile* getCurrentTwin() const;
};

} // namespace orv
