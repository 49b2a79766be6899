#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/FileArchive.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

// Counts the objects the factory makes from definitions, and how many of
// them are still alive.
struct Made : BaseObject {
    Made() { ++alive; }
    Made(const Made&) = delete;
    Made& operator=(const Made&) = delete;
    ~Made() override { --alive; }
    static inline int alive = 0;
    static inline int made = 0;
};

BaseObject* createMade(PropertyNode* /*definition*/) {
    ++Made::made;
    return new Made();
}

class DefinitionStoreLoad : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        BasicProperties::create();
        Made::made = 0;
    }
    void TearDown() override {
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        FileArchive::shutDown();
    }

    void addDocument(const std::string& name, const std::string& xml) {
        test::writeFile(dir_.file(name), xml);
        getDefinitionStore().addFile(dir_.file(name));
    }
    static BasicProperties& settings() { return *BasicProperties::get(); }

    const test::TempDir dir_;
};

TEST_F(DefinitionStoreLoad, LaterDocumentsWinAndStepsRunInOrder) {
    addDocument("default.xml", R"(<root>
        <Integer id="TOP" value="1"/>
        <Integer id="BOTH" value="1"/>
        <Node id="setups">
            <Integer id="FROM_SETUPS" value="1"/>
            <Node id="BUTTON" width="40" height="20"/>
        </Node>
        <Node id="dialogs"><Dialog id="DIALOG_MENU" title="old"/></Node>
        <Node id="templates"><ToolTip id="DEFAULT_TOOLTIP"/></Node>
    </root>)");
    addDocument("dynamic.xml", R"(<root>
        <Integer id="BOTH" value="2"/>
        <Integer id="FROM_SETUPS" value="2"/>
        <Node id="properties"><Integer id="AFTER_RESOLVE" value="5"/></Node>
        <Node id="dialogs"><Dialog id="DIALOG_MENU" title="new"/></Node>
        <Node id="scenes"><SceneGame id="SCENE_GAME" setup="BUTTON" width="800"/></Node>
    </root>)");
    getDefinitionStore().load();

    EXPECT_EQ(settings().getInteger("TOP"), 1);
    EXPECT_EQ(settings().getInteger("BOTH"), 2);
    // Top-level settings of every document come before any "setups" group.
    EXPECT_EQ(settings().getInteger("FROM_SETUPS"), 1);
    EXPECT_EQ(settings().getInteger("AFTER_RESOLVE"), 5);

    DefinitionStore& store = getDefinitionStore();
    EXPECT_EQ(store.getDialogs()->getNode("DIALOG_MENU")->getValue("title")->getString(), "new");
    EXPECT_EQ(store.getTemplates()->getNode("DEFAULT_TOOLTIP")->getTypeName(), "ToolTip");
    // A scene of one document resolved from a setup of another; its own keys win.
    PropertyNode* scene = store.getScenes()->getNode("SCENE_GAME");
    EXPECT_EQ(scene->getValue("width")->getInt(), 800);
    EXPECT_EQ(scene->getValue("height")->getInt(), 20);
}

TEST_F(DefinitionStoreLoad, TextsKeepTheirWhiteSpace) {
    addDocument("text.xml", "<root><Text id=\"TEXT\">  Two\n  lines </Text></root>");
    getDefinitionStore().load();
    EXPECT_EQ(getText("TEXT"), L"  Two\n  lines ");
}

TEST_F(DefinitionStoreLoad, ReloadStartsTheDefinitionsAfresh) {
    addDocument("a.xml", R"(<root><Node id="scenes"><Scene id="S1"/></Node></root>)");
    getDefinitionStore().load();
    PropertyNode* scenes = getDefinitionStore().getScenes();
    getDefinitionStore().addFile(dir_.file("missing.xml")); // adds nothing
    test::writeFile(dir_.file("a.xml"),
                    R"(<root><Node id="scenes"><Scene id="S2"/></Node></root>)");
    getDefinitionStore().load();
    EXPECT_EQ(getDefinitionStore().getScenes(), scenes); // the same node, emptied and refilled
    EXPECT_EQ(scenes->getChild("S1"), nullptr);
    EXPECT_NE(scenes->getChild("S2"), nullptr);
}

TEST_F(DefinitionStoreLoad, ObjectsMadeFromTopLevelDefinitionsAreDroppedAtOnce) {
    ObjectFactoryContainer::get().registerCreator("Made", &createMade);
    addDocument("a.xml", R"(<root><Made id="one"/><Unknown id="two"/>
        <Node id="dialogs"><Made id="notBuilt"/></Node></root>)");
    getDefinitionStore().load();
    EXPECT_EQ(Made::made, 1); // definitions in the groups are only kept
    EXPECT_EQ(Made::alive, 0);
    EXPECT_NE(getDefinitionStore().getDialogs()->getChild("notBuilt"), nullptr);
}

TEST_F(DefinitionStoreLoad, ThePropertiesGroupIsMadeOnlyThroughItsChildren) {
    ObjectFactoryContainer::get().registerCreator("Made", &createMade);
    addDocument("a.xml", R"(<root><Group id="properties"><Made id="one"/></Group></root>)");
    const test::LogCapture log;
    getDefinitionStore().load();
    EXPECT_EQ(Made::made, 1);
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
}

TEST_F(DefinitionStoreLoad, SetupsNamingThemselvesStillLoad) {
    addDocument("a.xml", R"(<root>
        <Node id="setups">
            <Node id="PANEL" x="1" setup="PANEL"><Panel id="inner" setup="PANEL"/></Node>
        </Node>
        <Node id="scenes"><Scene id="S" setup="PANEL"/></Node>
    </root>)");
    getDefinitionStore().load();
    PropertyNode* scene = getDefinitionStore().getScenes()->getNode("S");
    EXPECT_EQ(scene->getValue("x")->getInt(), 1);
    EXPECT_EQ(scene->getNode("inner")->getValue("x")->getInt(), 1);
}

TEST_F(DefinitionStoreLoad, ConstantsAreCopiedAfterEveryLoad) {
    getDefinitionStore().setConstantsHook(new GameConstants());
    addDocument("mahjong.xml", R"(<root><Integer id="TILE_WIDTH" value="48"/>
        <Integer id="TILE_FLASH_COLOR" value="#80FFFFFF"/></root>)");
    getDefinitionStore().load();
    EXPECT_EQ(TILE_WIDTH, 48);
    EXPECT_EQ(static_cast<unsigned>(TILE_FLASH_COLOR), 0x80FFFFFFU);
    EXPECT_EQ(TILE_HEIGHT, 0); // defined nowhere
    // After the copy the table holds every constant's name.
    for (std::string_view name : GameConstants::getNames()) {
        EXPECT_EQ(settings().getIntegerTable().count(std::string(name)), 1U) << name;
    }
    EXPECT_EQ(GameConstants::getNames().size(), 141U);

    test::writeFile(dir_.file("mahjong.xml"),
                    R"(<root><Integer id="TILE_WIDTH" value="52"/></root>)");
    getDefinitionStore().load();
    EXPECT_EQ(TILE_WIDTH, 52);
}

} // namespace
} // namespace orv
