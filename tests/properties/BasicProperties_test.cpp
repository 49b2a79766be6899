#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

class NamedSettings : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        BasicProperties::create();
    }
    void TearDown() override {
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
    }

    // Files every top-level child of `xml` into the tables, as the definition
    // store does with a "setups" group.
    static void file(const std::string& xml) {
        RefPtr<PropertyStore> store(new PropertyStore());
        ASSERT_TRUE(store->loadText(xml));
        store->createChildren();
    }
    static BasicProperties& settings() { return *BasicProperties::get(); }
};

TEST_F(NamedSettings, HandlersParseEachTypeByItsRule) {
    file(R"(<root>
        <Integer id="hash" value="#1A"/><Integer id="hex" value="0x1A"/><Integer id="dec" value="1A"/>
        <Double id="d" value="2.5e1"/><Double id="noNumber" value="abc"/>
        <Float id="f" value="-0.25"/>
        <Boolean id="capital" value="False"/><Boolean id="zero" value="0"/>
        <Boolean id="empty" value=""/><Boolean id="false" value="false"/>
        <String id="s" value="caf&#xE9;"/><Text id="t">Line\n</Text>
    </root>)");
    EXPECT_EQ(settings().getInteger("hash"), 26);
    EXPECT_EQ(settings().getInteger("hex"), 26);
    EXPECT_EQ(settings().getInteger("dec"), 1);
    EXPECT_DOUBLE_EQ(settings().getDouble("d"), 25.0);
    EXPECT_DOUBLE_EQ(settings().getDouble("noNumber"), 0.0);
    EXPECT_FLOAT_EQ(settings().getFloat("f"), -0.25F);
    EXPECT_TRUE(settings().getBoolean("capital"));
    EXPECT_TRUE(settings().getBoolean("zero"));
    EXPECT_FALSE(settings().getBoolean("empty"));
    EXPECT_FALSE(settings().getBoolean("false"));
    EXPECT_EQ(settings().getString("s"), "caf\xC3\xA9");
    EXPECT_EQ(settings().getTextEntry("t"), L"Line\\n");
}

TEST_F(NamedSettings, NodesAndVectorsAreKeptByReference) {
    RefPtr<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadText(
        R"(<root><Node id="BUTTON" x="1"/><Vector id="list"><Integer value="1"/></Vector></root>)"));
    store->createChildren();
    EXPECT_EQ(settings().getNode("BUTTON").get(), store->getChild("BUTTON"));
    EXPECT_EQ(settings().getVector("list").get(), store->getChild("list"));
    store = nullptr; // the tables keep what they hold alive
    EXPECT_EQ(settings().getNode("BUTTON")->getValue("x")->getInt(), 1);
}

TEST_F(NamedSettings, WrongKindsReadAsTheDummies) {
    RefPtr<PropertyVector> vector(new PropertyVector("v"));
    (void)BasicProperties::fileNode(reinterpret_cast<PropertyNode*>(vector.get()));
    (void)BasicProperties::fileInteger(reinterpret_cast<PropertyNode*>(vector.get()));
    EXPECT_EQ(settings().getNode("v").get(), DUMMY_NODE);
    EXPECT_EQ(settings().getInteger("v"), 0);
}

TEST_F(NamedSettings, LaterEntriesReplaceEarlierOnes) {
    file(R"(<root><Integer id="x" value="1"/><Node id="n"/></root>)");
    file(R"(<root><Integer id="x" value="2"/><Node id="n" y="2"/></root>)");
    EXPECT_EQ(settings().getInteger("x"), 2);
    EXPECT_EQ(settings().getNode("n")->getValue("y")->getInt(), 2);
}

TEST_F(NamedSettings, MissingNamesReadAsDefaultsAndAreInserted) {
    EXPECT_EQ(settings().getInteger("none"), 0);
    EXPECT_EQ(settings().getDouble("none"), 0.0);
    EXPECT_FALSE(settings().getBoolean("none"));
    EXPECT_TRUE(settings().getString("none").empty());
    EXPECT_EQ(settings().getNode("none"), nullptr);
    EXPECT_EQ(settings().getIntegerTable().count("none"), 1U);
}

TEST_F(NamedSettings, GetTextTurnsAnUnderscoreIntoABlank) {
    file(R"(<root><Text id="BLANK">_</Text><Text id="WORD">Hi</Text></root>)");
    EXPECT_EQ(getText("BLANK"), L" ");
    EXPECT_EQ(getText("WORD"), L"Hi");
    EXPECT_EQ(getText("MISSING"), L"");
    EXPECT_EQ(settings().getTextTable().count("MISSING"), 1U);
}

TEST_F(NamedSettings, UnknownTypeNamesAreSkipped) {
    ObjectFactoryContainer::destroyInstance(); // no creators at all
    file(R"(<root><Integer id="x" value="1"/><Mystery id="m"/></root>)");
    EXPECT_EQ(settings().getIntegerTable().count("x"), 0U);
}

TEST(GameNameCache, EmptyUntilTheSettingExistsThenCached) {
    BasicProperties::destroyInstance();
    EXPECT_EQ(getGameName(), "");
    BasicProperties::create();
    EXPECT_EQ(getGameName(), ""); // the key is absent: still not cached
    BasicProperties::get()->getString("GAME_NAME") = "Orvanta";
    BasicProperties::get()->getString("GAME_ID") = "orvanta";
    EXPECT_EQ(getGameName(), "Orvanta");
    EXPECT_EQ(getGameId(), "orvanta");
    BasicProperties::get()->getString("GAME_NAME") = "Changed";
    EXPECT_EQ(getGameName(), "Orvanta");
    BasicProperties::destroyInstance();
}

} // namespace
} // namespace orv
