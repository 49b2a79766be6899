#pragma once

#include "game/dialogs/DialogHooks.h"
#include "game/scenes/BuildingServices.h"

namespace orv {

/// The building's services as the program provides them: the players come
/// from the player manager, the playing sessions go to the usage record,
/// and leaving the game goes through `OrvantaMain::quit`. Without a player
/// manager they answer as no players.
class AppServices : public BuildingServices {
public:
    void savePlayers() override;
    int getPlayerCount() override;
    std::string getCurrentPlayerName() override;
    bool takeLobbyTip() override;
    void beginSession(int gameMode, int playerCount) override;
    bool hasSavedGame(int gameMode) override;
    void releaseSavedGame() override;
    void quitGame() override;
};

/// The current player as the game dialogs see it, from the player manager:
/// the name, the hint switch and the bests of a level's place. Without a
/// player manager or a current player it answers as no player.
class AppPlayerHook : public PlayerHook {
public:
    std::optional<std::wstring> getPlayerName() override;
    std::optional<bool> getShowHints() override;
    void setShowHints(bool show) override;
    BestResult getBest(const Level& level) override;
    bool isBestBetweenSilverAndGold(const Level& level) override;
};

} // namespace orv
