#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/ArchiveMode.h"

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class AbstractPlayer;
class OrvantaPlayer;
class PropertyNode;
class PropertyStore;

/// The process-wide keeper of the players: the ordered list of profiles, the
/// current player, and the players list, profile and saved-game files in the
/// shared data folder ("players/players.plrs", "players/<name>.plr",
/// "savegames/<name>/<id>.sav", each with ".!" after it when scrambled).
///
///     PlayerManager& players = PlayerManager::create(true, "");
///     players.loadPlayers();
///     if (players.getCurrentPlayer() == nullptr) { ... ask for a name ... }
///     players.addPlayer(new OrvantaPlayer("Ada"));
///     (void)players.savePlayers();
///
/// The players' files are the one thing a player cannot get back, so none is
/// ever saved over while it holds what could not be read: a players list,
/// profile or scores file that does not read, parse or carry this version is
/// renamed aside under a dated name (logged) before anything is written in
/// its place; one that cannot be renamed, or cannot be opened at all (no
/// permission: it is not damaged, so it is not moved either), is not written
/// at all. Every file is written crash-safe (a temporary renamed over the old
/// file), so an interrupted save leaves the old file whole. Each of these
/// faults, and a save that fails, is posted for the player (PlayerNotices).
///
/// Main thread only.
class PlayerManager : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Creates the singleton unless it exists (holding a reference of its
    /// own) with `scrambled` files and `version`, or the String setting
    /// "PLAYERS_VERSION" when `version` is empty; returns it.
    static PlayerManager& create(bool scrambled, std::string_view version);
    /// The singleton, or null before `create` and after `destroyInstance`.
    [[nodiscard]] static PlayerManager* get();
    /// Drops the singleton's reference (exit sequence, tests).
    static void destroyInstance();

    /// Fills the list from a players-list node: an entry of another type than
    /// "OrvantaPlayer", with an empty or over-long name, or naming a player
    /// listed before is skipped (logged). The player named "currentplayer"
    /// becomes current; the first one when that names nobody.
    virtual void readList(const PropertyNode& node);
    /// Writes "version", "currentplayer" (with a current player) and
    /// "playernames" into `node`.
    virtual void writeList(PropertyNode& node) const;

    /// Reads the players list and the current player's profile.
    void loadPlayers();
    /// Writes the players list and the current player's profile (only that
    /// one). False when a file could not be written (logged; the old file
    /// stays whole).
    [[nodiscard]] bool savePlayers();
    /// Reads `player`'s profile into it when the file is there and of this
    /// version; a file that is not is set aside and the profile keeps its
    /// values.
    void loadPlayer(AbstractPlayer& player);
    /// Writes `player`'s profile. False on failure (logged).
    [[nodiscard]] bool savePlayer(const AbstractPlayer& player);

    /// Appends `player` (the list takes a reference) and returns it; the
    /// first player becomes current (its profile is loaded, so a profile kept
    /// under that name is never saved over with a new one). Null, with the
    /// player released when nothing else holds it, when its name is empty,
    /// longer than kMaxPlayerNameBytes or taken.
    AbstractPlayer* addPlayer(AbstractPlayer* player);
    /// The position of the player called `name` (names are the same when
    /// their file names are), or the list's size when there is none.
    [[nodiscard]] std::size_t findPlayer(std::string_view name) const;
    [[nodiscard]] bool hasPlayer(std::string_view name) const;
    /// Removes the player called `name`, its profile and its saved games, and
    /// saves the list. When it was the current player, the first remaining
    /// player becomes current (none when the list is empty). False when there
    /// is no such player.
    bool deletePlayer(std::string_view name);

    /// The current player, or null while the list is empty. Borrowed from the
    /// list.
    [[nodiscard]] AbstractPlayer* getCurrentPlayer() const { return currentPlayer_; }
    /// The current player as the game's profile, or null.
    [[nodiscard]] OrvantaPlayer* getCurrentProfile() const;
    /// Makes the listed `player` current: the old current profile is saved and
    /// its held saved game released, then the new one's profile is loaded.
    /// False, changing nothing, when `player` is not in the list.
    bool setCurrentPlayer(AbstractPlayer* player);
    [[nodiscard]] const std::vector<RefPtr<AbstractPlayer>>& getPlayers() const { return players_; }

    /// Saved game `gameId` (decimal text) of the player called
    /// `playerName`: each is false (logged) for a game id that is not a
    /// decimal number or a name without a file name.
    [[nodiscard]] bool saveSavedGame(std::string_view playerName, std::string_view gameId,
                                     PropertyStore& store);
    [[nodiscard]] bool loadSavedGame(std::string_view playerName, std::string_view gameId,
                                     PropertyStore& store);
    [[nodiscard]] bool savedGameExists(std::string_view playerName, std::string_view gameId);
    void deleteSavedGame(std::string_view playerName, std::string_view gameId);

    [[nodiscard]] const std::string& getVersion() const { return version_; }
    [[nodiscard]] bool isScrambled() const { return scrambled_; }
    [[nodiscard]] ArchiveMode getFileMode() const;
    /// The folder the files go under; the shared data folder unless set.
    [[nodiscard]] std::string getDataFolder() const;
    /// Puts the files under `folder` instead of the shared data folder
    /// (tests, tools); empty restores the shared data folder.
    void setDataFolder(std::string_view folder) { dataFolder_ = folder; }

    /// Paths without the ".!" of the scrambled mode; empty for a name
    /// without a file name.
    [[nodiscard]] std::string getListPath() const;
    [[nodiscard]] std::string getProfilePath(std::string_view playerName) const;
    [[nodiscard]] std::string getSavedGamesFolder(std::string_view playerName) const;
    /// The saved game's file as stored on disk (with the ".!" of the
    /// scrambled mode); empty for an unusable id or name.
    [[nodiscard]] std::string getSavedGameFile(std::string_view playerName,
                                               std::string_view gameId) const;

private:
    PlayerManager(bool scrambled, std::string version);
    ~PlayerManager() override;

    // Makes `player` current and loads its profile.
    void makeCurrent(AbstractPlayer* player);
    // The saved game's path, or empty for an unusable id or name.
    [[nodiscard]] std::string getSavedGamePath(std::string_view playerName,
                                               std::string_view gameId) const;
    // Sets a file that cannot be used aside; remembers it when it cannot be
    // moved, so that it is never saved over. The player is told either way;
    // `playerName` names the profile's player, empty for the players list.
    void setAside(const std::string& path, std::string_view reason, std::string_view playerName);
    // Remembers a file that cannot be opened, so that it is never saved
    // over, and tells the player.
    void keepOutOfReach(const std::string& path);
    // Saves `store` to `path` unless that file is protected; a failed save
    // is told to the player.
    [[nodiscard]] bool saveStore(PropertyStore& store, const std::string& path);

    std::vector<RefPtr<AbstractPlayer>> players_;
    std::string version_;
    std::string playersFolderName_ = "players";
    std::string savedGamesFolderName_ = "savegames";
    AbstractPlayer* currentPlayer_ = nullptr;
    bool scrambled_ = false;
    std::string dataFolder_;
    std::set<std::string> protectedFiles_;
};

} // namespace orv
