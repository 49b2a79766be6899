#include "engine/gui/Button.h"
#include "engine/gui/Slider.h"
#include "engine/gui/Switch.h"
#include "engine/platform/SettingsManager.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/Label.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogCredits.h"
#include "game/dialogs/DialogHelp.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogMenu.h"
#include "game/dialogs/DialogNotice.h"
#include "game/dialogs/DialogPause.h"
#include "game/dialogs/DialogSettings.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/dialogs/OrvantaGameSettings.h"
#include "tests/dialogs/DialogFixture.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace orv::test {
namespace {

// The game's own dialog definitions and texts, read from the sources.
std::vector<std::string> gameFiles() {
    std::vector<std::string> files;
    for (const char* name : {"dialogs", "text", "commontext", "trophyroom"}) {
        files.push_back(std::string(ORVANTA_SOURCE_DIR) + "/media/properties/" + name + ".xml");
    }
    return files;
}

constexpr const char* kScene =
    R"(<root><Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node></root>)";

bool isOpen(const Scene& scene, const Dialog* dialog) {
    const auto& open = scene.getOpenDialogs();
    return std::any_of(open.begin(), open.end(),
                       [dialog](const RefPtr<Dialog>& d) { return d.get() == dialog; });
}

int afterCloseCalls = 0;
int countAfterClose(void* /*context*/, void* /*dialog*/) {
    ++afterCloseCalls;
    return 0;
}

class GameDialogsTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        afterCloseCalls = 0;
        DialogLevelEnd::setPreviousBest({});
    }
};

TEST_F(GameDialogsTest, EveryGameDialogIsDefinedAndBuildsAsItsClass) {
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    const std::pair<const char*, const ClassRecord*> dialogs[] = {
        {"DIALOG_YESNO", &DialogYesNo::classRecord},
        {"DIALOG_BRASTOW_HINT", &DialogBrastowHint::classRecord},
        {"DIALOG_LEVEL_INFO", &DialogLevelInfo::classRecord},
        {"DIALOG_LEVEL_END", &DialogLevelEnd::classRecord},
        {"DIALOG_GAME_OVER", &DialogGameOver::classRecord},
        {"DIALOG_HELP", &DialogHelp::classRecord},
        {"DIALOG_CREDITS", &DialogCredits::classRecord},
        {"DIALOG_SETTINGS", &DialogSettings::classRecord},
        {"DIALOG_MENU", &DialogMenu::classRecord},
        {"DIALOG_ROOM_MENU", &DialogRoomMenu::classRecord},
        {"DIALOG_PAUSE", &DialogPause::classRecord},
        {"DIALOG_NOTICE", &DialogNotice::classRecord},
    };
    for (const auto& [name, record] : dialogs) {
        Dialog* dialog = scene.getDialog(name);
        ASSERT_NE(dialog, nullptr) << name;
        EXPECT_TRUE(dialog->getClassRecord().isKindOf(*record)) << name;
    }
    for (int tip = 0; tip <= 14; ++tip) {
        EXPECT_FALSE(getText("BRASTOW_HINT_" + std::to_string(tip)).empty()) << tip;
    }
    for (int page = 0; page < DialogHelp::kPageCount; ++page) {
        EXPECT_FALSE(getText("TEXT_HELP_PAGE" + std::to_string(page)).empty()) << page;
    }
}

TEST_F(GameDialogsTest, EveryNoticeHasItsTextNamingItsFile) {
    startScene(kScene, "SCENE_TEST", true, gameFiles());
    std::set<std::string_view> keys;
    for (int kind = 0; kind <= static_cast<int>(PlayerNoticeKind::SettingsOutOfReach); ++kind) {
        const std::string_view key = getPlayerNoticeTextKey(static_cast<PlayerNoticeKind>(kind));
        EXPECT_TRUE(keys.insert(key).second) << key << " serves two kinds";
        EXPECT_NE(getText(key).find(L"%f"), std::wstring::npos) << key;
    }
    const PlayerNotice notice{PlayerNoticeKind::ProfileSetAside, "Robin", "~/a.plr", "why"};
    EXPECT_EQ(DialogNotice::fillNoticeText(L"%n: %f, %r; %n", notice),
              L"Robin: ~/a.plr, why; Robin");
}

