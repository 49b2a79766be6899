// Sliders: the knob's segment and the step buttons' places from the sizes,
// the value from presses, drags and steps with their limits, the callback on
// every change, disabled sliders, degenerate ranges, and definitions the
// slider refuses.

#include "engine/gui/Slider.h"

#include "engine/core/GameNode.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/system/Messages.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

constexpr int kSliderHeld = static_cast<int>(platform::MK_LBUTTON);

// "h": a track 200 x 20 at (10, 20) with a knob of 20 x 20, values 0 to 100;
// its decrement button (10 x 10) stands left of the track at window (0, 25),
// its increment button right of it at (210, 25).
constexpr const char* kSliderDefinitions = R"(<Root>
  <Slider id="h" name="H" x="10" y="20" width="200" height="20" minvalue="0" maxvalue="100">
    <Button id="button" width="20" height="80"/>
    <Button id="incbutton" width="10" height="40"/>
    <Button id="decbutton" width="10" height="40"/>
  </Slider>
  <Slider id="v" name="V" width="20" height="100" vertical="true">
    <Button id="button" width="20" height="40"/>
    <Button id="incbutton" width="10" height="40"/>
    <Button id="decbutton" width="10" height="40"/>
  </Slider>
  <Slider id="off" name="OFF" x="10" y="20" width="200" height="20" enabled="false">
    <Button id="button" width="20" height="80"/>
    <Button id="incbutton" width="10" height="40" enabled="false"/>
  </Slider>
  <Slider id="flat" name="FLAT" width="20" height="20" minvalue="3" maxvalue="3">
    <Button id="button" width="20" height="80"/>
  </Slider>
  <Slider id="noknob" name="NOKNOB" width="200" height="20"/>
  <Slider id="badknob" name="BADKNOB" width="200" height="20"><GameNode id="button"/></Slider>
  <Slider id="badstep" name="BADSTEP" width="200" height="20">
    <Button id="button" width="20" height="80"/>
    <Sprite id="incbutton" width="10" height="10"/>
  </Slider>
</Root>)";

class SliderTest : public testing::Test {
protected:
    void SetUp() override {
        registerGuiClasses();
        ASSERT_TRUE(definitions->loadText(kSliderDefinitions));
    }
    void TearDown() override { ObjectFactoryContainer::destroyInstance(); }

    [[nodiscard]] RefPtr<Slider> make(const char* id) {
        return RefPtr<Slider>(kindCast<Slider>(createFromDefinition(definitions->getNode(id))));
    }
    [[nodiscard]] static int knobX(const Slider& s) { return s.getKnobHolder()->getX(); }

    RefPtr<PropertyStore> definitions{new PropertyStore()};
    test::LogCapture log;
};

// Counts the callbacks and notes the value each one saw.
struct ValueRecorder {
    std::vector<float> values;
    static int onChange(void* context, void* argument) {
        static_cast<ValueRecorder*>(context)->values.push_back(
            static_cast<Slider*>(argument)->getValue());
        return 0;
    }
};

TEST_F(SliderTest, TheSegmentAndTheStepButtonsFollowTheSizes) {
    const RefPtr<Slider> h = make("h");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->getKnob()->getWidth(), 20);
    EXPECT_EQ(h->getMaxPoint().x, 180.0F);
    EXPECT_EQ(h->getMaxPoint().y, 0.0F);
    EXPECT_EQ(h->getMinPoint().x, 0.0F);
    EXPECT_EQ(h->getKnob()->getParent(), h->getKnobHolder());
    EXPECT_EQ(h->getKnobHolder()->getParent(), h.get());
    EXPECT_EQ(h->getDecrementButton()->getAnchorKind(), AnchorKind::Right);
    EXPECT_EQ(h->getDecrementButton()->getX(), 0);
    EXPECT_EQ(h->getDecrementButton()->getY(), 10);
    EXPECT_EQ(h->getIncrementButton()->getAnchorKind(), AnchorKind::Left);
    EXPECT_EQ(h->getIncrementButton()->getX(), 200);
    EXPECT_EQ(h->getIncrementButton()->getY(), 10);
    EXPECT_EQ(h->getListenerCount(), 2U) << "the step buttons listen through the slider";
    EXPECT_EQ(h->getInterface(iInputListener::classRecord),
              static_cast<iInputListener*>(static_cast<iInputListenerContainer*>(h.get())));
    EXPECT_TRUE(h->isKindOf(iGuiMethod::classRecord));

    const RefPtr<Slider> v = make("v");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->getMaxPoint().x, 0.0F);
    EXPECT_EQ(v->getMaxPoint().y, 90.0F);
    EXPECT_EQ(v->getDecrementButton()->getAnchorKind(), AnchorKind::Bottom);
    EXPECT_EQ(v->getDecrementButton()->getX(), 10);
    EXPECT_EQ(v->getDecrementButton()->getY(), 0);
    EXPECT_EQ(v->getIncrementButton()->getAnchorKind(), AnchorKind::Top);
    EXPECT_EQ(v->getIncrementButton()->getY(), 100);
}

