#include "engine/platform/SettingsManager.h"

#include "engine/platform/RegistryKey.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/system/Platform.h"
#include "tests/platform/FrameTestSetup.h"

namespace orv {
namespace {

// Options with the game's defaults, made here so the engine's tests need no
// game code.
class TestSettings : public IGameSettings {
public:
    TestSettings() {
        setFullScreen(true);
        setFullScreenWarning(true);
        setUseHardware(true);
        setUseHints(true);
        setSoundVolume(255);
        setMusicVolume(50);
    }
};

class SettingsManagerTest : public test::FrameTest {
protected:
    void TearDown() override {
        SettingsManager::destroyInstance();
        test::FrameTest::TearDown();
    }

    static IGameSettings& start() {
        return SettingsManager::create(std::make_unique<TestSettings>()).getSettings();
    }
    static void store(std::string_view name, std::uint32_t number) {
        ASSERT_TRUE(
            RegistryKey(gameRegistryPath() + "\\" + std::string(name), false).writeDword(number));
    }
    static void storeText(std::string_view name, std::string_view text) {
        ASSERT_TRUE(
            RegistryKey(gameRegistryPath() + "\\" + std::string(name), false).writeString(text));
    }
    static std::optional<platform::SettingsValue> stored(std::string_view name) {
        return platform::readSettingsValue(gameRegistryPath(), name);
    }
};

TEST_F(SettingsManagerTest, FirstStartKeepsTheDefaults) {
    const IGameSettings& options = start();
    EXPECT_TRUE(options.getFullScreen());
    EXPECT_EQ(options.getSoundVolume(), 255);
    EXPECT_EQ(options.getMusicVolume(), 50);
    EXPECT_FALSE(SettingsManager::get()->getShutdownCorrect()) << "false while running";
    EXPECT_EQ(SettingsManager::get()->getRegistryPath(), "Software\\Vantrel\\Games\\game1");
}

TEST_F(SettingsManagerTest, SavedOptionsComeBackAndFlagsReadTrue) {
    IGameSettings& options = start();
    options.setUseHints(false);
    options.setMusicVolume(12);
    SettingsManager::get()->save();

    struct Expected {
        std::string_view name;
        std::uint32_t number;
    };
    const Expected values[] = {
        {"fullscreen", 1},      {"fullscreenwarning", 1}, {"usehardware", 1},
        {"usehints", 0},        {"soundvolume", 255},     {"musicvolume", 12},
        {"dontuseregistry", 0}, {"shutdowncorrect", 0},   {"fatalerror", 0}};
    for (const Expected& value : values) {
        const auto found = stored(value.name);
        ASSERT_TRUE(found) << value.name;
        EXPECT_EQ(found->type, platform::SettingsValueType::Dword) << value.name;
        EXPECT_EQ(found->number, value.number) << value.name;
    }

    // The flags, stored as 0, read back as true: full screen is kept.
    const IGameSettings& again = start();
    EXPECT_TRUE(again.getFullScreen());
    EXPECT_FALSE(again.getUseHints());
    EXPECT_EQ(again.getMusicVolume(), 12);
    EXPECT_TRUE(SettingsManager::get()->getDontUseRegistry());
    EXPECT_TRUE(SettingsManager::get()->getFatalError());
}

TEST_F(SettingsManagerTest, StoredValuesOfEachKind) {
    storeText("shutdowncorrect", "false");
    storeText("soundvolume", "128");
    store("musicvolume", 999);
    // A kind the options never use (a list of texts) is skipped.
    store("usehints", 0);
    const std::string path = platform::getSettingsStorePath();
    std::string content = test::readFile(path);
    content += "\"usehardware\"=hex(7):61,00,00,00\n";
    test::writeFile(path, content);

    const IGameSettings& options = start();
    EXPECT_FALSE(options.getFullScreen()) << "an unclean shutdown starts windowed";
    EXPECT_FALSE(SettingsManager::get()->getShutdownCorrect());
    EXPECT_EQ(options.getSoundVolume(), 128);
    EXPECT_EQ(options.getMusicVolume(), 255) << "volumes are kept within 0-255";
    EXPECT_FALSE(options.getUseHints());
    EXPECT_TRUE(options.getUseHardware());
}

TEST_F(SettingsManagerTest, StoredFullScreenOffStartsWindowed) {
    store("fullscreen", 0);
    EXPECT_FALSE(start().getFullScreen());
}

TEST_F(SettingsManagerTest, DamagedStoreGivesTheDefaults) {
    test::writeFile(platform::getSettingsStorePath(), std::string("\0\x01[garbage", 10));
    const IGameSettings& options = start();
    EXPECT_TRUE(options.getFullScreen());
    EXPECT_EQ(options.getSoundVolume(), 255);
}

TEST(IGameSettings, LoadOptionsReadsNumbersAndCopyTakesAll) {
    TestSettings options;
    const RefPtr<PropertyNode> node(new PropertyNode("GameSettngs", ""));
    node->add(new PropertyValue("fullscreen", 0));
    node->add(new PropertyValue("soundvolume", -20));
    node->add(new PropertyValue("usehints", std::string_view("2")));
    options.loadOptions(node.get());
    EXPECT_FALSE(options.getFullScreen());
    EXPECT_EQ(options.getSoundVolume(), 0);
    EXPECT_TRUE(options.getUseHints());
    EXPECT_TRUE(options.getUseHardware()) << "missing keys keep the option";
    options.loadOptions(nullptr);

    TestSettings copy;
    copy.copyFrom(options);
    EXPECT_FALSE(copy.getFullScreen());
    EXPECT_EQ(copy.getSoundVolume(), 0);
}

} // namespace
} // namespace orv