TEST_F(GameDialogsTest, WaitingNoticesShowOneAfterAnotherAndEachOnce) {
    clearPlayerNotices();
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    EXPECT_FALSE(DialogNotice::showWaiting(scene)) << "nothing to tell";
    EXPECT_TRUE(postPlayerNotice({PlayerNoticeKind::ProgressNotSaved, {}, "~/first", {}}));
    EXPECT_TRUE(postPlayerNotice({PlayerNoticeKind::RoomUnreadable, {}, "~/second", {}}));
    EXPECT_FALSE(postPlayerNotice({PlayerNoticeKind::ProgressNotSaved, {}, "~/first", {}}))
        << "the same fault met again is not told again";

    const auto shownText = [&scene]() -> std::wstring {
        const auto* notice = kindCast<DialogNotice>(scene.findDialog(DialogNotice::kName));
        return notice != nullptr && isOpen(scene, notice) ? notice->getMessageLabel()->getText()
                                                          : std::wstring();
    };
    ASSERT_TRUE(DialogNotice::showWaiting(scene));
    EXPECT_NE(shownText().find(L"~/first"), std::wstring::npos);
    EXPECT_TRUE(DialogNotice::showWaiting(scene)) << "one is open";
    EXPECT_EQ(scene.getOpenDialogs().size(), 1U) << "one at a time";

    for (const wchar_t* next : {L"~/second", L""}) {
        runFrames(2, kFadeMs);
        auto* notice = kindCast<DialogNotice>(scene.findDialog(DialogNotice::kName));
        ASSERT_NE(notice, nullptr);
        Button* ok = notice->getOkButton();
        ASSERT_NE(ok, nullptr);
        ok->call(ok);
        runFrames(3, kFadeMs);
        if (*next != L'\0') {
            EXPECT_NE(shownText().find(next), std::wstring::npos) << "OK brings the next";
        } else {
            EXPECT_EQ(shownText(), L"") << "all told";
        }
    }
    EXPECT_FALSE(hasPlayerNotice());
}

TEST_F(GameDialogsTest, HostTipsFillInTheNameAndInTipThreeTheStars) {
    const std::wstring text = L"%n, %x stars for %n";
    EXPECT_EQ(DialogBrastowHint::fillTipText(text, 3, L"Robin", true), L"Robin, 2 stars for Robin");
    EXPECT_EQ(DialogBrastowHint::fillTipText(text, 3, L"Robin", false),
              L"Robin, 3 stars for Robin");
    EXPECT_EQ(DialogBrastowHint::fillTipText(text, 4, L"Robin", true),
              L"Robin, %x stars for Robin");
    EXPECT_EQ(DialogBrastowHint::fillTipText(L"Plain words.", 0, L"Robin", true), L"Plain words.");

    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    player_.name = L"Robin";
    auto* tip = kindCast<DialogBrastowHint>(scene.getDialog("DIALOG_BRASTOW_HINT"));
    tip->showTip(1);
    EXPECT_NE(tip->getTextLabel()->getText().find(L"Robin"), std::wstring::npos);
    // The scene keeps its dialog: filling it again for the next showing
    // sizes it to the text once, not once more per showing.
    const int height = tip->getHeight();
    const int okY = tip->getOkButton()->getY();
    tip->showTip(1);
    EXPECT_EQ(tip->getHeight(), height);
    EXPECT_EQ(tip->getOkButton()->getY(), okY);
    scene.showDialog(tip);
    runFrames(2, kFadeMs);
    DialogOrvanta::justClose(tip, nullptr);
    runFrames(2, kFadeMs);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"SOUND_BRASTOW_HINT"});
}