TEST_F(SliderTest, OwnerValuesPlaceTheKnobWithoutClamping) {
    struct Case {
        float value;
        int x;
    };
    // 50 -> 90; beyond the end past 100; below the minimum mirrored.
    const std::vector<Case> cases{{0.0F, 0},     {50.0F, 90},  {100.0F, 180},
                                  {150.0F, 270}, {-50.0F, 90}, {33.3F, 59}};
    const RefPtr<Slider> h = make("h");
    for (const Case& c : cases) {
        h->setValue(c.value);
        h->updateValue();
        EXPECT_EQ(knobX(*h), c.x) << c.value;
    }
}

TEST_F(SliderTest, StepButtonsMoveByATenthOfTheRangeWithinIt) {
    const RefPtr<Slider> h = make("h");
    ValueRecorder recorder;
    h->setMethod(&ValueRecorder::onChange, &recorder);
    auto clickAt = [&](int x, int y) {
        EXPECT_TRUE(h->onLeftButtonDown(x, y, kSliderHeld, false));
        EXPECT_TRUE(h->onLeftButtonUp(x, y, 0));
    };
    h->setValue(50.0F);
    h->updateValue();
    clickAt(215, 30); // increment
    EXPECT_FLOAT_EQ(h->getValue(), 60.0F);
    EXPECT_EQ(knobX(*h), 108);
    EXPECT_EQ(recorder.values, (std::vector<float>{h->getValue()})) << "one callback per step";

    h->setValue(95.0F);
    for (int i = 0; i < 10; ++i) {
        clickAt(215, 30);
    }
    EXPECT_EQ(h->getValue(), 100.0F);
    EXPECT_EQ(knobX(*h), 180);

    h->setValue(5.0F);
    clickAt(5, 30); // decrement
    EXPECT_EQ(h->getValue(), 0.0F);
    EXPECT_EQ(knobX(*h), 0);
    EXPECT_EQ(recorder.values.size(), 12U);
}

TEST_F(SliderTest, DraggingTheKnobKeepsItUnderTheMouseAndWithinTheSegment) {
    const RefPtr<Slider> h = make("h");
    ValueRecorder recorder;
    h->setMethod(&ValueRecorder::onChange, &recorder);
    h->setValue(50.0F);
    h->updateValue(); // knob at window x 100 .. 120

    // Grabbed 5 pixels into the knob: it stays where it is.
    EXPECT_TRUE(h->onLeftButtonDown(105, 30, kSliderHeld, false));
    EXPECT_EQ(knobX(*h), 90);
    EXPECT_FLOAT_EQ(h->getValue(), 50.0F);
    EXPECT_EQ(h->getKnob()->getState(), Button::kPressed);

    struct Move {
        int x;
        int y;
        int knob;
        float value;
    };
    const std::vector<Move> moves{
        {123, 30, 108, 60.0F},  {123, 90, 108, 60.0F}, // off the track vertically: projected
        {500, 30, 180, 100.0F},                        // past the end
        {-300, 30, 0, 0.0F},                           // past the start
        {60, 0, 45, 25.0F},
    };
    for (const Move& m : moves) {
        EXPECT_FALSE(h->onMouseMove(m.x, m.y, 0)) << "the drag goes on without the button flag";
        EXPECT_EQ(knobX(*h), m.knob) << m.x;
        EXPECT_FLOAT_EQ(h->getValue(), m.value) << m.x;
    }
    EXPECT_EQ(recorder.values.size(), 1 + moves.size()) << "the press and every move";

    // Released off the knob and off the track: the drag ends, not handled.
    EXPECT_FALSE(h->onLeftButtonUp(600, 300, 0));
    EXPECT_EQ(h->getKnob()->getState(), Button::kNormal);
    (void)h->onMouseMove(160, 30, 0);
    EXPECT_EQ(knobX(*h), 45) << "no drag after the release";
    EXPECT_EQ(recorder.values.size(), 1 + moves.size());
}

TEST_F(SliderTest, APressOnTheTrackMovesTheKnobsEdgeToThePoint) {
    const RefPtr<Slider> h = make("h");
    ValueRecorder recorder;
    h->setMethod(&ValueRecorder::onChange, &recorder);
    EXPECT_TRUE(h->onLeftButtonDown(100, 25, kSliderHeld, false)); // track x 90
    EXPECT_EQ(knobX(*h), 90);
    EXPECT_FLOAT_EQ(h->getValue(), 50.0F);
    EXPECT_EQ(recorder.values.size(), 1U);
    (void)h->onMouseMove(118, 25, kSliderHeld);
    EXPECT_EQ(knobX(*h), 108);
    EXPECT_EQ(recorder.values.size(), 2U);
    EXPECT_TRUE(h->onLeftButtonUp(118, 25, 0)) << "released on the knob";
    EXPECT_EQ(h->getKnob()->getState(), Button::kOver);

    // Hovering the knob shows its over frame, leaving it the normal one.
    (void)h->onMouseMove(300, 300, 0);
    EXPECT_EQ(h->getKnob()->getState(), Button::kNormal);
    (void)h->onMouseMove(120, 25, 0);
    EXPECT_EQ(h->getKnob()->getState(), Button::kOver);
}

