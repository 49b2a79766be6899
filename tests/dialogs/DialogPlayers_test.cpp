#include "engine/gui/Button.h"
#include "engine/gui/InputLabel.h"
#include "engine/scene/Label.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/dialogs/DialogPlayerSelect.h"
#include "game/players/AbstractPlayer.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerFiles.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "tests/dialogs/DialogFixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {
namespace {

constexpr const char* kPlayerDialogDefinitions = R"(<root>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
    <DialogYesNo id="DIALOG_YESNO" width="200" height="100">
        <Vector id="components">
            <Label name="HEADER" x="100" y="10"/>
            <Label name="MESSAGE" x="100" y="30" width="100"/>
            <Button name="BUTTON_YES" x="20" y="30" width="50" height="20"/>
            <Button name="BUTTON_NO" x="120" y="30" width="50" height="20"/>
        </Vector>
    </DialogYesNo>
    <DialogPlayerSelect id="DIALOG_PLAYERSELECT" width="300" height="400" spacing="40">
        <Button id="namebutton" x="20" y="50" width="200" height="30"/>
        <Label id="namelabel" x="0" y="4" width="200" height="20"/>
        <Vector id="components">
            <Sprite name="BORDER" x="14" y="-5" width="212" height="40"/>
            <Button name="BUTTON_ADD" x="10" y="300" width="80" height="30"/>
            <Button name="BUTTON_REMOVE" x="110" y="300" width="80" height="30"/>
            <Button name="BUTTON_OK" x="210" y="300" width="80" height="30"/>
        </Vector>
    </DialogPlayerSelect>
    <DialogNameInput id="DIALOG_NEWPLAYER" width="300" height="200">
        <Vector id="components">
            <Label name="SUB" x="10" y="40" width="280" height="24"/>
            <InputLabel name="INPUT_NAME" x="20" y="60" width="260" height="30">
                <Label id="label" x="4" y="4" width="250" height="20"/>
            </InputLabel>
            <Button name="BUTTON_OK" x="20" y="140" width="100" height="30"/>
            <Button name="BUTTON_CANCEL" x="180" y="140" width="100" height="30"/>
        </Vector>
    </DialogNameInput>
</Node>
</root>)";

std::vector<Scene*>& greetings() {
    static std::vector<Scene*> scenes;
    return scenes;
}

class PlayerDialogsTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("MIN_NUM_SHUFFLES") = 0;
        settings.getInteger("MAX_NUM_SHUFFLES") = 5;
        settings.getInteger("MIN_NUM_HINTS") = 1;
        settings.getInteger("MAX_NUM_HINTS") = 9;
        GameConstants().apply();
        registerPlayerClasses();
        TrophyList::setDefinitionFile(ORVANTA_PLAYERS_FIXTURES "/trophies_short.xml");
        PlayerManager::create(false, "7.1").setDataFolder(dir_.path().string());
        greetings().clear();
        setPlayerGreeting([](Scene* scene) { greetings().push_back(scene); });
    }
    void TearDown() override {
        setPlayerGreeting(nullptr);
        PlayerManager::destroyInstance();
        TrophyList::setDefinitionFile({});
        DialogFixture::TearDown();
    }

    static PlayerManager& players() { return *PlayerManager::get(); }
    static void addPlayers(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            ASSERT_NE(players().addPlayer(new OrvantaPlayer(name)), nullptr) << name;
        }
    }
    static std::string current() {
        const AbstractPlayer* player = players().getCurrentPlayer();
        return player != nullptr ? player->getName() : std::string("(none)");
    }
    static void makeCurrent(std::string_view name) {
        ASSERT_TRUE(players().setCurrentPlayer(
            players().getPlayers().at(players().findPlayer(name)).get()));
    }
    static std::vector<std::string> names() {
        std::vector<std::string> list;
        for (const auto& player : players().getPlayers()) {
            list.push_back(player->getName());
        }
        return list;
    }
    static DialogNameInput* nameInput(Scene& scene) {
        return kindCast<DialogNameInput>(scene.getDialog("DIALOG_NEWPLAYER"));
    }
    static DialogPlayerSelect* selection(Scene& scene) {
        return kindCast<DialogPlayerSelect>(scene.getDialog("DIALOG_PLAYERSELECT"));
    }
    static std::vector<std::wstring> slotTexts(const DialogPlayerSelect& dialog) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < static_cast<int>(kMaxPlayers); ++i) {
            texts.push_back(dialog.getNameLabel(i)->getText());
        }
        return texts;
    }
};

struct NameCase {
    std::wstring typed;
    std::string name;
};