TEST_F(GameDialogsTest, LevelInfoNamesTheGameTypeFromOneAndClosesItself) {
    EXPECT_EQ(gameTypeTextId(GameType::Classic), "TEXT_GAMETYPE1");
    EXPECT_EQ(gameTypeTextId(GameType::Speed), "TEXT_GAMETYPE6");
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    const RefPtr<PropertyNode> definition(new PropertyNode("Level", "level"));
    definition->add(new PropertyValue("gameType", std::string_view("Speed")));
    const RefPtr<Level> level(new Level(definition.get()));

    struct Case {
        Place place;
        std::wstring room;
        int shrink;
    };
    for (const Case& c : {Case{Place::Hallway, L"Room 123", 0}, Case{Place::Roof, L"Level 5", 0},
                          Case{Place::RecRoom, L"", DialogLevelInfo::kNoRoomShrink}}) {
        level->setPlace(c.place);
        level->setFloor(12);
        level->setRoom(3);
        level->setIndex(4);
        auto* info = kindCast<DialogLevelInfo>(scene.getDialog("DIALOG_LEVEL_INFO"));
        const int height = info->getHeight();
        info->setInfo(*level);
        EXPECT_EQ(info->getGameTypeLabel()->getText(), L"Speed");
        EXPECT_EQ(info->getRoomLabel()->isVisible(), !c.room.empty());
        if (!c.room.empty()) {
            EXPECT_EQ(info->getRoomLabel()->getText(), c.room);
        }
        EXPECT_EQ(info->getHeight(), height - c.shrink);
        closeDialogOfCurrentScene("DIALOG_LEVEL_INFO");
    }

    auto* info = kindCast<DialogLevelInfo>(scene.getDialog("DIALOG_LEVEL_INFO"));
    info->setAfterClose(&countAfterClose, nullptr);
    scene.showDialog(info);
    runFrames(1, kFadeMs + 300 - 1); // the fade-in, then most of the 300 ms delay
    EXPECT_TRUE(isOpen(scene, info));
    runFrames(3, kFadeMs);
    EXPECT_FALSE(isOpen(scene, info));
    EXPECT_EQ(afterCloseCalls, 1);
}

TEST_F(GameDialogsTest, LevelEndRecordsFollowThePlaceAndTheOutcome) {
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    auto* end = kindCast<DialogLevelEnd>(scene.getDialog("DIALOG_LEVEL_END"));
    struct Case {
        Place place;
        bool won;
        int score;
        int timeMs;
        BestResult previous;
        bool scoreRecord;
        bool timeRecord;
    };
    const Case cases[] = {
        {Place::Hallway, true, 500, 60000, {0, 0}, true, true},          // a first game
        {Place::Hallway, false, 9000, 1000, {100, 90000}, false, false}, // lost in the hallway
        {Place::RecRoom, false, 9000, 1000, {100, 90000}, false, false}, // lost in the rec room
        {Place::Casino, false, 9000, 1000, {100, 90000}, true, true},    // lost in the casino
        {Place::Roof, true, 99, 95000, {100, 90000}, false, false},      // below both bests
        {Place::Casino, true, 100, 90000, {100, 90000}, true, false},    // equal score counts
    };
    for (const Case& c : cases) {
        DialogLevelEnd::setPreviousBest(c.previous);
        end->setResult({c.place, c.won, c.score, c.timeMs});
        EXPECT_EQ(end->isScoreRecord(), c.scoreRecord) << static_cast<int>(c.place) << c.won;
        EXPECT_EQ(end->isTimeRecord(), c.timeRecord) << static_cast<int>(c.place) << c.won;
        EXPECT_EQ(end->getTime()->isVisible(), c.place == Place::RecRoom);
        EXPECT_EQ(end->getScore()->isVisible(), c.place != Place::RecRoom);
    }
}

TEST_F(GameDialogsTest, LevelEndSkipReachesContinueWhichClosesOnceAndStartsTheNextStep) {
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    DialogLevelEnd::setPreviousBest({1000, 0});
    auto* end = kindCast<DialogLevelEnd>(scene.getDialog("DIALOG_LEVEL_END"));
    end->setResult({Place::Casino, true, 12500, 0});
    end->setAfterClose(&countAfterClose, nullptr);
    scene.showDialog(end);
    runFrames(3, 16);
    ASSERT_TRUE(end->isCounting());
    EXPECT_FALSE(end->getListenerContainer().isInputEnabled());

    const int x = end->getAbsoluteX() + 5;
    const int y = end->getAbsoluteY() + 5;
    EXPECT_TRUE(scene.getInputHandler() != nullptr);
    EXPECT_TRUE(end->onLeftButtonDown(x, y, 0, false));
    EXPECT_FALSE(end->isCounting());
    EXPECT_TRUE(end->getListenerContainer().isInputEnabled());
    EXPECT_FALSE(end->isUsingBuffer());
    EXPECT_EQ(end->getScore()->getText(), L"Score: 12,500");
    EXPECT_EQ(end->getBestScore()->getText(), L"Best: 12,500");

    auto* next = kindCast<Button>(end->findComponent("BUTTON_CONTINUE"));
    static_cast<void>(next->call(next));
    static_cast<void>(next->call(next)); // a second press while it fades
    runFrames(3, kFadeMs);
    EXPECT_FALSE(isOpen(scene, end));
    EXPECT_EQ(scene.findDialog("DIALOG_LEVEL_END"), nullptr);
    EXPECT_EQ(afterCloseCalls, 1);
}

