#include "game/scenes/SceneLoad.h"

#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "game/scenes/GameSceneClasses.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct BarCase {
    double fraction;
    double start;
    int width;
};

class LoadingBar : public testing::TestWithParam<BarCase> {};

// The bar shows the share of what was left at the first frame; a first
// fraction of 1 (all loaded before the screen) shows it full instead of
// dividing by zero, and a fraction below the start never gives a negative
// width.
TEST_P(LoadingBar, ShowsTheShareLoadedSinceTheFirstFrame) {
    EXPECT_EQ(SceneLoad::barWidth(GetParam().fraction, GetParam().start, 200), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(Fractions, LoadingBar,
                         testing::Values(BarCase{0.0, 0.0, 0}, BarCase{0.5, 0.0, 100},
                                         BarCase{1.0, 0.0, 200}, BarCase{0.75, 0.5, 100},
                                         BarCase{0.999, 0.5, 199}, BarCase{0.4, 0.5, 0},
                                         BarCase{1.0, 1.0, 200}));

class SceneLoadFlow : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerSceneClasses();
        registerGameSceneClasses();
        test::writeFile(folder_.path() / "scenes.xml",
                        "<Defs><Scenes id=\"scenes\">"
                        "<Scene id=\"SCENE_LOBBY\" width=\"800\" height=\"600\"/>"
                        "<SceneLoad id=\"SCENE_LOAD\" width=\"800\" height=\"600\"/>"
                        "</Scenes></Defs>");
        getDefinitionStore().addFile(folder_.file("scenes.xml"));
        getDefinitionStore().load();
        manager_ = SceneManager::create();
        lobby_ = manager_->addScene("SCENE_LOBBY");
        load_ = kindCast<SceneLoad>(manager_->addScene("SCENE_LOAD"));
        ASSERT_NE(lobby_, nullptr);
        ASSERT_NE(load_, nullptr);
    }
    void TearDown() override {
        SceneManager::destroyInstance();
        destroyDefinitionStore();
    }

    test::TempDir folder_;
    SceneManager* manager_ = nullptr;
    Scene* lobby_ = nullptr;
    SceneLoad* load_ = nullptr;
};

// With nothing requested loading is done on the first frame; a click given
// before is remembered and leads to the lobby on the frame after.
TEST_F(SceneLoadFlow, ActsOnAClickGivenWhileLoadingOnceLoadingIsDone) {
    EXPECT_FALSE(load_->onLeftButtonUp(12, 34, 0));
    EXPECT_TRUE(load_->isClickPending());
    EXPECT_EQ(manager_->getNext(), nullptr);
    load_->updateSelf(16);
    EXPECT_TRUE(load_->isLoadingDone());
    EXPECT_EQ(manager_->getNext(), nullptr);
    load_->updateSelf(16);
    EXPECT_FALSE(load_->isClickPending());
    EXPECT_EQ(manager_->getNext(), lobby_);
}

TEST_F(SceneLoadFlow, AClickAfterLoadingLeadsToTheLobbyOnce) {
    load_->updateSelf(16);
    ASSERT_TRUE(load_->isLoadingDone());
    EXPECT_FALSE(load_->onLeftButtonUp(0, 0, 0));
    EXPECT_EQ(manager_->getNext(), lobby_);
    // A second click while the switch is pending changes nothing.
    Scene* transition = manager_->getTransition();
    EXPECT_FALSE(load_->onLeftButtonUp(0, 0, 0));
    EXPECT_EQ(manager_->getTransition(), transition);
}

} // namespace
} // namespace orv