TEST(PlayerName, TypedTextBecomesACleanBoundedUtf8Name) {
    const std::string longest(kMaxPlayerNameBytes, 'a');
    const std::vector<NameCase> cases{
        {L"  Ada  ", "Ada"},
        {L"\tBo\t", "Bo"},
        {L"A\tB", "A B"},
        {L"A\x01"
         L"B\x7F"
         L"C\x85"
         L"D\n",
         "ABCD"},
        {L"Zo\u00EB \u4E2D", "Zo\xC3\xAB \xE4\xB8\xAD"},
        {std::wstring(L"x") + static_cast<wchar_t>(0xD800) + L"y", "xy"},
        {L"   ", ""},
        {L"\x01\x02", ""},
        {std::wstring(kMaxPlayerNameBytes + 10, L'a'), longest},
        // A character that would pass the limit is left out whole.
        {std::wstring(kMaxPlayerNameBytes - 1, L'a') + L"\u00E9", longest.substr(1)},
        // A blank the cut leaves at the end goes too.
        {std::wstring(kMaxPlayerNameBytes - 1, L'a') + L" b", longest.substr(1)},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(DialogNameInput::makePlayerName(c.typed), c.name)
            << std::string(c.typed.begin(), c.typed.end());
    }
}

TEST_F(PlayerDialogsTest, TheFirstNameCannotBeDeclinedAndMakesTheCurrentPlayer) {
    Scene& scene = startScene(kPlayerDialogDefinitions);
    DialogNameInput* input = nameInput(scene);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->getCancelButton(), nullptr);
    EXPECT_TRUE(input->findComponent("BUTTON_CANCEL")->hasRemovalMark());
    EXPECT_EQ(input->getOkButton()->getX(), (20 + 180) / 2);
    scene.showDialog(input);
    EXPECT_FALSE(input->getOkButton()->isEnabled());

    // Neither the cancel callback nor Escape lets the guest in without a name.
    DialogNameInput::onCancel(input, nullptr);
    DialogNameInput::onOk(input, nullptr);
    EXPECT_TRUE(scene.isDialogOpen("DIALOG_NEWPLAYER"));
    EXPECT_TRUE(players().getPlayers().empty());

    input->getInput()->setText(L"  Ada ", true);
    EXPECT_EQ(input->getInput()->getText(), L"Ada ");
    EXPECT_TRUE(input->getOkButton()->isEnabled());
    DialogNameInput::onOk(input, nullptr);
    EXPECT_EQ(names(), std::vector<std::string>{"Ada"});
    EXPECT_EQ(current(), "Ada");
    EXPECT_TRUE(std::filesystem::exists(players().getListPath()));
    EXPECT_EQ(greetings(), std::vector<Scene*>{&scene});
    runFrames(3, kFadeMs);
    EXPECT_FALSE(scene.isDialogOpen("DIALOG_NEWPLAYER"));
}

TEST_F(PlayerDialogsTest, ATakenNameSelectsItsPlayerAndDifferentNamesNeverShareOne) {
    addPlayers({"Ada", "Bo"});
    Scene& scene = startScene(kPlayerDialogDefinitions);
    DialogNameInput* input = nameInput(scene);
    ASSERT_NE(input->getCancelButton(), nullptr);
    scene.showDialog(input);
    input->getInput()->setText(L"Ada", true);
    DialogNameInput::onOk(input, nullptr);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ada", "Bo"}));
    EXPECT_EQ(current(), "Ada");

    for (const std::string name : {"ada", "Ada.", "A-41-da"}) {
        ASSERT_TRUE(chooseOrAddPlayer(name)) << name;
        EXPECT_EQ(current(), name);
    }
    EXPECT_EQ(players().getPlayers().size(), kMaxPlayers);
    // The list is full: a new name is refused, a listed one still chosen.
    EXPECT_FALSE(chooseOrAddPlayer("Cy"));
    EXPECT_TRUE(chooseOrAddPlayer("Bo"));
    EXPECT_EQ(current(), "Bo");
}

TEST_F(PlayerDialogsTest, CancelShowsTheSelectionAgainAndAnEmptySlotAsksForAName) {
    addPlayers({"Ada", "Bo"});
    Scene& scene = startScene(kPlayerDialogDefinitions);
    DialogPlayerSelect* select = selection(scene);
    scene.showDialog(select);
    EXPECT_EQ(slotTexts(*select), (std::vector<std::wstring>{L"Ada", L"Bo", L"", L"", L""}));
    EXPECT_TRUE(select->getAddButton()->isEnabled());
    EXPECT_TRUE(select->getRemoveButton()->isEnabled());

    DialogPlayerSelect::onNameButton(select, select->getNameButton(3));
    auto* input = kindCast<DialogNameInput>(scene.findDialog("DIALOG_NEWPLAYER"));
    ASSERT_TRUE(scene.isDialogOpen("DIALOG_NEWPLAYER"));
    EXPECT_EQ(input->getOpener(), select);
    EXPECT_FALSE(select->isVisible());
    DialogNameInput::onCancel(input, nullptr);
    EXPECT_FALSE(scene.isDialogOpen("DIALOG_NEWPLAYER"));
    EXPECT_TRUE(select->isVisible());

    // Made from the selection, the new player closes it too.
    DialogPlayerSelect::onAdd(select, nullptr);
    input->getInput()->setText(L"Cy", true);
    DialogNameInput::onOk(input, nullptr);
    EXPECT_EQ(current(), "Cy");
    EXPECT_FALSE(scene.isDialogOpen("DIALOG_PLAYERSELECT"));
}