TEST_F(SliderTest, ADisabledSliderTakesPressesOnItsTrackButDoesNotMove) {
    const RefPtr<Slider> off = make("off");
    ASSERT_NE(off, nullptr);
    EXPECT_FALSE(off->isEnabled());
    EXPECT_TRUE(off->getKnob()->isEnabled()) << "built after the slider was disabled";
    ValueRecorder recorder;
    off->setMethod(&ValueRecorder::onChange, &recorder);
    EXPECT_TRUE(off->onLeftButtonDown(100, 25, kSliderHeld, false));
    EXPECT_EQ(knobX(*off), 0);
    EXPECT_FALSE(off->onLeftButtonDown(100, 100, kSliderHeld, false)) << "off the track";
    (void)off->onMouseMove(150, 25, kSliderHeld);
    EXPECT_EQ(knobX(*off), 0);
    EXPECT_TRUE(recorder.values.empty());

    const RefPtr<Slider> h = make("h");
    h->setEnabled(false);
    EXPECT_FALSE(h->getKnob()->isEnabled());
    EXPECT_FALSE(h->getIncrementButton()->isEnabled());
    EXPECT_FALSE(h->getDecrementButton()->isEnabled());
    h->setEnabled(true);
    EXPECT_TRUE(h->getIncrementButton()->isEnabled());

    // Input switched off stops the track, the knob and the step buttons.
    h->setMethod(&ValueRecorder::onChange, &recorder);
    (void)h->setInputEnabled(false);
    EXPECT_FALSE(h->onLeftButtonDown(100, 25, kSliderHeld, false));
    EXPECT_FALSE(h->onLeftButtonDown(215, 30, kSliderHeld, false));
    EXPECT_EQ(knobX(*h), 0);
    EXPECT_TRUE(recorder.values.empty());
}

TEST_F(SliderTest, DegenerateRangesKeepTheKnobAtTheStartAndTheValueAtTheMinimum) {
    const RefPtr<Slider> flat = make("flat"); // knob as wide as the track, 3 to 3
    ASSERT_NE(flat, nullptr);
    flat->setValue(7.0F);
    flat->updateValue();
    EXPECT_EQ(knobX(*flat), 0);
    EXPECT_TRUE(flat->onLeftButtonDown(10, 10, kSliderHeld, false));
    EXPECT_EQ(knobX(*flat), 0);
    EXPECT_EQ(flat->getValue(), 3.0F);
}

TEST_F(SliderTest, DefinitionsWithoutAUsableKnobAreRefused) {
    EXPECT_EQ(make("noknob"), nullptr);
    EXPECT_TRUE(log.contains("NOKNOB"));
    EXPECT_EQ(make("badknob"), nullptr);
    const RefPtr<Slider> badStep = make("badstep");
    ASSERT_NE(badStep, nullptr) << "a bad step button is only left out";
    EXPECT_EQ(badStep->getIncrementButton(), nullptr);
    EXPECT_EQ(badStep->getListenerCount(), 0U);
}

// Drops the only reference to the slider that calls it.
struct SliderDropper {
    RefPtr<Slider> held;
    static int onChange(void* context, void* /*argument*/) {
        static_cast<SliderDropper*>(context)->held = nullptr;
        return 0;
    }
};

TEST_F(SliderTest, ACallbackMayDropTheLastReferenceToItsSlider) {
    for (const bool step : {true, false}) {
        SliderDropper dropper;
        dropper.held = make("h");
        Slider* slider = dropper.held.get();
        slider->setMethod(&SliderDropper::onChange, &dropper);
        if (step) {
            EXPECT_TRUE(slider->onLeftButtonDown(215, 30, kSliderHeld, false));
            EXPECT_TRUE(slider->onLeftButtonUp(215, 30, 0));
        } else {
            EXPECT_TRUE(slider->onLeftButtonDown(100, 25, kSliderHeld, false));
        }
        EXPECT_EQ(dropper.held, nullptr);
    }
}

TEST_F(SliderTest, ResetEndsADrag) {
    const RefPtr<Slider> h = make("h");
    EXPECT_TRUE(h->onLeftButtonDown(100, 25, kSliderHeld, false));
    h->reset();
    EXPECT_EQ(h->getKnob()->getState(), Button::kNormal);
    (void)h->onMouseMove(150, 25, 0);
    EXPECT_EQ(knobX(*h), 90);
}

} // namespace
} // namespace orv
