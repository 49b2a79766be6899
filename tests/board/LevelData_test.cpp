// Every level the game ships, read from the built program folder the way the
// game reads it (media.dat when it is there): each level of each level file
// must load, name layouts that exist and parse, fit its game type with every
// layout it can reach and after every step of its progressions, hold the keys
// its game type needs, and deal boards that can be cleared. A deal is proved
// by playing its planned order through the rule engine's own clicks until
// the board is empty. Failures name the level file and the level.

#include "engine/core/RandomGenerator.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/FileArchive.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/GameView.h"
#include "game/board/LevelSets.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"
#include "tools/support/ToolStartUp.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orv {
namespace {

namespace fs = std::filesystem;

// The four areas of the building, one level file each.
enum class Area { Hallway, Casino, Roof, RecRoom };

void PrintTo(Area area, std::ostream* out) {
    constexpr std::array<std::string_view, 4> kNames{"hallway", "casino", "roof", "recroom"};
    *out << kNames.at(static_cast<std::size_t>(area));
}

// One level of a level file: where it is (file and place, for messages), its
// node as the file holds it, and how the level sets make it.
struct Entry {
    std::string where;
    PropertyNode* node = nullptr;
    std::function<RefPtr<Level>()> make;
};

// A screen whose hit test finds the tile the test names.
class ClickView : public NullGameView {
public:
    Tile* tileAt(const Layout& /*layout*/, int /*x*/, int /*y*/) override { return target; }
    Tile* target = nullptr;
};

bool usesRack(GameType type) {
    return type == GameType::FreeCell || type == GameType::Split || type == GameType::Speed;
}

// The keys a level of `type` must give (the layout list is checked apart).
std::vector<std::string_view> requiredKeys(GameType type, Area area) {
    std::vector<std::string_view> keys{"gameType", "pointsPerMatch", "playTime",      "timeBonus",
                                       "bonusAt",  "bonusSpeed",     "multiplierTime"};
    if (type == GameType::Classic || type == GameType::FreeCell || type == GameType::Triple) {
        keys.insert(keys.end(), {"tileDistMin", "tileDistMax"});
    }
    if (usesRack(type)) {
        keys.emplace_back("sideBoardIndex");
    }
    if (type == GameType::Split || type == GameType::Speed) {
        keys.insert(keys.end(), {"firstHand", "secondHand", "thirdHand"});
    }
    if (area == Area::Hallway) {
        keys.insert(keys.end(), {"silver", "gold"});
    }
    return keys;
}

// How often a level must be played until each layout of its list has come
// up and every progression stands at its cap.
int repetitionsToCover(const Level& level) {
    const std::vector<std::string>& names = level.getLayoutFileNames();
    int steps = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), names[i]) ==
            names.begin() + static_cast<std::ptrdiff_t>(i)) {
            steps = static_cast<int>(i) + 1;
        }
    }
    for (int i = 0; i < kTuningCount; ++i) {
        const Progression& p = level.getTuning(static_cast<Tuning>(i));
        if (p.getDelta() != 0.0F) {
            const float span = std::abs(p.getCap() - p.getStart()) / std::abs(p.getDelta());
            steps = std::max(steps, static_cast<int>(std::ceil(span)) + 1);
        }
    }
    return std::min(steps, 64);
}

// The checks, run on the program folder `startIn` is given.
class LevelChecks : public ::testing::Test {
protected:
    // Starts the engine in `folder` as the game starts: archive, start-up
    // property files, suits; then reads the level files.
    void startIn(const fs::path& folder) {
        previousFolder_ = fs::current_path();
        fs::current_path(folder);
        tools::startDefinitions({registerBoardClasses});
        TileManager::create();
        Game::setView(&view_);
        sets_.load();
        files_ = new PropertyStore();
        for (const std::string_view file : LevelSets::kFiles) {
            ASSERT_TRUE(files_->load(file)) << file << " cannot be read";
        }
    }

    void TearDown() override {
        if (previousFolder_.empty()) {
            return;
        }
        Game::destroyCurrent();
        Game::setView(nullptr);
        TileManager::destroyInstance();
        tools::stopDefinitions();
        fs::current_path(previousFolder_);
    }