TEST_F(PlayerDialogsTest, ANameChoosesItsPlayerAndTheFrameFollows) {
    addPlayers({"Ada", "Bo", "Cy"});
    Scene& scene = startScene(kPlayerDialogDefinitions);
    DialogPlayerSelect* select = selection(scene);
    EXPECT_EQ(select->getSelected(), 0);
    EXPECT_EQ(select->getBorder()->getY(), 50 - 5);

    DialogPlayerSelect::onNameButton(select, select->getNameButton(2));
    EXPECT_EQ(current(), "Cy");
    EXPECT_EQ(select->getSelected(), 2);
    EXPECT_EQ(select->getBorder()->getY(), 50 + 2 * 40 - 5);

    DialogPlayerSelect::onOk(select, nullptr);
    EXPECT_EQ(greetings(), std::vector<Scene*>{&scene});
}

struct RemoveCase {
    std::vector<std::string> listed;
    std::string removed;
    std::string successor;
};

TEST_F(PlayerDialogsTest, RemovingTheCurrentPlayerHandsOverToTheNextOrThePrevious) {
    const std::vector<RemoveCase> cases{
        {{"Ada", "Bo", "Cy"}, "Ada", "Bo"},
        {{"Ada", "Bo", "Cy"}, "Bo", "Cy"},
        {{"Ada", "Bo", "Cy"}, "Cy", "Bo"},
        {{"Ada", "Bo"}, "Bo", "Ada"},
    };
    for (const RemoveCase& c : cases) {
        SCOPED_TRACE(c.removed);
        PlayerManager::destroyInstance();
        const TempDir folder;
        PlayerManager::create(false, "7.1").setDataFolder(folder.path().string());
        addPlayers(c.listed);
        makeCurrent(c.removed);
        const std::string profile = players().getProfilePath(c.removed);
        ASSERT_TRUE(players().savePlayers());
        ASSERT_TRUE(std::filesystem::exists(profile));

        Scene& scene = SceneManager::getInstance() != nullptr
                           ? *SceneManager::getInstance()->getCurrent()
                           : startScene(kPlayerDialogDefinitions);
        DialogPlayerSelect* select = selection(scene);
        DialogPlayerSelect::onRemove(select, nullptr);
        ASSERT_TRUE(scene.isDialogOpen("TEXT_REMOVE_PLAYER"));
        DialogPlayerSelect::onRemoveConfirmed(select, nullptr);
        EXPECT_EQ(current(), c.successor);
        EXPECT_EQ(players().findPlayer(c.removed), players().getPlayers().size());
        EXPECT_FALSE(std::filesystem::exists(profile));
        EXPECT_EQ(select->getSelected(), static_cast<int>(players().findPlayer(c.successor)));
        EXPECT_EQ(select->getRemoveButton()->isEnabled(), players().getPlayers().size() > 1);
        runFrames(3, kFadeMs);
        EXPECT_FALSE(scene.isDialogOpen("TEXT_REMOVE_PLAYER"));
        closeDialogOfCurrentScene("DIALOG_PLAYERSELECT");
    }
}

TEST_F(PlayerDialogsTest, MorePlayersOnFileThanSlotsShowTheFirstFiveAndRemoveTheCurrent) {
    addPlayers({"P1", "P2", "P3", "P4", "P5", "P6", "P7"});
    makeCurrent("P7");
    Scene& scene = startScene(kPlayerDialogDefinitions);
    DialogPlayerSelect* select = selection(scene);
    EXPECT_EQ(slotTexts(*select), (std::vector<std::wstring>{L"P1", L"P2", L"P3", L"P4", L"P5"}));
    EXPECT_EQ(select->getSelected(), -1);
    EXPECT_FALSE(select->getBorder()->isVisible());
    EXPECT_FALSE(select->getAddButton()->isEnabled());
    DialogPlayerSelect::onAdd(select, nullptr);
    EXPECT_FALSE(scene.isDialogOpen("DIALOG_NEWPLAYER"));

    DialogPlayerSelect::onRemoveConfirmed(select, nullptr);
    EXPECT_EQ(players().getPlayers().size(), 6U);
    EXPECT_EQ(current(), "P6");
    EXPECT_EQ(players().findPlayer("P7"), players().getPlayers().size());
    EXPECT_EQ(slotTexts(*select), (std::vector<std::wstring>{L"P1", L"P2", L"P3", L"P4", L"P5"}));
}

} // namespace
} // namespace orv::test
