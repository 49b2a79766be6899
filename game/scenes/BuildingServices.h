#pragma once

#include <string>

namespace orv {

/// What the building scenes ask of the players' records and of the program:
/// saving the players, the current player's name, the lobby's one-time host
/// tip, the usage record's playing session and leaving the game. The program
/// installs the real services at start-up (`setBuildingServices`); until then,
/// and in tests, the scenes talk to `NullBuildingServices` (no players,
/// nothing saved, quitting does nothing).
///
/// Every call is made on the main thread from a scene or dialog operation.
class BuildingServices {
public:
    BuildingServices() = default;
    BuildingServices(const BuildingServices&) = delete;
    BuildingServices& operator=(const BuildingServices&) = delete;
    virtual ~BuildingServices() = default;

    /// Writes the players list and the current player's profile.
    virtual void savePlayers() = 0;
    /// The number of players in the players list.
    [[nodiscard]] virtual int getPlayerCount() = 0;
    /// The current player's name (UTF-8); empty without players.
    [[nodiscard]] virtual std::string getCurrentPlayerName() = 0;
    /// The lobby's first host tip: true when the current player's hints are
    /// on and the tip's one-time flag was set. The flag is cleared either way.
    virtual bool takeLobbyTip() = 0;
    /// Begins a playing session of the usage record in `gameMode` (0 for the
    /// building) with `playerCount` players on file.
    virtual void beginSession(int gameMode, int playerCount) = 0;
    /// Whether the current player keeps a saved game of `gameMode`.
    [[nodiscard]] virtual bool hasSavedGame(int gameMode) = 0;
    /// Drops the saved-game node the current player's profile holds.
    virtual void releaseSavedGame() = 0;
    /// The player confirmed leaving the game: record it and end the main loop.
    virtual void quitGame() = 0;
};

/// No players and no usage record: nothing is saved or recorded, quitting
/// does nothing.
class NullBuildingServices : public BuildingServices {
public:
    void savePlayers() override {}
    int getPlayerCount() override { return 0; }
    std::string getCurrentPlayerName() override { return {}; }
    bool takeLobbyTip() override { return false; }
    void beginSession(int /*gameMode*/, int /*playerCount*/) override {}
    bool hasSavedGame(int /*gameMode*/) override { return false; }
    void releaseSavedGame() override {}
    void quitGame() override {}
};

/// Installs the services the scenes use (borrowed: they must outlive every
/// scene call; null puts the null services back).
void setBuildingServices(BuildingServices* services);
/// The installed services, or the null services.
[[nodiscard]] BuildingServices& getBuildingServices();

} // namespace orv