    // Every level of `area`, in file order.
    std::vector<Entry> entries(Area area) {
        std::vector<Entry> out;
        const auto difficulty = [](int d) {
            return std::string(LevelSets::kDifficultyNames.at(static_cast<std::size_t>(d)));
        };
        if (area == Area::Hallway) {
            PropertyVector* floors = files_->getVector("hallway");
            for (int f = 1; f <= static_cast<int>(floors->size()); ++f) {
                PropertyVector* rooms = asVector(floors->at(f - 1));
                for (int r = 1; r <= static_cast<int>(rooms->size()); ++r) {
                    out.push_back(
                        {"hallway.xml floor " + std::to_string(f) + " room " + std::to_string(r),
                         asNode(rooms->at(r - 1)), [this, f, r] {
                             return sets_.createLevel(f, r);
                         }});
                }
            }
        } else if (area == Area::Casino) {
            for (int t = 0; t <= static_cast<int>(GameType::River); ++t) {
                const auto type = static_cast<GameType>(t);
                for (int d = 0; d < 3; ++d) {
                    PropertyNode* node =
                        asNode(files_->getNode("casino")
                                   ->getNode(kLevelTypeNames.at(static_cast<std::size_t>(t)))
                                   ->getNode(difficulty(d))
                                   ->getChild("level"));
                    out.push_back(
                        {"casino.xml " +
                             std::string(kLevelTypeNames.at(static_cast<std::size_t>(t))) + " " +
                             difficulty(d),
                         node, [this, type, d] {
                             return sets_.getLevelDef(type, d, Place::Casino);
                         }});
                }
            }
        } else if (area == Area::Roof) {
            for (int d = 0; d < 3; ++d) {
                PropertyNode* node = asNode(files_->getNode("roof")
                                                ->getNode("Speed")
                                                ->getNode(difficulty(d))
                                                ->getChild("level"));
                out.push_back({"roof.xml Speed " + difficulty(d), node, [this, d] {
                                   return sets_.getSpeedLevelDef(d);
                               }});
            }
        } else {
            PropertyVector* series = files_->getVector("recroom");
            for (int s = 0; s < static_cast<int>(series->size()); ++s) {
                // The room makes a whole series at once.
                auto made = std::make_shared<std::vector<RefPtr<Level>>>();
                sets_.createRecRoomLevels(s, *made);
                PropertyVector* levels = asVector(series->at(s));
                for (std::size_t i = 0; i < levels->size(); ++i) {
                    out.push_back(
                        {"recroom.xml series " + std::to_string(s) + " level " + std::to_string(i),
                         asNode(levels->at(static_cast<std::ptrdiff_t>(i))), [made, i] {
                             return i < made->size() ? (*made)[i] : RefPtr<Level>();
                         }});
                }
            }
        }
        return out;
    }

    // Checks that the board `level` has loaded fits its game type; false
    // when it cannot be dealt at all.
    [[nodiscard]] static bool layoutFits(const Level& level, const std::string& what) {
        const Layout* board = level.getLayout();
        if (board == nullptr || board->getTileCount() == 0) {
            ADD_FAILURE() << what << ": the layout is missing or empty";
            return false;
        }
        const GameType type = level.getGameType();
        const int count = board->getTileCount();
        if (type == GameType::Triple) {
            std::vector<TileDef> faces;
            TileManager::get()->distribute(count, 3, 6, kOrdinarySuits, faces);
            EXPECT_EQ(static_cast<int>(faces.size()), count)
                << what << ": " << count << " tiles cannot be dealt in triples";
        } else if (type != GameType::Split && type != GameType::Speed) {
            EXPECT_EQ(count % 2, 0) << what << ": " << count << " tiles cannot be paired";
        }
        if (type == GameType::River) {
            for (int z = 0; z < Layout::kLayers; ++z) {
                TileList layer;
                board->getTilesOnLayer(layer, z);
                EXPECT_EQ(layer.size() % 2, 0U)
                    << what << ": layer " << z << " holds " << layer.size()
                    << " tiles, which River cannot pair";
            }
        }
        if (usesRack(type)) {
            const int index = level.getTuningInt(Tuning::SideBoardIndex);
            const SideBoard* rack = board->getSideBoard();
            if (rack == nullptr) {
                ADD_FAILURE() << what << ": the layout has no side board " << index;
                return false;
            }
            EXPECT_GT(rack->getSlotCount(), 0) << what << ": side board " << index;
            EXPECT_LE(rack->getSlotCount(), count) << what << ": side board " << index;
        }
        if (type == GameType::Split || type == GameType::Speed) {
            const int hands = level.getTuningInt(Tuning::FirstHand) +
                              level.getTuningInt(Tuning::SecondHand) +
                              level.getTuningInt(Tuning::ThirdHand);
            EXPECT_GT(hands, 0) << what << ": the hands add up to " << hands;
        }
        return true;
    }

