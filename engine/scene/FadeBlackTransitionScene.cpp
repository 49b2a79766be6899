#include "engine/scene/FadeBlackTransitionScene.h"

#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierFunction.h"

#include <array>
#include <string_view>

namespace orv {

constinit const ClassRecord FadeBlackTransitionScene::classRecord{
    "FadeBlackTransitionScene", parentRecords<TransitionScene::classRecord>};

namespace {

constexpr int kLabelFadeMs = 300;
// The dots behind the label's text advance every 300 ms: none, one, two,
// three, and again.
constexpr int kDotStepMs = 300;
constexpr int kDotCycleMs = 4 * kDotStepMs;

// A fade of `sprite`'s alpha that holds back the modifiers queued behind it,
// followed by the call `function(context)` once it is done.
void fadeThen(Sprite& sprite, int durationMs, int fromAlpha, int toAlpha, GuiFunction function,
              void* context) {
    auto* fade = new ModifierAlpha(durationMs, fromAlpha, toAlpha);
    fade->setFinishFlags(Modifier::FinishHoldBack);
    sprite.addModifier(fade);
    sprite.addModifier(new ModifierFunction(function, context));
}

} // namespace

FadeBlackTransitionScene::FadeBlackTransitionScene(PropertyNode* definition)
    : TransitionScene(definition) {
    struct IntegerKey {
        std::string_view key;
        int FadeBlackTransitionScene::*field;
    };
    static constexpr std::array<IntegerKey, 3> integerKeys{{
        {"time", &FadeBlackTransitionScene::time_},
        {"showdelay", &FadeBlackTransitionScene::showDelay_},
        {"showtime", &FadeBlackTransitionScene::showTime_},
    }};
    const PropertyNode& source = *getDefinition();
    for (const IntegerKey& key : integerKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = value->getInt();
        }
    }
    if (const PropertyValue* value = source.findValue("wait")) {
        wait_ = value->getBool();
    }

    // The colour the old screen fades to is the scene's own picture, drawn
    // under everything else of the scene.
    if (const RefPtr<Image> picture = makeWindowImage()) {
        if (const RefPtr<Graphics> graphics = createGraphics(*picture)) {
            graphics->setColor(static_cast<std::uint32_t>(getColor()));
            graphics->clear();
        }
        setBackground(picture.get());
    }
    oldSnapshot_ = addSnapshotSprite();
    newSnapshot_ = addSnapshotSprite();
}

FadeBlackTransitionScene::~FadeBlackTransitionScene() = default;

BaseObject* FadeBlackTransitionScene::createFromDefinition(PropertyNode* definition) {
    return new FadeBlackTransitionScene(definition);
}

void FadeBlackTransitionScene::open() {
    TransitionScene::open();
    oldSnapshot_->setAlpha(255);
    newSnapshot_->setVisible(false);
    fadeThen(*oldSnapshot_, time_, 255, 0, &FadeBlackTransitionScene::enterWaiting, this);
    takeSnapshot(getFrom(), *oldSnapshot_);

    loadingLabel_ = kindCast<Label>(findComponent("LOADING_LABEL"));
    if (loadingLabel_ != nullptr) {
        loadingLabel_->setAlpha(0);
        labelText_ = loadingLabel_->getText();
        // Over the old screen, under the new one.
        GameTree::insertBefore(loadingLabel_, newSnapshot_);
    }
}

int FadeBlackTransitionScene::enterWaiting(void* context, void* /*argument*/) {
    static_cast<FadeBlackTransitionScene*>(context)->phase_ = FadePhase::Waiting;
    return 0;
}

void FadeBlackTransitionScene::updateSelf(int elapsedMs) {
    if (phase_ != FadePhase::Waiting) {
        return;
    }
    if (loadingLabel_ != nullptr) {
        if (showDelay_ >= 0) {
            showDelay_ -= elapsedMs;
            if (showDelay_ < 0) {
                loadingLabel_->addModifier(new ModifierAlpha(kLabelFadeMs, 0, 255));
                loadingLabel_->setText(labelText_);
            }
        } else {
            dotClock_ = (dotClock_ + elapsedMs) % kDotCycleMs;
            showTime_ -= elapsedMs;
            loadingLabel_->setText(
                labelText_ + std::wstring(static_cast<std::size_t>(dotClock_ / kDotStepMs), L'.'));
        }
    }

    const bool loaded = !wait_ || isLoadingDone();
    // A label once shown stays long enough to be read.
    const bool labelAllows = loadingLabel_ == nullptr || showDelay_ > 0 || showTime_ < 1;
    if (loaded && labelAllows) {
        beginFadeIn();
    }
}

void FadeBlackTransitionScene::beginFadeIn() {
    phase_ = FadePhase::FadingIn;
    openTarget();
    prepareFullScreenForTarget();
    takeSnapshot(getTarget(), *newSnapshot_);

    oldSnapshot_->setVisible(false);
    newSnapshot_->setVisible(true);
    newSnapshot_->setAlpha(0);
    fadeThen(*newSnapshot_, time_, 0, 255, &TransitionScene::switchToTargetCallback,
             static_cast<TransitionScene*>(this));
    if (loadingLabel_ != nullptr) {
        loadingLabel_->addModifier(new ModifierAlpha(time_, loadingLabel_->getAlpha(), 0));
    }
}

void FadeBlackTransitionScene::switchToTarget() {
    TransitionScene::switchToTarget();
    restoreFullScreen();
}

} // namespace orv
