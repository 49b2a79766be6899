#include "game/players/PlayerManager.h"

#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "game/players/HighScoreManager.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerFiles.h"
#include "game/players/PlayerNotices.h"
#include "tests/players/PlayersFixture.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace orv {
namespace {

namespace fs = std::filesystem;

class PlayerManagerTest : public test::PlayersTest {
protected:
    // A fresh manager on the temporary folder, as at start-up.
    PlayerManager& start(bool scrambled = false, std::string_view version = {}) {
        PlayerManager::destroyInstance();
        PlayerManager& manager = PlayerManager::create(scrambled, version);
        manager.setDataFolder(temp.path().string());
        return manager;
    }

    static OrvantaPlayer& profileOf(PlayerManager& manager, std::string_view name) {
        const std::size_t index = manager.findPlayer(name);
        EXPECT_LT(index, manager.getPlayers().size()) << name;
        return *kindCast<OrvantaPlayer>(manager.getPlayers().at(index).get());
    }

    // Every file under `folder`, relative, with its bytes.
    static std::map<std::string, std::string> filesUnder(const fs::path& folder) {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                found[fs::relative(entry.path(), folder).generic_string()] =
                    test::readFile(entry.path());
            }
        }
        return found;
    }
    // Every file under the data folder.
    std::map<std::string, std::string> files() const { return filesUnder(temp.path()); }

    void writeList(const std::string& body) const {
        test::writeFile(temp.path() / "players" / "players.plrs",
                        "<?xml version=\"1.0\"?><root><Players id=\"players\">" + body +
                            "</Players></root>");
    }
};

TEST_F(PlayerManagerTest, ListsOfNoneOneAndTwoPlayersRoundTrip) {
    for (const bool scrambled : {false, true}) {
        for (const std::size_t count : {0U, 1U, 2U}) {
            fs::remove_all(temp.path() / "players");
            PlayerManager& manager = start(scrambled);
            EXPECT_EQ(manager.getVersion(), "7.1");
            const std::vector<std::string> names{"Bob", "bob"};
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_NE(manager.addPlayer(new OrvantaPlayer(names[i])), nullptr);
            }
            if (count > 0) {
                EXPECT_EQ(manager.getCurrentPlayer()->getName(), "Bob") << "the first is current";
                manager.getCurrentProfile()->floorReached = 4;
            }
            ASSERT_TRUE(manager.savePlayers());

            const std::string suffix = scrambled ? ".!" : "";
            std::set<std::string> expected{"players/players.plrs" + suffix};
            if (count > 0) {
                expected.insert("players/-42-ob.plr" + suffix);
            }
            std::set<std::string> written;
            for (const auto& [name, bytes] : files()) {
                written.insert(name);
            }
            EXPECT_EQ(written, expected) << count << (scrambled ? " scrambled" : "");

            const RefPtr<PropertyStore> store =
                readStore(temp.file("players/players.plrs"), scrambled);
            const PropertyNode* list = store->getNode("players");
            EXPECT_EQ(list->getTypeName(), "Players");
            EXPECT_EQ(list->getValue("version")->getString(), "7.1");
            EXPECT_EQ(list->getVector("playernames")->size(), count);
            EXPECT_EQ(list->getChild("currentplayer") != nullptr, count > 0);

            PlayerManager& again = start(scrambled);
            again.loadPlayers();
            ASSERT_EQ(again.getPlayers().size(), count);
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_EQ(again.getPlayers()[i]->getName(), names[i]);
            }
            if (count > 0) {
                EXPECT_EQ(again.getCurrentPlayer()->getName(), "Bob");
                EXPECT_EQ(again.getCurrentProfile()->floorReached, 4);
            } else {
                EXPECT_EQ(again.getCurrentPlayer(), nullptr);
            }
        }
    }
}

