// Holds the medal goals' playing model against the real program: a room is
// dealt as orvanta_calibrate deals it, played on the real playing screen by
// clicks at the calibration player's pace with a fixed clock, and played
// again by the model with the times the screen counted; both must come to
// the same matches, multipliers and bonus bar payouts.

#include "app/OrvantaMain.h"
#include "engine/core/RefPtr.h"
#include "engine/platform/SettingsManager.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Label.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/ModifierCountUp.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/scenes/SceneOrvanta.h"
#include "game/screen/SceneGame.h"
#include "tests/app/RoadDriver.h"
#include "tools/calibrate/CalibrationModel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::RoadDriver;

// Each frame stands for the longest frame the game takes, so that a room
// costs few drawn frames.
constexpr std::uint32_t kCalibrationFrameMs = 100;

struct CalibrationCase {
    int floor;
    int room;
    std::uint32_t seed;
    const calibration::Player* player;
};

// What the playing screen came to.
struct ScreenRun {
    std::vector<int> waits; // ms the bars ran before each match
    int score = 0;
    int bonusScore = 0;
    int bonuses = 0;
    int matches = 0;
    bool cleared = false;
    bool won = false;
    std::wstring endScore; // the level-end dialog's score once it settled
    std::wstring endBest;
    std::wstring scoreText; // the score and the best as the dialog words them
    std::wstring bestText;
};

bool boardTakesClicks() {
    const SceneGame* screen = SceneGame::getInstance();
    const Game* current = Game::getCurrent();
    return screen != nullptr && current != nullptr && current->getLayout() != nullptr &&
           screen->getOpenDialogs().empty() && screen->getState() == nullptr &&
           screen->getLevelPhase() == 1 && current->getLayout()->getTileCount() > 0;
}

// Answers the first open dialog of the playing screen that a player meets
// before and during a room (the level end is read, not answered).
void answerDialogs() {
    for (const char* name : {"DIALOG_LEVEL_INFO", "DIALOG_BRASTOW_HINT", "DIALOG_HINT",
                             "DIALOG_TROPHY", "DIALOG_TROPHY_INFO"}) {
        Dialog* dialog = test::openDialog(name);
        if (dialog == nullptr) {
            continue;
        }
        for (const char* button : {"BUTTON_OK", "BUTTON_CONTINUE", "BUTTON_CLOSE"}) {
            if (test::clickComponent(button, name)) {
                return;
            }
        }
        const test::ScreenPoint middle = test::centreOf(*dialog);
        test::postClick(middle.x, middle.y);
        return;
    }
}

// Plays the current game on the screen: `nextMs` gives the wait before each
// hinted match, counted in frames of play (the bars run), as the model
// counts it.
class PacedPlayer {
public:
    PacedPlayer(ScreenRun& run, std::function<int()> nextMs)
        : run_(run), nextMs_(std::move(nextMs)) {}

    // Runs at the end of each frame; true once the level-end dialog has
    // settled.
    bool frame(RoadDriver& road) {
        Game* game = Game::getCurrent();
        if (game == nullptr || game->getLayout() == nullptr) {
            return false;
        }
        if (auto* end = kindCast<DialogLevelEnd>(test::openDialog("DIALOG_LEVEL_END"))) {
            if (end->isCounting() || end->getScore() == nullptr) {
                return false;
            }
            run_.score = game->getScore().getValue();
            run_.bonusScore = game->getCounters().bonusScore;
            run_.bonuses = game->getCounters().bonusesClaimed;
            run_.won = game->getCounters().hasWon;
            run_.cleared = game->getLayout()->getTileCount() == 0;
            run_.endScore = end->getScore()->getText();
            run_.endBest = end->getBestScore()->getText();
            run_.scoreText =
                ModifierCountUp::formatValue(getText("TEXT_SCORE_STAT") + L" ", run_.score, false);
            // A new player's first game is the best there is.
            run_.bestText =
                ModifierCountUp::formatValue(getText("TEXT_RECORD_STAT") + L" ", run_.score, false);
            return true;
        }
        const bool ready = boardTakesClicks();
        if (clicked_ > 0 && game->getLayout()->getTileCount() < clicked_) {
            // The clicks were taken at this frame's start; its bars ran after.
            ++run_.matches;
            clicked_ = 0;
            ranMs_ = 0;
        }
        if (!ready) {
            if (++waiting_ % 10 == 0) {
                answerDialogs();
            }
            return false;
        }
        ranMs_ += static_cast<int>(kCalibrationFrameMs);
        if (clicked_ > 0) {
            return false; // the match is on its way
        }
        if (!pending_.empty()) {
            // One click a frame; the match comes with the last.
            test::postClick(pending_.front().x, pending_.front().y);
            pending_.erase(pending_.begin());
            if (pending_.empty()) {
                run_.waits.push_back(ranMs_);
                clicked_ = game->getLayout()->getTileCount();
            }
            return false;
        }
        if (!due_) {
            waitMs_ = nextMs_();
            due_ = true;
        }
        TileList hint;
        if (!game->pickHint(hint)) {
            road.fail("the board is stuck: pick a deal that needs no shuffle");
            return false;
        }
        const bool split =
            game->getGameType() == GameType::Split || game->getGameType() == GameType::Speed;
        std::vector<test::ScreenPoint> points;
        for (const RefPtr<Tile>& tile : hint) {
            if (split && tile->isSideboard()) {
                continue;
            }
            test::ScreenPoint point;
            if (!test::findTileOnScreen(*tile, point)) {
                road.fail("a hinted tile is not on the screen");
                return false;
            }
            points.push_back(point);
        }
        // The clicks start early enough for the last to end the wait.
        const int clicksMs = static_cast<int>((points.size() - 1) * kCalibrationFrameMs);
        if (run_.matches > 0 && ranMs_ + clicksMs < waitMs_) {
            return false;
        }
        test::postClick(points.front().x, points.front().y);
        pending_.assign(points.begin() + 1, points.end());
        if (pending_.empty()) {
            run_.waits.push_back(ranMs_);
            clicked_ = game->getLayout()->getTileCount();
        }
        due_ = false;
        return false;
    }

private:
    ScreenRun& run_;
    std::function<int()> nextMs_;
    int waiting_ = 0;
    int waitMs_ = 0;
    bool due_ = false;
    int ranMs_ = 0;
    int clicked_ = 0;
    std::vector<test::ScreenPoint> pending_;
};

