#include "game/screen/BonusBar.h"
#include "game/screen/TimeBar.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Label.h"
#include "tests/screen/BarsFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::test {
namespace {

using TimeBarTest = BarsTest;
using BonusBarTest = BarsTest;

TEST_F(TimeBarTest, RunsDownWhilePlayedAndItsTopFollows) {
    RefPtr<TimeBar> bar(new TimeBar(nullptr));
    screen.timeBar = bar.get();
    bar->setMaxTime(60000);
    bar->reset();
    EXPECT_FLOAT_EQ(bar->getShownFillTop(), 100.0F);
    struct Step {
        int dt;
        int pauseState;
        int expected;
    };
    const Step steps[] = {{15000, 0, 45000}, {15000, 1, 45000}, {15000, 2, 45000},
                          {15000, 0, 30000}, {40000, 0, 0},     {100, 0, 0}};
    for (const Step& step : steps) {
        screen.pauseState = step.pauseState;
        bar->updateSelf(step.dt);
        EXPECT_EQ(bar->getTime().getValue(), step.expected);
    }
    EXPECT_FLOAT_EQ(bar->fillTopY(), 500.0F);
    // The shown edge moves at a bounded speed, also while paused.
    screen.pauseState = 1;
    for (int i = 0; i < 200; ++i) {
        bar->updateSelf(16);
    }
    EXPECT_FLOAT_EQ(bar->getShownFillTop(), 500.0F);
}

TEST_F(TimeBarTest, AddedTimeIsClampedAndTheWarningEndsWithTheLevel) {
    RefPtr<TimeBar> bar(new TimeBar(nullptr));
    bar->setMaxTime(20000);
    bar->reset();
    bar->getTime().addAndCommit(5000);
    EXPECT_EQ(bar->getTime().getValue(), 20000);
    bar->updateSelf(10000);
    EXPECT_TRUE(bar->isWarningSoundOn()) << "10000 ms left is the warning's threshold";
    screen.levelOver = true;
    bar->updateSelf(16);
    EXPECT_FALSE(bar->isWarningSoundOn());
}

TEST_F(TimeBarTest, SavedBarsRestoreAndBrokenOnesStayFinite) {
    RefPtr<PropertyNode> saved(new PropertyNode("timeBar", "TimeBar"));
    {
        RefPtr<TimeBar> bar(new TimeBar(nullptr));
        bar->setMaxTime(90000);
        bar->reset();
        bar->updateSelf(1234);
        bar->save(*saved);
    }
    RefPtr<TimeBar> restored(new TimeBar(saved.get()));
    EXPECT_EQ(restored->getTime().getValue(), 88766);
    EXPECT_EQ(restored->getTime().getMax(), 90000);
    EXPECT_FLOAT_EQ(restored->getShownFillTop(), 0.0F) << "a restored edge moves in from 0";

    RefPtr<PropertyNode> broken(new PropertyNode("timeBar", "TimeBar"));
    broken->add(new PropertyValue("currentTime", 0));
    broken->add(new PropertyValue("maxTime", -5));
    RefPtr<TimeBar> empty(new TimeBar(broken.get()));
    empty->updateSelf(16);
    EXPECT_EQ(empty->getTime().getMax(), 0);
    EXPECT_FLOAT_EQ(empty->fillTopY(), 500.0F);
}

TEST_F(BonusBarTest, QuickMatchesRaiseTheMultiplierAndShortenItsCountdown) {
    RefPtr<BonusBar> bar(new BonusBar(nullptr));
    bar->setMaxPoints(2500);
    bar->setMaxCountdown(2000);
    const float points[] = {10.0F, 30.0F, 60.0F};
    const int countdowns[] = {1800, 1600, 1400};
    for (int i = 0; i < 3; ++i) {
        bar->addPoints(10);
        EXPECT_EQ(bar->getMultiplier(), i + 2);
        EXPECT_EQ(bar->getCurrentCountdown(), countdowns[i]);
        EXPECT_FLOAT_EQ(bar->getCurrentPoints(), points[i]) << "the factor from before the match";
    }
    auto* label = kindCast<Label>(screen.findComponent("BONUSBAR_MULTIPLIER"));
    EXPECT_EQ(label->getText(), L"x4");
    // The countdown runs out: back to 1.
    bar->updateSelf(1399);
    EXPECT_EQ(bar->getMultiplier(), 4);
    bar->updateSelf(1);
    EXPECT_EQ(bar->getMultiplier(), 1);
    EXPECT_EQ(label->getText(), L"x1");
    // The drain never takes the meter below 0.
    bar->updateSelf(100000);
    EXPECT_FLOAT_EQ(bar->getCurrentPoints(), 0.0F);
}

TEST_F(BonusBarTest, MultiplierStopsAt99AndTheGameRecordsTheHighest) {
    RefPtr<BonusBar> bar(new BonusBar(nullptr));
    bar->setMaxPoints(2000000000);
    for (int i = 0; i < 99; ++i) {
        bar->addPoints(0);
    }
    EXPECT_EQ(bar->getMultiplier(), 99);
    EXPECT_EQ(game->getCounters().highestMultiplier, 100);
    EXPECT_EQ(services.trophies[12], 1) << "combo frenzy at the multiplier 10";
}

TEST_F(BonusBarTest, FullMeterPaysOutAndKeepsTheShownMultiplier) {
    RefPtr<BonusBar> bar(new BonusBar(nullptr));
    bar->setMaxPoints(25);
    bar->addPoints(10);
    const int before = bar->getBonus();
    bar->addPoints(10); // 10 + 10 x 2 = 30 >= 25
    EXPECT_EQ(game->getCounters().bonusesClaimed, 1);
    EXPECT_FLOAT_EQ(bar->getCurrentPoints(), 0.0F);
    EXPECT_EQ(bar->getInternalMultiplier(), 1);
    EXPECT_EQ(bar->getMultiplier(), 3);
    EXPECT_NE(bar->getBonus(), before) << "a kind never follows itself";
    // The icon on its way pays its arrival when the level ends.
    ASSERT_NE(bar->getEffectsNode()->getFirstChild(), nullptr);
    const int tag = bar->getEffectsNode()->getFirstChild()->getTag();
    EXPECT_EQ(tag, 100 + before);
    bar->finishEffects();
    EXPECT_EQ(bar->getEffectsNode()->getFirstChild()->getTag(), 0);
}

TEST_F(BonusBarTest, SuspendedBarTakesNoPoints) {
    RefPtr<BonusBar> bar(new BonusBar(nullptr));
    bar->setSuspended(true);
    bar->addPoints(10);
    EXPECT_EQ(bar->getMultiplier(), 1);
    EXPECT_FLOAT_EQ(bar->getCurrentPoints(), 0.0F);
}

TEST_F(BonusBarTest, SavedBarRestoresAndRefusesBrokenValues) {
    RefPtr<PropertyNode> saved(new PropertyNode("bonusBar", "BonusBar"));
    {
        RefPtr<BonusBar> bar(new BonusBar(nullptr));
        bar->setMaxPoints(900);
        bar->addPoints(10);
        bar->addPoints(10);
        bar->save(*saved);
    }
    RefPtr<BonusBar> restored(new BonusBar(saved.get()));
    EXPECT_EQ(restored->getMaxPoints(), 900);
    EXPECT_FLOAT_EQ(restored->getCurrentPoints(), 30.0F);
    EXPECT_EQ(restored->getMultiplier(), 3);
    auto* label = kindCast<Label>(screen.findComponent("BONUSBAR_MULTIPLIER"));
    EXPECT_EQ(label->getText(), L"x1") << "until the room information refreshes it";

    for (const int index : {-1, 7, 1000, -2000000000}) {
        RefPtr<PropertyNode> broken(new PropertyNode("bonusBar", "BonusBar"));
        broken->add(new PropertyValue("bonus", index));
        broken->add(new PropertyValue("maxCountdown", 0));
        broken->add(new PropertyValue("currentCountdown", 500));
        broken->add(new PropertyValue("multiplier", 3));
        RefPtr<BonusBar> bar(new BonusBar(broken.get()));
        EXPECT_GE(bar->getBonus(), 0) << index;
        EXPECT_LT(bar->getBonus(), 7) << index;
        bar->updateSelf(16); // a countdown of 0 used to divide by zero
        bar->addPoints(5);
        EXPECT_EQ(bar->getCountdownLevel(), 0);
    }
}

} // namespace
} // namespace orv::test
