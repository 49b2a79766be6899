#include "game/dialogs/DialogSelectBackground.h"

#include "engine/gui/Button.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "tests/dialogs/DialogFixture.h"

#include <cstring>
#include <string>
#include <vector>

namespace orv::test {
namespace {

constexpr const char* kChooserDefinitions = R"(<root>
<Text id="TEXT_BACKGROUND0" value="Hall"/>
<Text id="TEXT_BACKGROUND10" value="Tower"/>
<Text id="TEXT_TILESET0" value="Ivory"/>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
  <DialogSelectBackground id="DIALOG_SELECT_BACKGROUND" width="500" height="400">
    <Vector id="components">
      <Sprite name="BACKGROUND_PREVIEW" x="10" y="10" width="171" height="228"/>
      <Sprite name="TILESET_PREVIEW" x="300" y="10" width="94" height="228"/>
      <Sprite name="BACKGROUND_LOCK" x="60" y="80" width="40" height="40"/>
      <Sprite name="TILESET_LOCK" x="320" y="80" width="40" height="40"/>
      <Sprite name="NEW_BACK" x="10" y="10" width="40" height="20"/>
      <Sprite name="NEW_TILE" x="300" y="10" width="40" height="20"/>
      <Label name="LABEL_BACKGROUND" x="10" y="240" width="171" height="20"/>
      <Label name="LABEL_TILESET" x="300" y="240" width="94" height="20"/>
      <Label name="LABEL_BACKGROUND_COUNT" x="10" y="260" width="171" height="20"/>
      <Label name="LABEL_TILESET_COUNT" x="300" y="260" width="94" height="20"/>
      <Button name="BUTTON_PREV_BACKGROUND" x="10" y="280" width="30" height="30"/>
      <Button name="BUTTON_NEXT_BACKGROUND" x="150" y="280" width="30" height="30"/>
      <Button name="BUTTON_PREV_TILESET" x="300" y="280" width="30" height="30"/>
      <Button name="BUTTON_NEXT_TILESET" x="360" y="280" width="30" height="30"/>
      <Button name="BUTTON_OK" x="100" y="340" width="100" height="30"/>
      <Button name="BUTTON_CANCEL" x="300" y="340" width="100" height="30"/>
    </Vector>
  </DialogSelectBackground>
</Node>
</root>)";

// unlockedStuff entries of the chooser's groups.
constexpr std::size_t kBackgroundsA = 6;
constexpr std::size_t kBackgroundsB = 16;
constexpr std::size_t kTileSet1 = 2;
constexpr std::size_t kTileSet2 = 9;
constexpr std::size_t kTileSet3 = 14;

class DialogSelectBackgroundTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        PlayerManager::create(false, "7.1").setDataFolder(dir_.path().string());
        player_ = new OrvantaPlayer("Ada");
        ASSERT_NE(PlayerManager::get()->addPlayer(player_), nullptr);
        ASSERT_TRUE(PlayerManager::get()->setCurrentPlayer(player_));
        scene_ = &startScene(kChooserDefinitions);
    }
    void TearDown() override {
        PlayerManager::destroyInstance();
        DialogFixture::TearDown();
    }

    DialogSelectBackground& open() {
        auto* chooser =
            kindCast<DialogSelectBackground>(scene_->getDialog("DIALOG_SELECT_BACKGROUND"));
        EXPECT_NE(chooser, nullptr);
        scene_->showDialog(chooser);
        return *chooser;
    }
    template <class T>
    static T* part(DialogSelectBackground& chooser, const char* name) {
        return kindCast<T>(chooser.findComponent(name));
    }
    static bool shown(DialogSelectBackground& chooser, const char* name) {
        return part<Sprite>(chooser, name)->isVisible();
    }
    static bool enabled(DialogSelectBackground& chooser, const char* name) {
        return part<Button>(chooser, name)->isEnabled();
    }

    OrvantaPlayer* player_ = nullptr;
    Scene* scene_ = nullptr;
};