// Plays the case's room on the real program; the model's prediction of the
// same deal is made first, in the program's own set-up.
ScreenRun playOnScreen(const CalibrationCase& c, calibration::Run& predicted,
                       std::string& failure) {
    // A run before this one may have left its window's quit message behind.
    platform::Message left;
    while (platform::peekMessage(left)) {
    }
    ScreenRun run;
    const std::string previous = platform::getCurrentFolder();
    const test::FixedClock clock(100000, kCalibrationFrameMs);
    std::unique_ptr<calibration::PaceDraw> pace;
    const RefPtr<RoadDriver> road(new RoadDriver());
    auto player = std::make_shared<PacedPlayer>(
        run, [&pace] { return calibration::roundUpToFrames(pace->next(), kCalibrationFrameMs); });
    road->step(
        "the room played to its level end", [player, &road = *road] { return player->frame(road); },
        {}, 30000);
    setStepObserver([&](std::string_view step) {
        if (step != "main loop") {
            return;
        }
        // The calibration player needs no tutorial: tips and help off.
        if (SettingsManager* settings = SettingsManager::get()) {
            settings->getSettings().setUseHints(false);
        }
        // A new player of the case's own, whose first game this is.
        PlayerManager& players = *PlayerManager::get();
        const std::string name = "Cal" + std::to_string(c.floor) + "x" + std::to_string(c.room);
        if (AbstractPlayer* added = players.addPlayer(new OrvantaPlayer(name))) {
            static_cast<void>(players.setCurrentPlayer(added));
        }
        predicted = calibration::playRoom(*c.player, c.floor, c.room, c.seed,
                                          static_cast<int>(kCalibrationFrameMs));
        Game* game = calibration::dealRoom(c.floor, c.room, c.seed);
        if (game == nullptr) {
            road->fail("the room cannot be dealt");
            return;
        }
        pace = std::make_unique<calibration::PaceDraw>(*c.player, *game->getLevel(),
                                                       game->getLayout()->getTileCount(), c.seed);
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            resources->requestSection("game");
            static_cast<void>(resources->waitForRequests(std::chrono::milliseconds(10000)));
        }
        switchScene("game", "", "SCENE_GAME");
        road->attach();
    });
    const int exitCode = runProgram(ORVANTA_MEDIA_APP_DIR);
    setStepObserver({});
    road->programEnded();
    static_cast<void>(platform::setCurrentFolder(previous));
    failure = exitCode != 0 ? "exit code " + std::to_string(exitCode) : road->getFailure();
    return run;
}

class CalibrationTest : public testing::TestWithParam<CalibrationCase> {};

TEST_P(CalibrationTest, TheModelScoresAsThePlayingScreenDoes) {
    const CalibrationCase& c = GetParam();
    calibration::Run model;
    std::string failure;
    const ScreenRun screen = playOnScreen(c, model, failure);
    ASSERT_EQ(failure, "");
    SCOPED_TRACE("screen: " + std::to_string(screen.matches) + " matches, score " +
                 std::to_string(screen.score) + " with " + std::to_string(screen.bonuses) +
                 " bonuses worth " + std::to_string(screen.bonusScore) +
                 "; model: " + std::to_string(model.matches) + " matches, score " +
                 std::to_string(model.matchScore) + " with " + std::to_string(model.bonuses) +
                 " bonuses, " + std::to_string(model.shuffles) + " shuffles");
    EXPECT_TRUE(screen.won);
    EXPECT_EQ(model.shuffles, 0);
    EXPECT_TRUE(model.cleared);
    EXPECT_EQ(model.matches, screen.matches);
    EXPECT_EQ(model.matchScore, screen.score - screen.bonusScore);
    EXPECT_EQ(model.bonuses, screen.bonuses);
    // The level end shows the level's score once it has counted.
    EXPECT_EQ(screen.endScore, screen.scoreText);
    EXPECT_EQ(screen.endBest, screen.bestText);
}

// A room of each game type the hallway plays, by a strong or a decent player.
const CalibrationCase kCalibrationCases[] = {
    {1, 1, 3, &calibration::kDecent},  // Classic, 36 tiles
    {3, 3, 1, &calibration::kStrong},  // Triple
    {6, 2, 2, &calibration::kStrong},  // FreeCell
    {9, 1, 1, &calibration::kStrong},  // Split
    {12, 1, 1, &calibration::kStrong}, // River
};

INSTANTIATE_TEST_SUITE_P(Rooms, CalibrationTest, testing::ValuesIn(kCalibrationCases),
                         [](const testing::TestParamInfo<CalibrationCase>& room) {
                             return "floor" + std::to_string(room.param.floor) + "room" +
                                    std::to_string(room.param.room);
                         });

} // namespace
} // namespace orv
