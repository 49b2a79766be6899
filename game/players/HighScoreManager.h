#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/ArchiveMode.h"
#include "game/players/HighScoreTable.h"

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace orv {

/// The process-wide keeper of the named high-score tables, stored together in
/// "players/scores.xml" of the shared data folder (with ".!" when scrambled).
///
///     HighScoreManager& scores = HighScoreManager::create(true, "");
///     scores.load();
///     HighScoreTable* table = getHighScoreTable("1_0_0", true);
///     table->addScore(new OrvantaScoreEntry("Ada", 4200, true, 2));  // saved at once
///
/// The tables are saved whenever a player's score enters one (a crash later
/// in the session loses none) and at exit. A scores file that does not read
/// or is of another version is set aside under a dated name before it can be
/// saved over (see PlayerManager). Main thread only.
class HighScoreManager : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Creates the singleton unless it exists, with `scrambled` files and
    /// `version`, or the String setting "HIGHSCORES_VERSION" when empty.
    static HighScoreManager& create(bool scrambled, std::string_view version);
    /// The singleton, or null.
    [[nodiscard]] static HighScoreManager* get();
    static void destroyInstance();

    /// Reads the tables of a "highscoretables" node (each replaces the table
    /// of its name); the manager's version becomes the stored one.
    virtual void readTables(const PropertyNode& node);
    /// Writes "version" and "scoretables" (one "ScoreTable" node per table,
    /// in name order).
    virtual void writeTables(PropertyNode& node) const;

    /// Reads the scores file when it is there and of this version.
    void load();
    /// Writes the scores file crash-safe. False on failure (logged).
    [[nodiscard]] bool save();

    /// Stores `table` (not null) under `name`, releasing one stored before.
    void setTable(std::string_view name, HighScoreTable* table);
    /// The table called `name`, or null. Borrowed from the manager.
    [[nodiscard]] HighScoreTable* getTable(std::string_view name) const;
    [[nodiscard]] const std::map<std::string, RefPtr<HighScoreTable>, std::less<>>&
    getTables() const {
        return tables_;
    }

    [[nodiscard]] const std::string& getVersion() const { return version_; }
    [[nodiscard]] ArchiveMode getFileMode() const;
    /// The scores file's path, without ".!".
    [[nodiscard]] std::string getFilePath() const;
    /// Puts the file under `folder` instead of the shared data folder (tests,
    /// tools); empty restores it.
    void setDataFolder(std::string_view folder) { dataFolder_ = folder; }

private:
    HighScoreManager(bool scrambled, std::string version);
    ~HighScoreManager() override;

    std::string version_;
    std::map<std::string, RefPtr<HighScoreTable>, std::less<>> tables_;
    bool scrambled_ = false;
    std::string dataFolder_;
    bool fileProtected_ = false;
};

/// The name of the hidden shooting game's table (5 rows, best first, made
/// and filled on demand like the others).
inline constexpr std::string_view kMiniGameScoreTable = "minigame";

/// The manager's table called `name`; a new descending table of 5 rows is
/// stored under it when there is none. With `fill`, a table that does not
/// hold exactly 5 rows gets the invented rows (`fillDefaultHighScores`).
/// Borrowed from the manager; null when the manager does not exist.
HighScoreTable* getHighScoreTable(std::string_view name, bool fill);
/// Offers five invented rows to `table`: scores 1,000 to 5,000 at levels 0 to
/// 4, named from the Vector setting "CTEXT_HIGHSCORE_NAMES" by draws of the
/// process-wide random generator (up to eleven draws each to avoid a name
/// used before). Without names the rows have empty names.
void fillDefaultHighScores(HighScoreTable& table);

} // namespace orv
