#pragma once

#include <string>
#include <string_view>

namespace orv {

class PropertyNode;
class PropertyStore;

/// What the rules ask of the players' records and the usage record: the
/// current player's trophies, tutorial hints, match count and best scores,
/// the saved games, and the usage record's event list. The players'
/// library implements it and installs it with `Game::setServices`; without
/// it the rules talk to `NullGameServices` (no player, no usage record).
///
/// Every call is made on the main thread from inside a rule operation.
class GameServices {
public:
    GameServices() = default;
    GameServices(const GameServices&) = delete;
    GameServices& operator=(const GameServices&) = delete;
    virtual ~GameServices() = default;

    /// Earns trophy `number` for the current player: true when its state went
    /// from not earned to earned (the rules then tell the screen); false when
    /// it was earned before or there is no player.
    virtual bool awardTrophy(int number) = 0;
    /// Raises the current player's total match count by one; the new total
    /// (0 without a player).
    virtual int countPlayerMatch() = 0;
    /// Whether one-time tutorial hint `index` is still pending for the current
    /// player (the player's hints are on and the hint's flag is set).
    [[nodiscard]] virtual bool isTutorialHintPending(int index) = 0;
    /// Marks tutorial hint `index` done when it is pending.
    virtual void completeTutorialHint(int index) = 0;
    /// The current player's best score in hallway room (floor, room).
    [[nodiscard]] virtual int getBestHallwayScore(int floor, int room) = 0;

    /// Loads the current player's saved game `savedGameId` into `store`;
    /// false when there is none or it cannot be read.
    virtual bool loadSavedGame(int savedGameId, PropertyStore& store) = 0;
    /// Keeps the "game" node of a resumed game in the current player's
    /// profile (the playing screen reads its bars' states from there).
    virtual void keepSavedGameNode(PropertyNode& game) = 0;

    /// Whether a usage record is kept.
    [[nodiscard]] virtual bool hasUsageRecord() = 0;
    /// Appends `record` to the usage record's current playing session,
    /// beginning one first when the record asks for a new session.
    virtual void addUsageRecord(PropertyNode& record) = 0;
    /// The current player's name; empty when the players list is empty.
    [[nodiscard]] virtual std::string getPlayerName() = 0;
};

/// No player and no usage record: no trophies, no saved games, nothing
/// recorded.
class NullGameServices : public GameServices {
public:
    bool awardTrophy(int /*number*/) override { return false; }
    int countPlayerMatch() override { return 0; }
    bool isTutorialHintPending(int /*index*/) override { return false; }
    void completeTutorialHint(int /*index*/) override {}
    int getBestHallwayScore(int /*floor*/, int /*room*/) override { return 0; }
    bool loadSavedGame(int /*savedGameId*/, PropertyStore& /*store*/) override { return false; }
    void keepSavedGameNode(PropertyNode& /*game*/) override {}
    bool hasUsageRecord() override { return false; }
    void addUsageRecord(PropertyNode& /*record*/) override {}
    std::string getPlayerName() override { return {}; }
};

} // namespace orv