TEST_F(DialogSelectBackgroundTest, FirstChoicesShowTheirCountsAndEndButtons) {
    DialogSelectBackground& chooser = open();
    EXPECT_EQ(part<Label>(chooser, "LABEL_BACKGROUND_COUNT")->getText(), L"1/11");
    EXPECT_EQ(part<Label>(chooser, "LABEL_TILESET_COUNT")->getText(), L"1/4");
    EXPECT_EQ(part<Label>(chooser, "LABEL_BACKGROUND")->getText(), L"Hall");
    EXPECT_EQ(part<Label>(chooser, "LABEL_TILESET")->getText(), L"Ivory");
    EXPECT_FALSE(enabled(chooser, "BUTTON_PREV_BACKGROUND"));
    EXPECT_TRUE(enabled(chooser, "BUTTON_NEXT_BACKGROUND"));
    EXPECT_TRUE(enabled(chooser, "BUTTON_OK"));
    for (const char* name : {"BACKGROUND_LOCK", "TILESET_LOCK", "NEW_BACK", "NEW_TILE"}) {
        EXPECT_FALSE(shown(chooser, name)) << name;
    }

    player_->unlockedStuff.fill(OrvantaPlayer::kOpen);
    for (int i = 0; i < 12; ++i) {
        DialogSelectBackground::onNextBackground(&chooser, nullptr);
    }
    EXPECT_EQ(chooser.getBackgroundIndex(), 10) << "stops at the last";
    EXPECT_EQ(part<Label>(chooser, "LABEL_BACKGROUND")->getText(), L"Tower");
    EXPECT_EQ(part<Label>(chooser, "LABEL_BACKGROUND_COUNT")->getText(), L"11/11");
    EXPECT_FALSE(enabled(chooser, "BUTTON_NEXT_BACKGROUND"));
    EXPECT_TRUE(enabled(chooser, "BUTTON_PREV_BACKGROUND"));
}

struct LockCase {
    const char* name;
    bool background; ///< else the tile set
    int index;
    std::size_t entry; ///< the entry that unlocks it; none for always open
};

const std::vector<LockCase> kLockCases = {
    {"Background2AlwaysOpen", true, 2, 99},    {"Background3", true, 3, kBackgroundsA},
    {"Background6", true, 6, kBackgroundsA},   {"Background7", true, 7, kBackgroundsB},
    {"Background10", true, 10, kBackgroundsB}, {"TileSet0AlwaysOpen", false, 0, 99},
    {"TileSet1", false, 1, kTileSet1},         {"TileSet2", false, 2, kTileSet2},
    {"TileSet3", false, 3, kTileSet3},
};

// A lock case is named by its own name.
std::string lockCaseName(const testing::TestParamInfo<LockCase>& param) {
    return param.param.name;
}

class ChooserLocks : public DialogSelectBackgroundTest,
                     public testing::WithParamInterface<LockCase> {};

TEST_P(ChooserLocks, FollowTheirUnlockEntry) {
    const LockCase& c = GetParam();
    const auto locked = [&c](const std::array<int, 20>& unlocked) {
        return c.background ? DialogSelectBackground::isBackgroundLocked(c.index, unlocked)
                            : DialogSelectBackground::isTileSetLocked(c.index, unlocked);
    };
    std::array<int, 20> unlocked{};
    EXPECT_EQ(locked(unlocked), c.entry != 99);
    if (c.entry == 99) {
        return;
    }
    unlocked.fill(OrvantaPlayer::kOpen);
    unlocked.at(c.entry) = OrvantaPlayer::kLocked;
    EXPECT_TRUE(locked(unlocked)) << "only its own entry counts";
    for (int state : {OrvantaPlayer::kNewlyOpened, OrvantaPlayer::kOpen}) {
        unlocked.fill(OrvantaPlayer::kLocked);
        unlocked.at(c.entry) = state;
        EXPECT_FALSE(locked(unlocked)) << state;
    }
}

INSTANTIATE_TEST_SUITE_P(DialogSelectBackground, ChooserLocks, testing::ValuesIn(kLockCases),
                         lockCaseName);

TEST_F(DialogSelectBackgroundTest, ALockShownDisablesOkUntilAnOpenChoiceIsBrowsedTo) {
    DialogSelectBackground& chooser = open();
    for (int i = 0; i < 3; ++i) {
        DialogSelectBackground::onNextBackground(&chooser, nullptr);
    }
    EXPECT_TRUE(shown(chooser, "BACKGROUND_LOCK"));
    EXPECT_FALSE(enabled(chooser, "BUTTON_OK"));
    DialogSelectBackground::onNextTileSet(&chooser, nullptr);
    EXPECT_TRUE(shown(chooser, "TILESET_LOCK"));
    DialogSelectBackground::onPrevBackground(&chooser, nullptr);
    EXPECT_FALSE(shown(chooser, "BACKGROUND_LOCK"));
    EXPECT_FALSE(enabled(chooser, "BUTTON_OK")) << "the tile set's lock still shows";
    DialogSelectBackground::onPrevTileSet(&chooser, nullptr);
    EXPECT_TRUE(enabled(chooser, "BUTTON_OK"));
}

