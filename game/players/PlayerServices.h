#pragma once

#include "game/board/GameServices.h"

namespace orv {

/// What the rules ask of the players, answered from the current player of
/// the player manager and from the usage record. Without a manager, a
/// current player or a usage record it answers as `NullGameServices` does.
/// Start-up installs one with `Game::setServices` and removes it at exit.
class PlayerServices : public GameServices {
public:
    /// Trophy `number` of the current player goes from not earned to earned.
    bool awardTrophy(int number) override;
    int countPlayerMatch() override;
    [[nodiscard]] bool isTutorialHintPending(int index) override;
    void completeTutorialHint(int index) override;
    /// 0 for a room outside floors 1-20 and rooms 1-5.
    [[nodiscard]] int getBestHallwayScore(int floor, int room) override;
    bool loadSavedGame(int savedGameId, PropertyStore& store) override;
    void keepSavedGameNode(PropertyNode& game) override;
    [[nodiscard]] bool hasUsageRecord() override;
    /// Begins a session of game mode -1 first when none is open.
    void addUsageRecord(PropertyNode& record) override;
    [[nodiscard]] std::string getPlayerName() override;
};

} // namespace orv