TEST_F(PlayerManagerTest, ListOfAnotherVersionIsSetAsideAndNothingIsLost) {
    PlayerManager& old = start(false, "6.0");
    old.addPlayer(new OrvantaPlayer("Ada"));
    old.getCurrentProfile()->tileset = 3;
    ASSERT_TRUE(old.savePlayers());
    const std::map<std::string, std::string> before = files();

    test::LogCapture log;
    PlayerManager& manager = start();
    manager.loadPlayers();
    EXPECT_TRUE(manager.getPlayers().empty());
    EXPECT_TRUE(log.contains("of version \"6.0\", not \"7.1\""));
    ASSERT_TRUE(manager.savePlayers());

    const std::map<std::string, std::string> after = files();
    std::size_t keptAside = 0;
    for (const auto& [name, bytes] : after) {
        if (name.rfind("players/players.plrs.unreadable-", 0) == 0) {
            EXPECT_EQ(bytes, before.at("players/players.plrs"));
            ++keptAside;
        }
    }
    EXPECT_EQ(keptAside, 1U);
    EXPECT_EQ(after.at("players/-41-da.plr"), before.at("players/-41-da.plr"));
}

TEST_F(PlayerManagerTest, UnreadableListAndProfileAreSetAside) {
    test::QuietLog quiet;
    test::writeFile(temp.path() / "players" / "players.plrs.!", "<root><broken");
    PlayerManager& manager = start(true);
    manager.loadPlayers();
    EXPECT_TRUE(manager.getPlayers().empty());
    ASSERT_TRUE(manager.addPlayer(new OrvantaPlayer("Ada")));
    ASSERT_TRUE(manager.savePlayers());

    // A profile of another version, written as that version writes it (so
    // that it reads and only its version stops it), then one that does not
    // descramble.
    fs::remove(temp.path() / "players" / "-41-da.plr.!");
    PlayerManager& older = start(true, "1");
    ASSERT_TRUE(older.addPlayer(new OrvantaPlayer("Ada")));
    older.getCurrentProfile()->modesUnlocked[0] = 5;
    ASSERT_TRUE(older.savePlayer(*older.getCurrentPlayer()));
    const std::string olderProfile = test::readFile(temp.path() / "players" / "-41-da.plr.!");
    struct Case {
        std::string profile;
        const char* logged;
    };
    const Case cases[] = {
        {olderProfile, "the profile of Ada is of version \"1\", not \"7.1\""},
        {"plain text", "the profile of Ada cannot be read"},
    };
    for (const Case& c : cases) {
        test::writeFile(temp.path() / "players" / "-41-da.plr.!", c.profile);
        test::LogCapture log;
        PlayerManager& again = start(true);
        again.loadPlayers();
        ASSERT_NE(again.getCurrentProfile(), nullptr);
        EXPECT_EQ(again.getCurrentProfile()->modesUnlocked[0], 2) << "defaults stand";
        EXPECT_TRUE(log.contains(c.logged)) << c.logged;
    }
    std::multiset<std::string> aside;
    for (const auto& [name, bytes] : files()) {
        if (name.find(".unreadable-") != std::string::npos) {
            aside.insert(bytes);
        }
    }
    EXPECT_EQ(aside.count("<root><broken"), 1U);
    EXPECT_EQ(aside.count(olderProfile), 1U);
    EXPECT_EQ(aside.count("plain text"), 1U);
    EXPECT_EQ(aside.size(), 3U);
}