    // Checks the build of the current game and plays the dealt board
    // through clicks: the planned order set by set, or in Speed the hinted
    // tile each time. A build counts every grouping it had to make again as
    // a problem in the usage record; what matters for the board is that a
    // deal succeeded and the grouping it kept has no face on its own.
    void expectDealClears(Game& game, const std::string& what) {
        const BuildReport& build = game.getLastBuild();
        const int tiles = game.getLayout()->getTileCount();
        const auto passes = static_cast<int>(std::clamp(
            Game::kGroupingWorkBudget / std::max(tiles, 1), 1L, long{Game::kGroupingPasses}));
        EXPECT_LT(build.numNotSolvable, Game::kDealAttempts) << what << ": no deal succeeded";
        EXPECT_LT(build.numStackingProblem, passes)
            << what << ": every grouping put a face on its own";
        Layout& board = *game.getLayout();
        const auto clickOn = [&](Tile* tile) {
            view_.target = tile;
            game.click(0, 0);
            const PendingAction action = game.getPendingAction();
            game.runPendingAction();
            return action;
        };
        if (game.getGameType() == GameType::Speed) {
            for (int step = 0; board.getTileCount() > 0 && step < 1000; ++step) {
                TileList hint;
                ASSERT_TRUE(game.pickHint(hint)) << what << ": no hint at step " << step;
                ASSERT_EQ(clickOn(hint.back().get()), PendingAction::Match) << what;
            }
            EXPECT_EQ(board.getTileCount(), 0) << what;
            return;
        }
        const TileList order = build.order;
        const bool oneByOne = game.getGameType() == GameType::Split;
        const std::size_t perSet = oneByOne ? 1 : static_cast<std::size_t>(game.tilesPerMatch());
        ASSERT_EQ(static_cast<int>(order.size()), board.getTileCount()) << what;
        for (std::size_t i = 0; i < order.size(); i += perSet) {
            const std::string set = what + ", set " + std::to_string(i / perSet);
            for (std::size_t j = i; j < i + perSet; ++j) {
                const TilePos& pos = order[j]->getPos();
                Tile* tile = board.getGridCell(pos.x, pos.y, pos.z);
                ASSERT_TRUE(tile != nullptr && tile->getPos() == pos) << set << ": tile gone";
                const PendingAction action = clickOn(tile);
                const bool last = j + 1 == i + perSet;
                ASSERT_EQ(action == PendingAction::Match, last)
                    << set << ": click " << j - i << " gave action " << static_cast<int>(action);
            }
        }
        EXPECT_EQ(board.getTileCount(), 0) << what;
    }

    // Every check of one level; `seeds` deals per layout it reaches.
    void checkLevel(const Entry& entry, Area area, int seeds) {
        const std::string& what = entry.where;
        ASSERT_NE(entry.node, DUMMY_NODE) << what << ": no level node";
        RefPtr<Level> level = entry.make();
        ASSERT_TRUE(level) << what << ": does not load";
        const GameType type = level->getGameType();
        ASSERT_NE(type, GameType::Invalid) << what << ": no game type";
        for (const std::string_view key : requiredKeys(type, area)) {
            EXPECT_NE(entry.node->getChild(key), nullptr) << what << ": no \"" << key << "\"";
        }
        ASSERT_FALSE(level->getLayoutFileNames().empty()) << what << ": no layouts";
        if (area == Area::Hallway) {
            EXPECT_LT(0, level->getSilver()) << what;
            EXPECT_LT(level->getSilver(), level->getGold()) << what;
        }
        // The hallway never plays a room again.
        const int repetitions = area == Area::Hallway ? 1 : repetitionsToCover(*level);
        for (int rep = 0; rep < repetitions; ++rep) {
            if (rep > 0) {
                level->advance();
                level->loadLayout();
            }
            const std::string at =
                what + " (" + level->getLayoutName() + ", repetition " + std::to_string(rep) + ")";
            if (!layoutFits(*level, at)) {
                return;
            }
            for (int s = 0; s < seeds; ++s) {
                const auto seed = static_cast<std::uint32_t>(1000 * rep + s + 1);
                RandomGenerator::createInstance(seed, 0);
                ShuffleRandom::seed(seed);
                level->loadLayout();
                Game* game = Game::create(type);
                ASSERT_NE(game, nullptr) << at;
                ASSERT_TRUE(game->setLevel(level.get())) << at << ": refused";
                expectDealClears(*game, at + ", seed " + std::to_string(seed));
                Game::destroyCurrent();
                if (::testing::Test::HasFatalFailure()) {
                    return;
                }
            }
        }
    }

    static constexpr std::array<std::string_view, 5> kLevelTypeNames{"Classic", "Freecell", "Split",
                                                                     "Triple", "River"};

    ClickView view_;
    LevelSets sets_;
    RefPtr<PropertyStore> files_;
    fs::path previousFolder_;
};

// The shipped levels, area by area, from the built program folder.
class LevelDataTest : public LevelChecks, public ::testing::WithParamInterface<Area> {
protected:
    void SetUp() override {
        const fs::path app(ORVANTA_MEDIA_APP_DIR);
        ASSERT_TRUE(fs::exists(app / "media.dat")) << "the media target has not run: " << app;
        startIn(app);
        ASSERT_EQ(FileArchive::getGlobalMode(), ArchiveMode::Zip) << "media.dat did not open";
    }
};