TEST_F(DialogSelectBackgroundTest, OkStoresBothChoicesAndMarksTheNewOnesShownAsSeen) {
    player_->unlockedStuff.at(kBackgroundsA) = OrvantaPlayer::kNewlyOpened;
    player_->unlockedStuff.at(kBackgroundsB) = OrvantaPlayer::kNewlyOpened;
    player_->unlockedStuff.at(kTileSet1) = OrvantaPlayer::kNewlyOpened;
    DialogSelectBackground& chooser = open();
    for (int i = 0; i < 4; ++i) {
        DialogSelectBackground::onNextBackground(&chooser, nullptr);
    }
    EXPECT_TRUE(shown(chooser, "NEW_BACK"));
    DialogSelectBackground::onNextTileSet(&chooser, nullptr);
    EXPECT_TRUE(shown(chooser, "NEW_TILE"));
    DialogSelectBackground::onOk(&chooser, nullptr);

    EXPECT_EQ(player_->background, 4);
    EXPECT_EQ(player_->tileset, 1);
    EXPECT_EQ(player_->unlockedStuff.at(kBackgroundsA), OrvantaPlayer::kOpen);
    EXPECT_EQ(player_->unlockedStuff.at(kTileSet1), OrvantaPlayer::kOpen);
    EXPECT_EQ(player_->unlockedStuff.at(kBackgroundsB), OrvantaPlayer::kNewlyOpened)
        << "never browsed to: still new";
    EXPECT_TRUE(chooser.isClosing());
}

TEST_F(DialogSelectBackgroundTest, CancelKeepsTheChoicesButStillMarksSeen) {
    player_->background = 1;
    player_->unlockedStuff.at(kTileSet2) = OrvantaPlayer::kNewlyOpened;
    player_->unlockedStuff.at(kTileSet1) = OrvantaPlayer::kOpen;
    DialogSelectBackground& chooser = open();
    DialogSelectBackground::onNextTileSet(&chooser, nullptr);
    DialogSelectBackground::onNextTileSet(&chooser, nullptr);
    DialogSelectBackground::onCancel(&chooser, nullptr);
    EXPECT_EQ(player_->background, 1);
    EXPECT_EQ(player_->tileset, 0);
    EXPECT_EQ(player_->unlockedStuff.at(kTileSet2), OrvantaPlayer::kOpen);
}

TEST_F(DialogSelectBackgroundTest, ADamagedProfilesChoicesReadAsTheFirst) {
    player_->background = 57;
    player_->tileset = -3;
    DialogSelectBackground& chooser = open();
    EXPECT_EQ(chooser.getBackgroundIndex(), 0);
    EXPECT_EQ(chooser.getTileSetIndex(), 0);
    EXPECT_EQ(part<Label>(chooser, "LABEL_BACKGROUND_COUNT")->getText(), L"1/11");
}

TEST(DialogSelectBackgroundPreview, ALockedPreviewGreysACopyAndLeavesTheSharedImage) {
    RefPtr<Image> shared = createImage(8, 8, kFormatArgb32);
    ASSERT_TRUE(shared->lock());
    auto* pixels = reinterpret_cast<std::uint32_t*>(shared->getPixels());
    for (int i = 0; i < 8 * 8; ++i) {
        pixels[i] = 0xFFC81E0AU; // R 200, G 30, B 10
    }
    shared->unlock();

    RefPtr<Image> open = DialogSelectBackground::previewPicture(*shared, false, Rect{0, 0, 8, 8});
    EXPECT_EQ(open.get(), shared.get());

    RefPtr<Image> locked =
        DialogSelectBackground::previewPicture(*shared, true, Rect{2, 2, 100, 100});
    ASSERT_NE(locked.get(), shared.get());
    const auto pixelAt = [](Image& image, int x, int y) {
        EXPECT_TRUE(image.lock());
        std::uint32_t value = 0;
        std::memcpy(&value, image.getPixels() + y * image.getPitch() + x * 4, sizeof value);
        image.unlock();
        return value;
    };
    const std::uint32_t grey = (3 * 200 + 6 * 30 + 10) / 10;
    EXPECT_EQ(pixelAt(*locked, 5, 5), 0xFF000000U | (grey << 16U) | (grey << 8U) | grey);
    EXPECT_EQ(pixelAt(*locked, 1, 1), 0xFFC81E0AU) << "outside the rectangle";
    EXPECT_EQ(pixelAt(*shared, 5, 5), 0xFFC81E0AU) << "the shared image is untouched";
}

} // namespace
} // namespace orv::test