TEST_F(PlayerManagerTest, FilesOutOfReachOrThatCannotBeSetAsideAreNeverSavedOver) {
    const test::PermissionsHold permissions;
    ASSERT_TRUE(permissions.isHolding());
    const fs::path players = temp.path() / "players";
    const fs::path list = players / "players.plrs";
    const fs::path profile = players / "-41-da.plr";
    {
        PlayerManager& first = start();
        ASSERT_TRUE(first.addPlayer(new OrvantaPlayer("Ada")));
        first.getCurrentProfile()->floorReached = 6;
        ASSERT_TRUE(first.savePlayers());
    }
    const std::string listBytes = test::readFile(list);
    const std::string profileBytes = test::readFile(profile);
    const auto openUp = [&] {
        fs::permissions(players, fs::perms::owner_all);
        fs::permissions(list, fs::perms::owner_read | fs::perms::owner_write);
        fs::permissions(profile, fs::perms::owner_read | fs::perms::owner_write);
    };
    struct Case {
        const char* what;
        bool damaged;                  // the profile is broken
        std::function<void()> lock;    // makes a file out of reach for the load
        std::function<void()> between; // between the load and the save
        PlayerNoticeKind told;
        const char* toldFile;
    };
    const Case cases[] = {
        {"a players list that cannot be opened", false,
         [&] { fs::permissions(list, fs::perms::none); }, [] {}, PlayerNoticeKind::FileOutOfReach,
         "players/players.plrs"},
        {"a profile that cannot be opened", false,
         [&] { fs::permissions(profile, fs::perms::none); }, [] {},
         PlayerNoticeKind::FileOutOfReach, "players/-41-da.plr"},
        // The folder is read-only while the damaged profile is found, so it
        // cannot be renamed aside; the folder is writable again at the save.
        {"a damaged profile that cannot be set aside", true,
         [&] { fs::permissions(players, fs::perms::owner_read | fs::perms::owner_exec); }, openUp,
         PlayerNoticeKind::FileKept, "players/-41-da.plr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        openUp();
        test::writeFile(list, listBytes);
        test::writeFile(profile, c.damaged ? std::string("<root><broken") : profileBytes);
        const std::map<std::string, std::string> before = files();
        c.lock();
        clearPlayerNotices();
        test::QuietLog quiet;

        PlayerManager& manager = start();
        manager.loadPlayers();
        c.between();
        if (manager.getPlayers().empty()) {
            ASSERT_TRUE(manager.addPlayer(new OrvantaPlayer("Bo")));
        }
        EXPECT_FALSE(manager.savePlayers()) << "the protected file is not written";
        openUp();
        const std::map<std::string, std::string> after = files();
        for (const auto& [name, bytes] : before) {
            if (name.starts_with("players/players.plrs") || name.starts_with("players/-41-da")) {
                EXPECT_EQ(after.at(name), bytes) << name << " was saved over";
            }
        }
        for (const auto& [name, bytes] : after) {
            EXPECT_EQ(name.find(".unreadable-"), std::string::npos) << name << " was moved";
        }
        const std::optional<PlayerNotice> told = takePlayerNotice();
        ASSERT_TRUE(told);
        EXPECT_EQ(told->kind, c.told);
        EXPECT_TRUE(told->file.ends_with(c.toldFile)) << told->file;
        EXPECT_FALSE(takePlayerNotice()) << "one notice for one fault";
    }
}

TEST_F(PlayerManagerTest, ThePlayerIsToldOfWhatWasSetAside) {
    clearPlayerNotices();
    test::QuietLog quiet;
    test::writeFile(temp.path() / "players" / "players.plrs", "<root><broken");
    test::writeFile(temp.path() / "players" / "-41-da.plr", "<root><broken");
    PlayerManager& manager = start();
    manager.loadPlayers();
    ASSERT_TRUE(manager.addPlayer(new OrvantaPlayer("Ada")));
    std::vector<PlayerNotice> told;
    while (std::optional<PlayerNotice> notice = takePlayerNotice()) {
        told.push_back(*notice);
    }
    ASSERT_EQ(told.size(), 2U);
    EXPECT_EQ(told[0].kind, PlayerNoticeKind::PlayersListSetAside);
    EXPECT_NE(told[0].file.find("players.plrs.unreadable-"), std::string::npos) << told[0].file;
    EXPECT_EQ(told[1].kind, PlayerNoticeKind::ProfileSetAside);
    EXPECT_EQ(told[1].player, "Ada");
    EXPECT_NE(told[1].file.find("-41-da.plr.unreadable-"), std::string::npos) << told[1].file;
}

TEST_F(PlayerManagerTest, CurrentPlayerFallsBackToTheFirst) {
    const std::string entries =
        "<Vector id=\"playernames\"><OrvantaPlayer name=\"Ada\"/><OrvantaPlayer name=\"Cy\"/>"
        "</Vector>";
    struct Case {
        std::string current;
        std::string expected;
    };
    for (const Case& c :
         {Case{"<String id=\"currentplayer\">Cy</String>", "Cy"},
          Case{"<String id=\"currentplayer\">Nobody</String>", "Ada"}, Case{"", "Ada"}}) {
        test::QuietLog quiet;
        writeList("<String id=\"version\">7.1</String>" + c.current + entries);
        PlayerManager& manager = start();
        manager.loadPlayers();
        ASSERT_NE(manager.getCurrentPlayer(), nullptr) << c.current;
        EXPECT_EQ(manager.getCurrentPlayer()->getName(), c.expected) << c.current;
    }
}

TEST_F(PlayerManagerTest, OnlyPlayerEntriesWithUsableNamesAreRead) {
    test::LogCapture log;
    writeList("<String id=\"version\">7.1</String><Vector id=\"playernames\">"
              "<Sprite name=\"Imp\"/><OrvantaPlayer name=\"\"/>"
              "<OrvantaPlayer name=\"" +
              std::string(kMaxPlayerNameBytes + 1, 'x') +
              "\"/>"
              "<OrvantaPlayer name=\"Ada\"/><OrvantaPlayer name=\"Ada\"/><String>Bo</String>"
              "</Vector>");
    PlayerManager& manager = start();
    manager.loadPlayers();
    ASSERT_EQ(manager.getPlayers().size(), 1U);
    EXPECT_EQ(manager.getPlayers()[0]->getName(), "Ada");
    EXPECT_TRUE(log.contains("\"Imp\" of type \"Sprite\" is no player"));
    EXPECT_TRUE(log.contains("listed twice"));
}

TEST_F(PlayerManagerTest, AddingRefusesUnusableAndTakenNames) {
    test::QuietLog quiet;
    PlayerManager& manager = start();
    RefPtr<OrvantaPlayer> kept(new OrvantaPlayer("Bob"));
    EXPECT_EQ(manager.addPlayer(kept.get()), kept.get());
    EXPECT_EQ(manager.addPlayer(new OrvantaPlayer("Bob")), nullptr);
    EXPECT_EQ(manager.addPlayer(new OrvantaPlayer("")), nullptr);
    EXPECT_EQ(manager.addPlayer(new OrvantaPlayer(std::string(kMaxPlayerNameBytes + 1, 'a'))),
              nullptr);
    std::string accented;
    for (std::size_t i = 0; i < kMaxPlayerNameBytes / 2; ++i) {
        accented += "\xC3\xA9";
    }
    ASSERT_NE(manager.addPlayer(new OrvantaPlayer(accented)), nullptr);
    ASSERT_NE(manager.addPlayer(new OrvantaPlayer("bob")), nullptr) << "Bob and bob differ";
    EXPECT_EQ(manager.getPlayers().size(), 3U);
    ASSERT_TRUE(manager.setCurrentPlayer(manager.getPlayers()[1].get()));
    EXPECT_TRUE(manager.savePlayers()) << "a long accented name still saves";
    EXPECT_TRUE(fs::exists(temp.path() / "players" / (makePlayerFileStem(accented) + ".plr")));
}

TEST_F(PlayerManagerTest, AProfileKeptUnderANameIsTakenNotOverwritten) {
    PlayerManager& first = start();
    first.addPlayer(new OrvantaPlayer("Ada"));
    first.getCurrentProfile()->background = 5;
    ASSERT_TRUE(first.savePlayers());
    fs::remove(temp.path() / "players" / "players.plrs");

    PlayerManager& manager = start();
    manager.loadPlayers();
    manager.addPlayer(new OrvantaPlayer("Ada"));
    EXPECT_EQ(manager.getCurrentProfile()->background, 5);
}

TEST_F(PlayerManagerTest, OnlyTheCurrentProfileIsWritten) {
    PlayerManager& manager = start();
    manager.addPlayer(new OrvantaPlayer("Ada"));
    manager.addPlayer(new OrvantaPlayer("Cy"));
    ASSERT_TRUE(manager.setCurrentPlayer(manager.getPlayers()[1].get()));
    ASSERT_TRUE(manager.savePlayers());
    const std::map<std::string, std::string> before = files();
    ASSERT_EQ(before.size(), 3U) << "the list and both profiles (Ada's on the switch)";

    manager.getCurrentProfile()->tileset = 2;
    profileOf(manager, "Ada").tileset = 9;
    ASSERT_TRUE(manager.savePlayers());
    const std::map<std::string, std::string> after = files();
    EXPECT_EQ(after.at("players/-41-da.plr"), before.at("players/-41-da.plr"));
    EXPECT_NE(after.at("players/-43-y.plr"), before.at("players/-43-y.plr"));

    // Switching saves the old profile and loads the new one from its file.
    ASSERT_TRUE(manager.setCurrentPlayer(manager.getPlayers()[0].get()));
    EXPECT_EQ(manager.getCurrentProfile()->tileset, 0);
    const RefPtr<OrvantaPlayer> stranger(new OrvantaPlayer("Stranger"));
    EXPECT_FALSE(manager.setCurrentPlayer(stranger.get())) << "only a listed player";
}

TEST_F(PlayerManagerTest, DeletingLeavesNoFilesAndMovesTheCurrentPlayer) {
    PlayerManager& manager = start(true);
    manager.addPlayer(new OrvantaPlayer("Ada"));
    manager.addPlayer(new OrvantaPlayer("Cy"));
    RefPtr<PropertyStore> game(new PropertyStore());
    game->add(new PropertyNode("game", "GameClassic"));
    ASSERT_TRUE(manager.saveSavedGame("Ada", "0", *game));
    ASSERT_TRUE(manager.saveSavedGame("Cy", "2", *game));
    ASSERT_TRUE(manager.setCurrentPlayer(manager.getPlayers()[1].get()));
    manager.getCurrentProfile()->tileset = 3;
    ASSERT_TRUE(manager.setCurrentPlayer(manager.getPlayers()[0].get()));
    ASSERT_TRUE(manager.savePlayers());

    EXPECT_TRUE(manager.deletePlayer("Ada"));
    EXPECT_FALSE(manager.deletePlayer("Ada"));
    ASSERT_NE(manager.getCurrentPlayer(), nullptr);
    EXPECT_EQ(manager.getCurrentPlayer()->getName(), "Cy");
    EXPECT_EQ(manager.getCurrentProfile()->tileset, 3) << "the new current profile is loaded";
    std::set<std::string> names;
    for (const auto& [name, bytes] : files()) {
        names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"players/players.plrs.!", "players/-43-y.plr.!",
                                            "savegames/-43-y/2.sav.!"}));
    EXPECT_FALSE(fs::exists(temp.path() / "savegames" / "-41-da"));

    EXPECT_TRUE(manager.deletePlayer("Cy"));
    EXPECT_EQ(manager.getCurrentPlayer(), nullptr);
    names.clear();
    for (const auto& [name, bytes] : files()) {
        names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"players/players.plrs.!"}));
}

