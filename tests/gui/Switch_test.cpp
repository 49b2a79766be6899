// Switches: the eight frames, check boxes toggling on completed clicks, radio
// groups that reach across dialogs, disabled switches, linked captions,
// hovering, and the process-wide list of live switches.

#include "engine/gui/Switch.h"

#include "engine/core/GameTree.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/platform/InputHandler.h"
#include "engine/properties/PropertyStore.h"
#include "engine/system/Messages.h"
#include "tests/gui/ButtonFixture.h"
#include "tests/scene/ScenePixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace orv {
namespace {

constexpr int kHeld = static_cast<int>(platform::MK_LBUTTON);

// Switches built over the button fixture's strip (40 x 80: eight frames of
// 40 x 10) and sounds: on = CLICK, off = OVER, disabled = DENIED.
class SwitchTest : public test::ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        ASSERT_TRUE(switches->loadText(R"(<Root>
  <Switch id="box" name="BOX" x="100" y="50" section="gui" image="BUTTON"
          onsound="CLICK" offsound="OVER" disabledsound="DENIED" soundsection="sfx"/>
  <Switch id="radio" name="RADIO" section="gui" image="BUTTON" groupid="5"
          onsound="CLICK" offsound="OVER" soundsection="sfx"/>
  <Switch id="radioon" name="RADIOON" section="gui" image="BUTTON" groupid="5" checked="true"/>
  <Switch id="off" name="OFF" x="100" y="50" section="gui" image="BUTTON" enabled="false"
          checked="true" disabledsound="DENIED" soundsection="sfx"/>
  <Switch id="bare" name="BARE"/>
</Root>)"));
    }

    [[nodiscard]] RefPtr<Switch> make(const char* id) {
        return RefPtr<Switch>(kindCast<Switch>(createFromDefinition(switches->getNode(id))));
    }

    // A completed click at (x, y): press, then release.
    static bool click(Switch& s, int x, int y) {
        (void)s.onLeftButtonDown(x, y, kHeld, false);
        return s.onLeftButtonUp(x, y, 0);
    }

    RefPtr<PropertyStore> switches{new PropertyStore()};
};

// Records the checked flag the callback saw.
struct ToggleRecorder {
    std::vector<bool> seen;
    Switch* last = nullptr;
    static int onToggle(void* context, void* argument) {
        auto* recorder = static_cast<ToggleRecorder*>(context);
        recorder->last = static_cast<Switch*>(argument);
        recorder->seen.push_back(recorder->last->isChecked());
        return 0;
    }
};

int shownFrame(const Switch& s) {
    return s.getSourceRect() ? s.getSourceRect()->y / 10 : -1;
}

