#include "engine/scene/AlphaTransitionScene.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierFunction.h"

#include <string_view>

namespace orv {

constinit const ClassRecord AlphaTransitionScene::classRecord{
    "AlphaTransitionScene", parentRecords<TransitionScene::classRecord>};

namespace {

// Blocks until nothing requested is left to load. The manager wakes the wait
// after every loader pass, so no fixed sleep paces it.
void waitForLoading() {
    while (!TransitionScene::isLoadingDone()) {
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            static_cast<void>(resources->waitForRequests(AlphaTransitionScene::kLoadPoll));
        }
    }
}

} // namespace

AlphaTransitionScene::AlphaTransitionScene(PropertyNode* definition) : TransitionScene(definition) {
    const PropertyNode& source = *getDefinition();
    if (const PropertyValue* value = source.findValue("time")) {
        time_ = value->getInt();
    }
    if (const PropertyValue* value = source.findValue("wait")) {
        wait_ = value->getBool();
    }
    oldSnapshot_ = addSnapshotSprite();
    newSnapshot_ = addSnapshotSprite();
}

AlphaTransitionScene::~AlphaTransitionScene() = default;

BaseObject* AlphaTransitionScene::createFromDefinition(PropertyNode* definition) {
    return new AlphaTransitionScene(definition);
}

void AlphaTransitionScene::open() {
    TransitionScene::open();
    if (wait_) {
        waitForLoading();
    }
    openTarget();

    auto* fade = new ModifierAlpha(time_, 0, 255);
    fade->setFinishFlags(Modifier::FinishHoldBack);
    newSnapshot_->addModifier(fade);
    newSnapshot_->addModifier(new ModifierFunction(&TransitionScene::switchToTargetCallback,
                                                   static_cast<TransitionScene*>(this)));

    takeSnapshot(getFrom(), *oldSnapshot_);
    prepareFullScreenForTarget();
    takeSnapshot(getTarget(), *newSnapshot_);
}

void AlphaTransitionScene::switchToTarget() {
    TransitionScene::switchToTarget();
    restoreFullScreen();
}

} // namespace orv