TEST_F(PlayerManagerTest, SavedGames) {
    test::QuietLog quiet;
    PlayerManager& manager = start(true);
    RefPtr<PropertyStore> game(new PropertyStore());
    game->add(new PropertyValue("score", 1200));
    EXPECT_FALSE(manager.savedGameExists("Ada", "1"));
    ASSERT_TRUE(manager.saveSavedGame("Ada", "1", *game));
    EXPECT_TRUE(fs::exists(temp.path() / "savegames" / "-41-da" / "1.sav.!"));
    EXPECT_TRUE(manager.savedGameExists("Ada", "1"));

    RefPtr<PropertyStore> loaded(new PropertyStore());
    ASSERT_TRUE(manager.loadSavedGame("Ada", "1", *loaded));
    EXPECT_EQ(loaded->getValue("score")->getInt(), 1200);
    EXPECT_FALSE(manager.loadSavedGame("Ada", "2", *loaded));
    for (const char* id : {"../1", "", "1/2", "x"}) {
        EXPECT_FALSE(manager.saveSavedGame("Ada", id, *game)) << id;
        EXPECT_FALSE(manager.savedGameExists("Ada", id)) << id;
    }
    manager.deleteSavedGame("Ada", "1");
    EXPECT_FALSE(manager.savedGameExists("Ada", "1"));
}