TEST_P(LevelDataTest, EveryLevelLoadsFitsItsLayoutsAndDealsBoardsThatClear) {
    const Area area = GetParam();
    const std::vector<Entry> levels = entries(area);
    // The building's shape: what the scenes offer must exist.
    switch (area) {
    case Area::Hallway:
        EXPECT_EQ(levels.size(), 100U);
        break;
    case Area::Casino:
        EXPECT_EQ(levels.size(), 15U);
        break;
    case Area::Roof:
        EXPECT_EQ(levels.size(), 3U);
        break;
    case Area::RecRoom:
        // One series per game type but Speed, each four pages of six.
        ASSERT_EQ(sets_.getRecRoomSeriesCount(), 5);
        for (int s = 0; s < 5; ++s) {
            std::vector<RefPtr<Level>> series;
            EXPECT_GE(sets_.createRecRoomLevels(s, series), 24) << "recroom.xml series " << s;
        }
        break;
    }
    // A hallway or recreation-room level is played on one layout; the
    // casino and the roof play theirs again and again through their lists,
    // one deal per step.
    const int seeds = area == Area::Hallway || area == Area::RecRoom ? 2 : 1;
    for (const Entry& entry : levels) {
        checkLevel(entry, area, seeds);
    }
}

// One suite per area, so that the areas run side by side.
INSTANTIATE_TEST_SUITE_P(Hallway, LevelDataTest, ::testing::Values(Area::Hallway));
INSTANTIATE_TEST_SUITE_P(Casino, LevelDataTest, ::testing::Values(Area::Casino));
INSTANTIATE_TEST_SUITE_P(Roof, LevelDataTest, ::testing::Values(Area::Roof));
INSTANTIATE_TEST_SUITE_P(RecRoom, LevelDataTest, ::testing::Values(Area::RecRoom));

// A program folder with the built property files and layouts, whose
// hallway file holds a level without a layout, a FreeCell level that lacks a
// key and names a rack its layout does not have, and one sound level.
class BrokenLevelDataTest : public LevelChecks {
protected:
    void SetUp() override {
        const fs::path app(ORVANTA_MEDIA_APP_DIR);
        fs::create_directories(folder_.path() / "media");
        for (const char* part : {"properties", "levels"}) {
            fs::copy(app / "media" / part, folder_.path() / "media" / part,
                     fs::copy_options::recursive);
        }
        const std::string common =
            R"(pointsPerMatch="100" playTime="3000" timeBonus="1000" bonusAt="1000" )"
            R"(bonusSpeed="20" multiplierTime="4000" silver="100" gold="200")";
        const auto level = [&common](const std::string& keys, const char* layout) {
            const std::string list = std::string(R"(<String value=")") + layout + R"("/>)";
            return "<Level " + keys + " " + common + R"(><Vector id="intro">)" + list +
                   R"(</Vector><Vector id="hard">)" + list + "</Vector></Level>";
        };
        test::writeFile(
            folder_.path() / "media/properties/levels/hallway.xml",
            R"(<Levels><Vector id="hallway"><Vector>)" +
                level(R"(gameType="Classic" tileDistMin="2" tileDistMax="8")",
                      "no_such_board.xml") +
                level(R"(gameType="Freecell" tileDistMax="8" sideBoardIndex="9")", "tea_tray.xml") +
                level(R"(gameType="Classic" tileDistMin="2" tileDistMax="8")", "tea_tray.xml") +
                "</Vector></Vector></Levels>");
        startIn(folder_.path());
    }

    test::TempDir folder_;
};

TEST_F(BrokenLevelDataTest, EachFaultNamesTheLevelFileAndTheLevel) {
    const test::LogCapture log;
    ::testing::TestPartResultArray failures;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        for (const Entry& entry : entries(Area::Hallway)) {
            checkLevel(entry, Area::Hallway, 1);
        }
    }
    std::string messages;
    for (int i = 0; i < failures.size(); ++i) {
        messages += std::string(failures.GetTestPartResult(i).message()) + "\n";
    }
    for (const char* expected :
         {"hallway.xml floor 1 room 1 (no_such_board.xml, repetition 0): the layout is missing",
          "hallway.xml floor 1 room 2: no \"tileDistMin\"",
          "hallway.xml floor 1 room 2 (tea_tray.xml, repetition 0): the layout has no side "
          "board 9"}) {
        EXPECT_NE(messages.find(expected), std::string::npos) << expected << "\n" << messages;
    }
    EXPECT_EQ(messages.find("room 3"), std::string::npos) << messages;
    // The broken levels stop at their layouts: neither is dealt.
    EXPECT_FALSE(log.contains("the level is refused"));
}

} // namespace
} // namespace orv