TEST_F(SwitchTest, BuiltFromADefinitionWithEightStackedFrames) {
    const RefPtr<Switch> box = make("box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getWidth(), 40);
    EXPECT_EQ(box->getHeight(), 10);
    EXPECT_EQ(box->getGroup(), -1);
    EXPECT_EQ(box->getOnSound(), "CLICK");
    EXPECT_EQ(box->getOffSound(), "OVER");
    EXPECT_EQ(box->getDisabledSound(), "DENIED");
    EXPECT_EQ(box->getSoundSection(), "sfx");
    EXPECT_EQ(make("radio")->getGroup(), 5);
    EXPECT_EQ(shownFrame(*make("off")), 7) << "checked and disabled";
    EXPECT_EQ(box->getInterface(iInputListener::classRecord),
              static_cast<iInputListener*>(box.get()));
    EXPECT_EQ(box->getInterface(iGuiMethod::classRecord), static_cast<iGuiMethod*>(box.get()));
    EXPECT_EQ(box->getInterface(GameNode::classRecord), nullptr);
    EXPECT_TRUE(box->isKindOf(iGuiMethod::classRecord));
    EXPECT_NE(make("bare"), nullptr) << "no image, no keys";
}

TEST_F(SwitchTest, TheFrameAddsFourWhenCheckedAndShowsDisabledOverTheState) {
    struct Case {
        bool checked;
        bool enabled;
        int state;
        int frame;
    };
    const std::vector<Case> cases{
        {false, true, Switch::kNormal, 0},  {false, true, Switch::kOver, 1},
        {false, true, Switch::kPressed, 2}, {false, false, Switch::kPressed, 3},
        {true, true, Switch::kNormal, 4},   {true, true, Switch::kPressed, 6},
        {true, false, Switch::kNormal, 7},  {true, false, Switch::kOver, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        const RefPtr<Switch> box = make("box");
        box->setChecked(c.checked);
        box->setEnabled(c.enabled);
        if (c.state == Switch::kOver) {
            (void)box->onMouseMove(110, 55, 0);
        } else if (c.state == Switch::kPressed) {
            ASSERT_TRUE(box->onLeftButtonDown(110, 55, kHeld, false)) << "handled, even disabled";
        }
        EXPECT_EQ(box->getState(), c.state);
        EXPECT_EQ(shownFrame(*box), c.frame);
        // A new picture is laid out as eight frames and keeps the frame.
        box->setImage(test::solidImage(40, 160, 0xFF808080U).get());
        EXPECT_EQ(box->getHeight(), 20);
        EXPECT_EQ(box->getSourceRect()->y, c.frame * 20);
        box->reset();
    }
}

TEST_F(SwitchTest, ACheckBoxTogglesOnEachCompletedClickAfterItsFlagChanged) {
    const RefPtr<Switch> box = make("box");
    ToggleRecorder recorder;
    box->setMethod(&ToggleRecorder::onToggle, &recorder);

    EXPECT_TRUE(click(*box, 110, 55));
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(soundsPlayed(), test::kClickLevel) << "the on sound";
    EXPECT_EQ(box->getState(), Switch::kNormal);
    EXPECT_EQ(shownFrame(*box), 4);

    EXPECT_TRUE(click(*box, 110, 55));
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(soundsPlayed(), test::kOverLevel) << "the off sound";
    EXPECT_EQ(recorder.seen, (std::vector<bool>{true, false})) << "called after the change";
    EXPECT_EQ(recorder.last, box.get());

    // Pressed inside, released outside: nothing.
    (void)box->onLeftButtonDown(110, 55, kHeld, false);
    (void)box->onMouseMove(300, 300, kHeld);
    EXPECT_FALSE(box->onLeftButtonUp(300, 300, 0));
    // Released inside without a press inside: not handled, over frame.
    (void)box->onMouseMove(110, 55, 0);
    EXPECT_FALSE(box->onLeftButtonUp(110, 55, 0));
    EXPECT_EQ(box->getState(), Switch::kOver);
    EXPECT_EQ(recorder.seen.size(), 2U);
    EXPECT_FALSE(box->isChecked());

    // Setting the flag from code calls nothing and plays nothing.
    box->setChecked(true);
    EXPECT_EQ(recorder.seen.size(), 2U);
    EXPECT_EQ(soundsPlayed(), 0);
}

TEST_F(SwitchTest, RadioGroupsAreExclusiveAcrossDialogs) {
    // Two "dialogs" with one member of group 5 each.
    const RefPtr<GameNode> dialogA(new GameNode("A"));
    const RefPtr<GameNode> dialogB(new GameNode("B"));
    const RefPtr<Switch> first = make("radio");
    const RefPtr<Switch> second = make("radio");
    GameTree::appendChild(first.get(), dialogA.get());
    GameTree::appendChild(second.get(), dialogB.get());
    const RefPtr<Switch> loner = make("box"); // no group
    loner->setChecked(true);
    ToggleRecorder recorder;
    first->setMethod(&ToggleRecorder::onToggle, &recorder);

    EXPECT_TRUE(click(*first, 5, 5));
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(soundsPlayed(), test::kClickLevel);
    EXPECT_EQ(recorder.seen, (std::vector<bool>{true}));

    second->setChecked(true);
    EXPECT_FALSE(first->isChecked()) << "the other dialog's member unchecked it";
    EXPECT_TRUE(loner->isChecked()) << "other groups are untouched";
    EXPECT_EQ(shownFrame(*first), 0);

    // A click on the checked member is taken, but changes and calls nothing.
    first->setChecked(true);
    EXPECT_FALSE(second->isChecked());
    (void)soundsPlayed();
    EXPECT_TRUE(click(*first, 5, 5));
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(recorder.seen.size(), 1U);
    EXPECT_EQ(soundsPlayed(), 0);

    // Unchecking a member leaves the group with none checked.
    first->setChecked(false);
    EXPECT_FALSE(second->isChecked());

    // Built checked, the later member unchecks the earlier ones.
    const RefPtr<Switch> builtOn = make("radioon");
    const RefPtr<Switch> builtLater = make("radioon");
    EXPECT_FALSE(builtOn->isChecked());
    EXPECT_TRUE(builtLater->isChecked());
}

TEST_F(SwitchTest, ADisabledSwitchTakesThePressButNotTheRelease) {
    const RefPtr<Switch> off = make("off");
    ToggleRecorder recorder;
    off->setMethod(&ToggleRecorder::onToggle, &recorder);
    EXPECT_TRUE(off->onLeftButtonDown(110, 55, kHeld, false));
    EXPECT_EQ(shownFrame(*off), 7);
    EXPECT_FALSE(off->onLeftButtonUp(110, 55, 0));
    EXPECT_EQ(soundsPlayed(), test::kDeniedLevel);
    EXPECT_TRUE(off->isChecked());
    EXPECT_TRUE(recorder.seen.empty());
    EXPECT_EQ(off->getState(), Switch::kOver);
}

TEST_F(SwitchTest, AClickOnTheLinkedCaptionTogglesTheSwitch) {
    const RefPtr<Switch> box = make("box");
    const RefPtr<Sprite> caption(new Sprite(200, 50, 80, 10));
    box->setLinkedSprite(caption.get());
    EXPECT_FALSE(box->hitTest(0, 0));
    EXPECT_TRUE(click(*box, 250, 55)) << "outside the switch, on its caption";
    EXPECT_TRUE(box->isChecked());
    box->setLinkedSprite(nullptr);
    EXPECT_FALSE(click(*box, 250, 55));
    EXPECT_TRUE(box->isChecked());
}

TEST_F(SwitchTest, HoveringCountsOnceAndIsGivenBackOnEveryPath) {
    const int before = hoverCount;
    {
        const RefPtr<Switch> box = make("box");
        (void)box->onMouseMove(110, 55, 0);
        (void)box->onMouseMove(111, 55, 0);
        EXPECT_EQ(hoverCount, before + 1);
        box->setEnabled(false);
        EXPECT_EQ(hoverCount, before) << "disabling gives it back";
        (void)box->onMouseMove(112, 55, 0);
        EXPECT_EQ(hoverCount, before) << "a disabled switch is not hovered";
        box->setEnabled(true);
        (void)box->onMouseMove(110, 55, 0);
        box->reset();
        EXPECT_EQ(hoverCount, before);
        (void)box->onMouseMove(110, 55, 0);
        EXPECT_EQ(hoverCount, before + 1);
    }
    EXPECT_EQ(hoverCount, before) << "destruction gives it back";
}

TEST_F(SwitchTest, TheLiveListKeepsBuildOrderAndIsFreedWithTheLastSwitch) {
    ASSERT_TRUE(Switch::getLiveSwitches().empty());
    RefPtr<Switch> a = make("radio");
    RefPtr<Switch> b = make("radio");
    RefPtr<Switch> c = make("radio");
    auto live = [] {
        const auto span = Switch::getLiveSwitches();
        return std::vector<Switch*>(span.begin(), span.end());
    };
    EXPECT_EQ(live(), (std::vector<Switch*>{a.get(), b.get(), c.get()}));

    // A dead member leaves the group: checking another must not reach it.
    b->setChecked(true);
    b = nullptr;
    EXPECT_EQ(live(), (std::vector<Switch*>{a.get(), c.get()}));
    c->setChecked(true);
    a->setChecked(true);
    EXPECT_FALSE(c->isChecked());

    a = nullptr;
    c = nullptr;
    EXPECT_TRUE(Switch::getLiveSwitches().empty()) << "freed with the last switch";

    // A new switch starts a new list.
    const RefPtr<Switch> again = make("radio");
    EXPECT_EQ(live(), (std::vector<Switch*>{again.get()}));
}

// Drops the only reference to the switch that calls it.
struct SwitchDropper {
    RefPtr<Switch> held;
    static int onToggle(void* context, void* /*argument*/) {
        static_cast<SwitchDropper*>(context)->held = nullptr;
        return 0;
    }
};

TEST_F(SwitchTest, ACallbackMayDropTheLastReferenceToItsSwitch) {
    SwitchDropper dropper;
    dropper.held = make("box");
    Switch* box = dropper.held.get();
    box->setMethod(&SwitchDropper::onToggle, &dropper);
    EXPECT_TRUE(click(*box, 110, 55));
    EXPECT_EQ(dropper.held, nullptr);
    EXPECT_TRUE(Switch::getLiveSwitches().empty()) << "gone once the event was done";
    EXPECT_EQ(soundsPlayed(), test::kClickLevel) << "the sound still played";
}

} // namespace
} // namespace orv
