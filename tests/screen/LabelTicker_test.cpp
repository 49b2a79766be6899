#include "game/screen/LabelTicker.h"
#include "game/screen/ModifierLabelValue.h"

#include "engine/core/NodeClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/scene/Label.h"
#include "engine/scene/SceneClasses.h"
#include "game/screen/ScreenClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

class LabelTickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerScreenClasses();
        BasicProperties::create().getTextEntry("CTEXT_DIGIT_GROUPING_SYMBOL") = L".";
    }
    void TearDown() override { BasicProperties::destroyInstance(); }

    // The texts the label shows while the counter runs one interval a frame.
    static std::vector<std::wstring> run(ModifierLabelValue& counter, Label& label, int frames,
                                         int dt) {
        std::vector<std::wstring> shown;
        for (int i = 0; i < frames && !counter.isDone(); ++i) {
            const std::wstring before = label.getText();
            counter.update(dt);
            if (label.getText() != before) {
                shown.push_back(label.getText());
            }
        }
        return shown;
    }
};

TEST_F(LabelTickerTest, CountsInFixedAndTenfoldSteps) {
    RefPtr<Label> label(new Label(nullptr, 0, 0, 100, 20, Label::kAutoWidth));
    {
        RefPtr<ModifierLabelValue> counter(new ModifierLabelValue(0, 0, 23, 10, L""));
        counter->setType(ModifierLabelValue::TypeValue);
        counter->setFormat(ModifierLabelValue::FormatPlain);
        counter->setAdd(5);
        counter->setLabel(label.get());
        EXPECT_EQ(run(*counter, *label, 20, 10),
                  (std::vector<std::wstring>{L"5", L"10", L"15", L"20", L"23"}));
        EXPECT_TRUE(counter->isDone());
    }
    {
        RefPtr<ModifierLabelValue> counter(new ModifierLabelValue(0, 0, 1234, 10, L""));
        counter->setType(ModifierLabelValue::TypeTenfold);
        counter->setFormat(ModifierLabelValue::FormatPlain);
        counter->setLabel(label.get());
        EXPECT_EQ(run(*counter, *label, 40, 10),
                  (std::vector<std::wstring>{L"1000", L"1100", L"1200", L"1210", L"1220", L"1230",
                                             L"1231", L"1232", L"1233", L"1234"}));
    }
}

TEST_F(LabelTickerTest, BrokenIntervalAndBaseStillArrive) {
    RefPtr<Label> label(new Label(nullptr, 0, 0, 100, 20, Label::kAutoWidth));
    // "mul" 0 used to grow nothing and loop for ever; "interval" 0 divided
    // by zero.
    RefPtr<ModifierLabelValue> counter(new ModifierLabelValue(0, 0, 50, 0, L""));
    counter->setType(ModifierLabelValue::TypeTenfold);
    counter->setMul(0.0F);
    counter->setAdd(10);
    counter->setFormat(ModifierLabelValue::FormatPlain);
    counter->setLabel(label.get());
    run(*counter, *label, 100, 1);
    EXPECT_EQ(counter->getCurrent(), 50);
    EXPECT_TRUE(counter->isDone());
}

TEST_F(LabelTickerTest, FormatsDigitGroupsAndTimes) {
    RefPtr<Label> label(new Label(nullptr, 0, 0, 100, 20, Label::kAutoWidth));
    RefPtr<ModifierLabelValue> counter(new ModifierLabelValue(0, 0, 0, 10, L"Score "));
    counter->setLabel(label.get());
    counter->jumpTo(1234567);
    EXPECT_EQ(label->getText(), L"Score 1.234.567");
    counter->setFormat(ModifierLabelValue::FormatTime);
    counter->setExtra(L"");
    counter->jumpTo(65000);
    EXPECT_EQ(label->getText(), L"1:05");
}

TEST_F(LabelTickerTest, TickerFromDefinitionFollowsEveryNewTarget) {
    RefPtr<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadText(R"(<Root><LabelTicker id="ticker" type="time" format="dot"
        time="100" interval="10"><Label id="label" text=""/></LabelTicker></Root>)"));
    RefPtr<LabelTicker> ticker(
        static_cast<LabelTicker*>(createFromDefinition(store->getChild("ticker"))));
    ASSERT_NE(ticker, nullptr);
    ASSERT_NE(ticker->getLabel(), nullptr);
    ticker->countTo(1000);
    for (int i = 0; i < 5; ++i) {
        ticker->update(10);
    }
    EXPECT_EQ(ticker->getLabel()->getText(), L"500");
    for (int i = 0; i < 10; ++i) {
        ticker->update(10);
    }
    EXPECT_EQ(ticker->getLabel()->getText(), L"1.000");
    // The modifier stays alive and counts on to the next score.
    ticker->countTo(3000);
    for (int i = 0; i < 20; ++i) {
        ticker->update(10);
    }
    EXPECT_EQ(ticker->getLabel()->getText(), L"3.000");
    ticker->showNow(42);
    EXPECT_EQ(ticker->getLabel()->getText(), L"42");
}

} // namespace
} // namespace orv
