#pragma once

#include "engine/core/RefPtr.h"
#include "game/players/AbstractPlayer.h"
#include "game/players/PlayerStats.h"
#include "game/players/TrophyList.h"

#include <array>
#include <cstddef>

namespace orv {

class PropertyNode;

/// The game's player profile: hint switches, chosen looks, progress through
/// the building, unlocks, trophies and statistics. The fields are read and
/// written directly by the scenes, the playing screen and the dialogs; the
/// profile file is the node that `save` fills and `load` reads.
///
///     RefPtr<OrvantaPlayer> player(new OrvantaPlayer("Ada"));
///     player->unlockStuff(0);              // floor 1 completed
///     player->save(*node);
class OrvantaPlayer : public AbstractPlayer {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr std::size_t kHintCount = 29;
    static constexpr std::size_t kFloorItems = 20;
    static constexpr std::size_t kModeCount = 4;
    /// The state values of unlockedStuff and modesUnlocked.
    static constexpr int kLocked = 0;
    static constexpr int kNewlyOpened = 1;
    static constexpr int kOpen = 2;

    /// A new profile called `name`.
    explicit OrvantaPlayer(std::string_view name);
    /// A new profile named by the node's "name" (the players list's entry).
    explicit OrvantaPlayer(const PropertyNode& node);
    /// The object factory's create function ("OrvantaPlayer").
    static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Adds "name" and types the node "OrvantaPlayer".
    void writeIdentity(PropertyNode& node) const override;
    /// Adds the profile's children in their fixed order.
    void save(PropertyNode& node) const override;
    /// Reads the profile; stored vectors longer than their fields are cut
    /// (logged); a mode stored as newly opened loads as open.
    void load(const PropertyNode& node) override;
    /// Drops the held saved-game node.
    virtual void releaseSavedGame();

    /// Records that floor index + 1 was completed (index 0-19): its item
    /// becomes newly unlocked and the game modes it opens become newly opened.
    /// An index outside 0-19 is ignored (logged).
    void unlockStuff(int index);
    /// Hallway levels completed so far (floorReached 1-based).
    [[nodiscard]] int getLevelsCompleted() const;
    /// Every earned trophy becomes seen.
    void markTrophiesSeen();

    bool showHints = true;
    std::array<bool, kHintCount> hintFlags{};
    PlayerStats stats;
    RefPtr<PropertyNode> savedGame;
    RefPtr<TrophyList> trophies;
    bool newHighScorePending = false;
    int background = 0;
    int tileset = 0;
    int floorReached = 0;
    int currentFloor = 1;
    std::array<int, kFloorItems> unlockedStuff{};
    std::array<int, kModeCount> modesUnlocked{kOpen, kLocked, kLocked, kLocked};
};

} // namespace orv
