#include "engine/platform/RegistryKey.h"

#include "engine/system/Platform.h"
#include "tests/platform/FrameTestSetup.h"

namespace orv {
namespace {

using RegistryKeyTest = test::FrameTest;

TEST(RegistryKeyPath, SplitsAtTheLastSeparator) {
    struct Case {
        std::string_view fullPath;
        std::string_view keyPath;
        std::string_view valueName;
    };
    const Case cases[] = {
        {"Software/Vantrel/Games/game1/qrv/total", "Software\\Vantrel\\Games\\game1\\qrv", "total"},
        {"a\\b\\", "a", "b"},
        {"name", "", "name"},
        {"\\name", "", "\\name"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const RegistryKey::Path path = RegistryKey::normalizePath(c.fullPath);
        EXPECT_EQ(path.keyPath, c.keyPath) << c.fullPath;
        EXPECT_EQ(path.valueName, c.valueName) << c.fullPath;
    }
}

TEST_F(RegistryKeyTest, ReadsFallBackToTheDefaultAndWritesKeepTheKind) {
    EXPECT_EQ(gameRegistryPath(), "Software\\Vantrel\\Games\\game1");
    const std::string total = gameRegistryPath() + "\\qrv\\total";

    RegistryKey missing(total, false);
    missing.setDefaultValue(17);
    EXPECT_EQ(missing.readValue(), 17U);
    EXPECT_FALSE(missing.isOk());

    RegistryKey writer(total, true);
    EXPECT_TRUE(writer.isForced());
    ASSERT_TRUE(writer.writeDword(4000000000U));
    EXPECT_TRUE(writer.isOk());
    RegistryKey reader("software/vantrel/games/GAME1/qrv/TOTAL", false);
    EXPECT_EQ(reader.readValue(), 4000000000U);
    EXPECT_TRUE(reader.isOk());

    // A text value does not read as a number.
    RegistryKey name = RegistryKey::initStringValue(gameRegistryPath() + "\\name", false, "x");
    ASSERT_TRUE(name.writeString(name.getText()));
    const auto stored = platform::readSettingsValue(gameRegistryPath(), "name");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::SettingsValueType::String);
    RegistryKey asNumber(gameRegistryPath() + "\\name", false);
    asNumber.setDefaultValue(5);
    EXPECT_EQ(asNumber.readValue(), 5U);
    EXPECT_FALSE(asNumber.isOk());
}

} // namespace
} // namespace orv
