#pragma once

#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/Sound.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogOrvanta.h"
#include "game/dialogs/DialogSounds.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::test {

/// Every sound the dialogs asked for, by name, in order.
inline std::vector<std::string>& playedSounds() {
    static std::vector<std::string> sounds;
    return sounds;
}

/// A playing screen that records what the dialogs tell it.
class FakeScreen : public PlayingScreenHook {
public:
    Scene* getScene() override { return scene; }
    void dialogOpened(Dialog* dialog) override { opened.push_back(dialog); }
    void dialogClosed(Dialog* dialog) override { closed.push_back(dialog); }
    void showBoard() override { ++boardShown; }
    void startLevel() override { ++levelsStarted; }
    void stopLevel() override { ++levelsStopped; }
    bool isRoomInfoState() override { return roomInfoState; }
    GameNode* getEffectLayer() override { return nullptr; }
    void showStarBurst(Sprite* /*target*/) override { ++starBursts; }

    Scene* scene = nullptr;
    std::vector<Dialog*> opened;
    std::vector<Dialog*> closed;
    int boardShown = 0;
    int levelsStarted = 0;
    int levelsStopped = 0;
    int starBursts = 0;
    bool roomInfoState = false;
};

/// A current player, or none.
class FakePlayer : public PlayerHook {
public:
    std::optional<std::wstring> getPlayerName() override { return name; }
    std::optional<bool> getShowHints() override { return showHints; }
    void setShowHints(bool show) override {
        showHints = show;
        if (show) {
            ++rearmed;
        }
    }
    BestResult getBest(const Level& /*level*/) override { return best; }
    bool isBestBetweenSilverAndGold(const Level& /*level*/) override { return twoStars; }

    std::optional<std::wstring> name;
    std::optional<bool> showHints;
    BestResult best;
    bool twoStars = false;
    int rearmed = 0;
};

/// A sound output that is open and remembers the master volume.
class QuietOutput : public SoundOutput {
public:
    bool open() override { return enabled = true; }
    void close() override { enabled = false; }
    [[nodiscard]] bool isEnabled() const override { return enabled; }
    platform::AudioChannel play(const platform::AudioSamplePtr& /*sample*/, std::uint8_t /*v*/,
                                std::uint8_t /*pan*/, bool /*looped*/) override {
        return platform::kNoAudioChannel;
    }
    bool stop(platform::AudioChannel /*channel*/) override { return false; }
    bool setPan(platform::AudioChannel /*channel*/, std::uint8_t /*pan*/) override { return false; }
    void stopSample(const platform::AudioSample& /*sample*/) override {}
    void setMasterVolume(std::uint8_t volume) override { masterVolume = volume; }
    platform::AudioStream openStream(const std::string& /*path*/, bool /*looped*/) override {
        return platform::kNoAudioStream;
    }
    void closeStream(platform::AudioStream /*stream*/) override {}
    bool playStream(platform::AudioStream /*stream*/) override { return false; }
    bool stopStream(platform::AudioStream /*stream*/) override { return false; }
    bool setStreamPosition(platform::AudioStream /*s*/, std::uint32_t /*p*/) override {
        return false;
    }
    std::optional<std::uint32_t> getStreamPosition(platform::AudioStream /*s*/) override {
        return std::nullopt;
    }
    bool addStreamSyncPoint(platform::AudioStream /*s*/, std::uint32_t /*p*/) override {
        return false;
    }
    bool setStreamVolume(platform::AudioStream /*s*/, std::uint8_t /*v*/) override { return false; }

    bool enabled = true;
    int masterVolume = -1;
};

/// Registered classes, the settings with a 100 ms dialog fade, the fake
/// screen and player installed, and a scene made current by the scene
/// manager from the definitions a test loads.
class DialogFixture : public testing::Test {
protected:
    static constexpr int kFadeMs = 100;

    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        registerDialogClasses();
        BasicProperties& settings = BasicProperties::create();
        settings.getInteger("DIALOG_FADE_TIME") = kFadeMs;
        settings.getInteger("DIALOG_BACKGROUND_ALPHA") = 140;
        settings.getInteger("LEVEL_INFO_DELAY") = 300;
        settings.getInteger("GOODIE_APPEAR_TIME") = 100;
        settings.getInteger("GOODIE_WIGGLE_TIME") = 20;
        GameConstants().apply();
        playedSounds().clear();
        setDialogSoundObserver([](std::string_view /*section*/, std::string_view name) {
            playedSounds().emplace_back(name);
        });
        setPlayingScreenHook(&screen_);
        setPlayerHook(&player_);
    }
    void TearDown() override {
        setPlayingScreenHook(nullptr);
        setPlayerHook(nullptr);
        setDialogSoundObserver(nullptr);
        SceneManager::destroyInstance();
        GameWindow::setInstance(nullptr);
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        FileArchive::shutDown();
    }

    /// Loads `xml` (a property file) and makes its scene `sceneName`
    /// current; the fake screen's scene is it when `isPlayingScreen`.
    Scene& startScene(const std::string& xml, std::string_view sceneName = "SCENE_TEST",
                      bool isPlayingScreen = true, const std::vector<std::string>& files = {}) {
        for (const std::string& file : files) {
            getDefinitionStore().addFile(file);
        }
        const std::string path = dir_.file("dialogs.xml");
        std::ofstream(path) << xml;
        getDefinitionStore().addFile(path);
        getDefinitionStore().load();
        SceneManager* scenes = SceneManager::create();
        Scene* scene = scenes->addScene(sceneName);
        EXPECT_NE(scene, nullptr);
        scenes->setNextScene(scene);
        scenes->run(0);
        if (isPlayingScreen) {
            screen_.scene = scene;
        }
        return *scene;
    }
    /// Runs `frames` frames of `ms` milliseconds each.
    static void runFrames(int frames, int ms) {
        for (int i = 0; i < frames; ++i) {
            SceneManager::getInstance()->run(ms);
        }
    }

    TempDir dir_;
    FakeScreen screen_;
    FakePlayer player_;
};

} // namespace orv::test
