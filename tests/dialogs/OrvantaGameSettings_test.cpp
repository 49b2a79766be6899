#include "game/dialogs/OrvantaGameSettings.h"

#include "engine/platform/SettingsManager.h"
#include "engine/properties/BasicProperties.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orv {
namespace {

TEST(OrvantaGameSettings, GameDefaultsSurviveAFirstStart) {
    test::TempDir home;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", home.path().c_str(), 1), 0);
    BasicProperties::create().getString("GAME_ID") = "game1";

    const OrvantaGameSettings defaults;
    EXPECT_TRUE(defaults.getClassRecord().isKindOf(IGameSettings::classRecord));
    IGameSettings& options =
        SettingsManager::create(std::make_unique<OrvantaGameSettings>()).getSettings();
    EXPECT_TRUE(options.getFullScreen());
    EXPECT_TRUE(options.getFullScreenWarning());
    EXPECT_TRUE(options.getUseHardware());
    EXPECT_TRUE(options.getUseHints());
    EXPECT_EQ(options.getSoundVolume(), 255);
    EXPECT_EQ(options.getMusicVolume(), 50);

    SettingsManager::destroyInstance();
    BasicProperties::destroyInstance();
}

} // namespace
} // namespace orv