// Writes beyond `bytes` fail while it lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        const rlimit limit{bytes, previous_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(PlayerManagerTest, AnInterruptedSaveLeavesEachFileOldOrNew) {
    const fs::path data = temp.path() / "data";
    const fs::path reference = temp.path() / "reference";
    const RefPtr<PlayerManager> writer(&start(true));
    PlayerManager& players = *writer;
    players.setDataFolder(data.string());
    HighScoreManager& scores = HighScoreManager::create(true, "");
    scores.setDataFolder(data.string());
    const RefPtr<HighScoreTable> table(new HighScoreTable(5, true));
    scores.setTable("1_0_0", table.get());
    players.addPlayer(new OrvantaPlayer("Ada"));
    table->addScore(new OrvantaScoreEntry("Ada", 100, true, 0));
    ASSERT_TRUE(players.savePlayers());
    std::map<std::string, std::string> before = filesUnder(data);
    ASSERT_EQ(before.size(), 3U) << "the list, the profile and the scores";
    const std::size_t profileSize = before.at("players/-41-da.plr.!").size();

    players.addPlayer(new OrvantaPlayer("Cy"));
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{1}, std::size_t{100}, profileSize / 2, profileSize - 1}) {
        players.getCurrentProfile()->stats.numMatches = 1000 + static_cast<int>(cut);
        // What a save that is not cut short writes.
        players.setDataFolder(reference.string());
        scores.setDataFolder(reference.string());
        table->addScore(new OrvantaScoreEntry("Cy", 200 + static_cast<int>(cut), true, 1));
        ASSERT_TRUE(players.savePlayers());
        const std::map<std::string, std::string> complete = filesUnder(reference);
        players.setDataFolder(data.string());
        scores.setDataFolder(data.string());

        test::QuietLog quiet;
        bool saved = true;
        {
            const FileSizeLimit limit(static_cast<rlim_t>(cut));
            saved = players.savePlayers();
            saved = scores.save() && saved;
        }
        EXPECT_FALSE(saved) << cut;
        const std::optional<PlayerNotice> told = takePlayerNotice();
        if (cut == 0) {
            ASSERT_TRUE(told) << "the player is told that the progress was not saved";
            EXPECT_EQ(told->kind, PlayerNoticeKind::ProgressNotSaved);
            EXPECT_NE(told->file.find("players"), std::string::npos) << told->file;
        } else {
            EXPECT_FALSE(told) << "told once, not at every save, at " << cut;
        }
        const std::map<std::string, std::string> now = filesUnder(data);
        EXPECT_EQ(now.size(), before.size()) << "no temporary is left behind at " << cut;
        for (const auto& [name, bytes] : now) {
            EXPECT_TRUE(bytes == before[name] || bytes == complete.at(name))
                << name << " is neither the old nor the new file at " << cut;
        }
        EXPECT_EQ(now.at("players/-41-da.plr.!"), before.at("players/-41-da.plr.!")) << cut;

        PlayerManager& reader = start(true);
        reader.setDataFolder(data.string());
        reader.loadPlayers();
        ASSERT_NE(reader.getCurrentProfile(), nullptr) << cut;
        EXPECT_EQ(reader.getCurrentProfile()->stats.numMatches, 0) << cut;
        PlayerManager::destroyInstance();
        before = now;
    }
}

} // namespace
} // namespace orv
