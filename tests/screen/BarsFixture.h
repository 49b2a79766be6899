#pragma once

#include "engine/core/GameTree.h"
#include "engine/core/RefPtr.h"
#include "engine/scene/Sprite.h"
#include "game/screen/PlayingScreen.h"
#include "tests/board/GameFixture.h"

#include <map>
#include <string>
#include <vector>

namespace orv::test {

/// A playing screen made of bare sprites under one root: the bars' parts at
/// their places, a pause state and a level-over flag the test sets, and a
/// record of what the bars asked for.
class FakeScreen : public PlayingScreen {
public:
    FakeScreen();
    ~FakeScreen() override;

    int getPauseState() const override { return pauseState; }
    bool isGameHeld() const override { return held; }
    bool isLevelOver() const override { return levelOver; }
    GameNode* getComponentRoot() const override { return root.get(); }
    GameNode* findComponent(std::string_view name) const override;
    SoundNode* getTimeSound() const override { return nullptr; }
    TimeBar* getTimeBar() const override { return timeBar; }
    Sprite* getHintButton() const override { return nullptr; }
    bool isSuperHintRunning() const override { return false; }
    void startSuperHint(Sprite* /*icon*/) override { ++superHints; }
    void onTrophyEarned(int number) override { trophies.push_back(number); }
    void refreshCounterLabels() override { ++counterRefreshes; }
    void showStarBurst(int /*x*/, int /*y*/) override { ++bursts; }

    /// Adds a sprite `name` of that size at (x, y) under the root.
    Sprite* addSprite(const std::string& name, int x, int y, int width, int height);

    RefPtr<GameTree> root;
    std::map<std::string, GameNode*, std::less<>> parts;
    int pauseState = 0;
    bool held = false;
    bool levelOver = false;
    TimeBar* timeBar = nullptr;
    int superHints = 0;
    int counterRefreshes = 0;
    int bursts = 0;
    std::vector<int> trophies;
};

/// Bar tests: a current Classic game on a small board, the fake screen
/// installed, the bars' constants set.
class BarsTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    FakeScreen screen;
    Game* game = nullptr;
};

} // namespace orv::test
