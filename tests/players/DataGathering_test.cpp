#include "game/players/DataGathering.h"

#include "engine/platform/RegistryKey.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/system/Platform.h"
#include "tests/players/PlayersFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orv {
namespace {

class DataGatheringTest : public test::PlayersTest {
protected:
    DataGatheringTest() {
        platform::setMillisecondClock([this] { return now; });
    }
    ~DataGatheringTest() override {
        DataGathering::finish();
        platform::setMillisecondClock({});
    }

    [[nodiscard]] RefPtr<PropertyStore> record() const {
        return readStore(temp.file("gd.xml"), false);
    }

    static std::uint32_t totalPlayingTime() {
        RegistryKey total(gameRegistryPath() + "\\qrv\\totalplayingtime", false);
        return total.readValue();
    }

    std::uint32_t now = 1000;
};

TEST_F(DataGatheringTest, TwoRunsAppendTheirSessions) {
    const std::uint32_t totalBefore = totalPlayingTime();
    DataGathering& first = DataGathering::start(temp.path().string());
    EXPECT_TRUE(first.isSessionClosed());
    first.beginSession(0, 1);
    EXPECT_FALSE(first.isSessionClosed());
    RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
    first.addRecord(*event);
    EXPECT_EQ(first.getSessions().back().events.size(), 1U);
    first.closeSession();
    EXPECT_TRUE(first.isSessionClosed());
    now += 5400;
    DataGathering::finish();
    EXPECT_EQ(DataGathering::get(), nullptr);
    EXPECT_EQ(totalPlayingTime(), totalBefore + 5);

    DataGathering& second = DataGathering::start(temp.path().string());
    EXPECT_EQ(second.getTotalPlayingTime(), totalBefore + 5);
    second.beginSession(0, 2);
    second.beginSession(-1, 2);
    second.closeSession();
    now += 3000;
    DataGathering::finish();
    EXPECT_EQ(totalPlayingTime(), totalBefore + 8);

    const RefPtr<PropertyStore> store = record();
    const PropertyNode* root = store->getNode("DataGathering");
    EXPECT_EQ(root->getTypeName(), "DataGathering");
    ASSERT_EQ(root->getElements().size(), 2U);
    EXPECT_EQ(root->getElements()[0]->getName(), "SystemInfo") << "the facts come first";
    const PropertyVector* sessions = root->getVector("PlayingSessions");
    ASSERT_EQ(sessions->size(), 3U);
    const std::vector<std::string> keys{"StartTime",  "EndTime",  "GameMode",    "NumOfPlayers",
                                        "FullScreen", "BitDepth", "ScreenWidth", "ScreenHeight"};
    const PropertyNode* firstSession = asNode(sessions->at(0));
    ASSERT_EQ(firstSession->getElements().size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(firstSession->getElements()[i]->getName(), keys[i]);
    }
    EXPECT_EQ(firstSession->getTypeName(), "PlayingSession");
    EXPECT_GE(firstSession->getValue("EndTime")->getInt(),
              firstSession->getValue("StartTime")->getInt());
    EXPECT_GT(firstSession->getValue("StartTime")->getInt(), 0);
    EXPECT_EQ(firstSession->getValue("NumOfPlayers")->getInt(), 1);
    EXPECT_EQ(firstSession->getChild("events"), nullptr) << "events are not written";
    EXPECT_EQ(asNode(sessions->at(1))->getValue("EndTime")->getInt(), 0)
        << "a session followed by another keeps no end time";
    EXPECT_EQ(asNode(sessions->at(2))->getValue("GameMode")->getInt(), -1);
    EXPECT_GT(asNode(sessions->at(2))->getValue("EndTime")->getInt(), 0);

    const auto path = platform::readSettingsValue(gameRegistryPath() + "\\qrv", "dgfilename");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->text, temp.file("gd.xml"));
}

TEST_F(DataGatheringTest, SystemFactsWithoutSessions) {
    DataGathering::start(temp.path().string());
    DataGathering::finish();
    const RefPtr<PropertyStore> store = record();
    const PropertyNode* facts = store->getNode("DataGathering")->getNode("SystemInfo");
    std::vector<std::string> keys;
    for (const RefPtr<AbstractProperty>& child : facts->getElements()) {
        keys.push_back(child->getName());
    }
    EXPECT_EQ(keys,
              (std::vector<std::string>{"GameId", "CompName", "CPUSpeed", "CPUType", "NumberOfCPUs",
                                        "CPUCaps", "OSName", "WinBuild", "SysMem", "DirectX",
                                        "ScreenWidth", "ScreenHeight", "BitDepth"}));
    EXPECT_EQ(facts->getValue("CPUCaps")->getInt(), 0);
    EXPECT_EQ(facts->getValue("CPUCaps")->getTypeName(), "Integer");
    EXPECT_EQ(facts->getValue("DirectX")->getString(), "#0900");
    EXPECT_GT(facts->getValue("NumberOfCPUs")->getInt(), 0);
    EXPECT_EQ(store->getNode("DataGathering")->getVector("PlayingSessions")->size(), 0U);
}

TEST_F(DataGatheringTest, TheFileKeepsOnlyTheLastSessions) {
    std::string xml = "<?xml version=\"1.0\"?><root><DataGathering id=\"DataGathering\">"
                      "<Vector id=\"PlayingSessions\">";
    for (std::size_t i = 0; i < DataGathering::kMaxStoredSessions; ++i) {
        xml += "<PlayingSession><Integer id=\"GameMode\">" + std::to_string(i) +
               "</Integer></PlayingSession>";
    }
    xml += "</Vector></DataGathering></root>";
    test::writeFile(temp.path() / "gd.xml", xml);

    DataGathering& usage = DataGathering::start(temp.path().string());
    usage.beginSession(7000, 1);
    usage.beginSession(7001, 1);
    DataGathering::finish();
    const RefPtr<PropertyStore> store = record();
    const PropertyVector* sessions = store->getNode("DataGathering")->getVector("PlayingSessions");
    ASSERT_EQ(sessions->size(), DataGathering::kMaxStoredSessions);
    EXPECT_EQ(asNode(sessions->at(0))->getValue("GameMode")->getInt(), 2);
    EXPECT_EQ(asNode(sessions->at(static_cast<std::ptrdiff_t>(sessions->size() - 1)))
                  ->getValue("GameMode")
                  ->getInt(),
              7001);
}

TEST_F(DataGatheringTest, RecordsWithoutASessionAndABrokenFile) {
    test::QuietLog quiet;
    test::writeFile(temp.path() / "gd.xml", "<root><unclosed");
    DataGathering& usage = DataGathering::start(temp.path().string());
    RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
    usage.addRecord(*event);
    usage.closeSession();
    EXPECT_TRUE(usage.getSessions().empty());
    DataGathering::finish();
    DataGathering::finish();
    const RefPtr<PropertyStore> store = record();
    EXPECT_EQ(store->getNode("DataGathering")->getNode("SystemInfo")->getTypeName(), "SystemInfo");
    // The broken record is kept beside the new one, as it was.
    std::vector<std::string> kept;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path())) {
        if (entry.path().filename().string().starts_with("gd.xml.unreadable-")) {
            kept.push_back(test::readFile(entry.path()));
        }
    }
    EXPECT_EQ(kept, std::vector<std::string>{"<root><unclosed"});
}

} // namespace
} // namespace orv