TEST_F(GameDialogsTest, LevelEndShowsTheGameThatEndsNotTheOneItWasBuiltFor) {
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    registerBoardClasses();
    // Built while no game had ended, then shown when a first game is won.
    auto* end = kindCast<DialogLevelEnd>(scene.getDialog("DIALOG_LEVEL_END"));
    DialogLevelEnd::setPreviousBest({288, 0});
    Game* game = Game::create(GameType::Classic);
    ASSERT_NE(game, nullptr);
    game->getScore().reset(3000);
    game->getCounters().hasWon = true;
    scene.showDialog(end);
    end->skip();
    EXPECT_EQ(end->getScore()->getText(), L"Score: 3,000");
    EXPECT_EQ(end->getBestScore()->getText(), L"Best: 3,000");
    Game::destroyCurrent();
}

TEST_F(GameDialogsTest, StopThenYesClosesTheQuestionAndTheMenuAndStopsTheLevel) {
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    auto* menu = kindCast<DialogMenu>(scene.getDialog("DIALOG_MENU"));
    scene.showDialog(menu);
    runFrames(2, kFadeMs);
    EXPECT_EQ(DialogMenu::stopQuestionKey(nullptr), "CTEXT_MENU_STOP");

    DialogMenu::onStop(menu, nullptr);
    auto* question = kindCast<DialogYesNo>(scene.findDialog("CTEXT_MENU_STOP"));
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(isOpen(scene, question));
    static_cast<void>(question->getYesButton()->call(question->getYesButton()));

    EXPECT_TRUE(scene.getOpenDialogs().empty());
    EXPECT_EQ(scene.findDialog("DIALOG_MENU"), nullptr);
    EXPECT_EQ(screen_.levelsStopped, 1);
}

TEST_F(GameDialogsTest, PauseFadesTheMusicMutesAfterItAndResumeUndoesIt) {
    QuietOutput output;
    setSoundOutput(&output);
    SoundManager* sound = SoundManager::create(44100, 0, 32);
    sound->setSfxVolume(200);
    {
        Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
        auto* pause = kindCast<DialogPause>(scene.getDialog("DIALOG_PAUSE"));
        scene.showDialog(pause);
        EXPECT_EQ(playedSounds(), std::vector<std::string>{"SOUND_PAUSE"});
        runFrames(1, kFadeMs);
        EXPECT_FALSE(sound->isMuted());
        runFrames(2, DialogPause::kFadeMs);
        EXPECT_TRUE(sound->isMuted());
        EXPECT_EQ(output.masterVolume, 0);

        const int x = pause->getAbsoluteX() + 3;
        const int y = pause->getAbsoluteY() + 3;
        EXPECT_TRUE(pause->onLeftButtonUp(x, y, 0));
        EXPECT_FALSE(sound->isMuted());
        EXPECT_EQ(output.masterVolume, 200);
        EXPECT_EQ(screen_.boardShown, 1);
        runFrames(3, kFadeMs);
        EXPECT_FALSE(isOpen(scene, pause));

        // A click before the mute drops it.
        pause = kindCast<DialogPause>(scene.getDialog("DIALOG_PAUSE"));
        scene.showDialog(pause);
        runFrames(1, kFadeMs);
        pause->resume();
        runFrames(3, DialogPause::kFadeMs);
        EXPECT_FALSE(sound->isMuted());
    }
    SceneManager::destroyInstance();
    SoundManager::destroyInstance();
    setSoundOutput(nullptr);
}

