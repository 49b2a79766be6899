#pragma once

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

} // namespace orv