TEST_F(GameDialogsTest, SettingsThrottleTheSliderTickSaveOnOkAndRestoreOnCancel) {
    TempDir home;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", home.path().c_str(), 1), 0);
    BasicProperties::get()->getString("GAME_ID") = "dialogs-test";
    IGameSettings& stored =
        SettingsManager::create(std::make_unique<OrvantaGameSettings>()).getSettings();
    stored.setSoundVolume(100);
    stored.setMusicVolume(40);
    QuietOutput output;
    setSoundOutput(&output);
    SoundManager* sound = SoundManager::create(44100, 0, 32);
    player_.showHints = false;
    {
        Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
        auto* settings = kindCast<DialogSettings>(scene.getDialog("DIALOG_SETTINGS"));
        ASSERT_NE(settings->getEffectsSlider(), nullptr);
        EXPECT_EQ(settings->getSettingsFace().getSoundVolume(), 100);
        EXPECT_FALSE(settings->getHintsSwitch()->isChecked());
        scene.showDialog(settings);
        runFrames(2, kFadeMs);

        // Two seconds of dragging tick at most every 500 ms.
        settings->getEffectsSlider()->getKnob()->setState(Button::kPressed);
        playedSounds().clear();
        runFrames(125, 16);
        EXPECT_EQ(playedSounds().size(), 4U);
        settings->getEffectsSlider()->getKnob()->setState(Button::kNormal);
        EXPECT_EQ(playedSounds().back(), "SOUND_SLIDER_1");
        // floor(value / (maximum + 1)) + 1: the first tick over the whole
        // range; only values past the maximum, and no broken maximum, go on.
        struct TickCase {
            float value;
            float maximum;
            int number;
        };
        for (const TickCase& c :
             {TickCase{0.0F, 255.0F, 1}, TickCase{255.0F, 255.0F, 1}, TickCase{256.0F, 255.0F, 2},
              TickCase{600.0F, 255.0F, 3}, TickCase{5.0F, -1.0F, 1}, TickCase{1e30F, 0.0F, 1}}) {
            EXPECT_EQ(DialogSettings::sliderSoundNumber(c.value, c.maximum), c.number)
                << c.value << " of " << c.maximum;
        }

        // Moving a slider applies at once; Cancel restores the stored volume.
        settings->getEffectsSlider()->setValue(230.0F);
        DialogSettings::onEffectsVolume(settings, settings->getEffectsSlider());
        EXPECT_EQ(sound->getSfxVolume(), 230);
        DialogSettings::onCancel(settings, nullptr);
        EXPECT_EQ(sound->getSfxVolume(), 100);
        EXPECT_EQ(stored.getSoundVolume(), 100);
        runFrames(3, kFadeMs);

        // OK stores the widgets and switches the player's hints back on.
        settings = kindCast<DialogSettings>(scene.getDialog("DIALOG_SETTINGS"));
        settings->getMusicSlider()->setValue(180.0F);
        settings->getHintsSwitch()->setChecked(true);
        DialogSettings::onOk(settings, nullptr);
        EXPECT_EQ(stored.getMusicVolume(), 180);
        EXPECT_TRUE(stored.getUseHints());
        EXPECT_EQ(sound->getMusicVolume(), 180);
        EXPECT_EQ(player_.showHints, std::optional<bool>(true));
        EXPECT_EQ(player_.rearmed, 1);
    }
    SceneManager::destroyInstance();
    SoundManager::destroyInstance();
    setSoundOutput(nullptr);
    SettingsManager::destroyInstance();
}

TEST_F(GameDialogsTest, SettingsWorkWithoutACurrentPlayer) {
    setPlayerHook(nullptr);
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    auto* settings = kindCast<DialogSettings>(scene.getDialog("DIALOG_SETTINGS"));
    ASSERT_NE(settings, nullptr);
    DialogSettings::onOk(settings, nullptr);
    runFrames(3, kFadeMs);
    EXPECT_TRUE(scene.getOpenDialogs().empty());
}

TEST_F(GameDialogsTest, HelpTurnsItsFourPagesAndCreditsCloseByThemselves) {
    Scene& scene = startScene(kScene, "SCENE_TEST", true, gameFiles());
    auto* help = kindCast<DialogHelp>(scene.getDialog("DIALOG_HELP"));
    EXPECT_EQ(help->getPage(), 0);
    EXPECT_FALSE(help->getPreviousButton()->isEnabled());
    for (int page = 1; page < DialogHelp::kPageCount; ++page) {
        static_cast<void>(help->getNextButton()->call(help->getNextButton()));
    }
    EXPECT_EQ(help->getPage(), 3);
    EXPECT_FALSE(help->getNextButton()->isEnabled());
    EXPECT_TRUE(help->getPreviousButton()->isEnabled());

    auto* credits = kindCast<DialogCredits>(scene.getDialog("DIALOG_CREDITS"));
    scene.showDialog(credits);
    EXPECT_LE(credits->getEndY(), credits->getStartY());
    runFrames(2, 2500 + 26000 + 4000);
    runFrames(3, kFadeMs);
    EXPECT_FALSE(isOpen(scene, credits));
}

} // namespace
} // namespace orv::test
