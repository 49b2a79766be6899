#include "game/dialogs/DialogZoom.h"

#include "engine/core/GameTree.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierVisible.h"
#include "engine/scene/Panel.h"
#include "engine/scene/Sprite.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord DialogZoom::classRecord{"DialogZoom",
                                                    parentRecords<DialogOrvanta::classRecord>};

namespace {

// How far inside the dialog's edges the components are clipped.
constexpr int kZoomInset = 25;

// `modifier` added to `node`, the ones behind it waiting for its end.
void queueBlocking(GameNode& node, Modifier* modifier) {
    node.addModifier(modifier)->setFinishFlags(Modifier::FinishHoldBack);
}

} // namespace

DialogZoom::DialogZoom(PropertyNode* definition)
    : DialogOrvanta(definition), appearTime_(DIALOG_ZOOM_APPEAR_TIME),
      disappearTime_(DIALOG_ZOOM_DISAPPEAR_TIME), hideDelay_(DIALOG_ZOOM_HIDE_DELAY) {
    if (getDefinition()->findValue("anchorpoint") != nullptr) {
        setPivotFollowsAnchor(true);
        setAnchorPoint(AnchorKind::Center);
    }
    GameNode* root = getComponentRoot();
    RefPtr<Panel> container(new Panel(nullptr));
    container->setName("ZOOM_CONTAINER");
    container_ = container.get();
    if (root != nullptr) {
        GameNode* child = root->getFirstChild();
        while (child != nullptr) {
            GameNode* next = child->getNextSibling();
            container_->addComponent(child);
            child = next;
        }
        GameTree::appendChild(container_, root);
    }
    container_->setClipRect(kZoomInset - static_cast<int>(getAnchorOffsetX()),
                            kZoomInset - static_cast<int>(getAnchorOffsetY()),
                            getWidth() - 2 * kZoomInset, getHeight() - 2 * kZoomInset);
    container_->setClipChildren(true);
    setVisible(false);
    setNotifyGameScene(false);
    container_->setVisible(false);
}

BaseObject* DialogZoom::createFromDefinition(PropertyNode* definition) {
    return new DialogZoom(definition);
}

void DialogZoom::addComponent(GameNode* node) {
    if (node == nullptr || container_ == nullptr) {
        DialogOrvanta::addComponent(node);
        return;
    }
    container_->addComponent(node);
    node->setRemovalMark(false);
}

void DialogZoom::zoomIn() {
    if (!isVisible()) {
        setScale(0.0F);
        setVisible(true);
    }
    const float scale = std::clamp(getScale(), 0.0F, 1.0F);
    queueBlocking(
        *this, new ModifierScale(static_cast<int>((1.0F - scale) * static_cast<float>(appearTime_)),
                                 scale, 1.0F));
    addModifier(new ModifierFunction(&DialogZoom::onZoomedIn, this));
}

int DialogZoom::onZoomedIn(void* dialog, void* /*modifier*/) {
    static_cast<DialogZoom*>(dialog)->container_->setVisible(true);
    return 0;
}

void DialogZoom::zoomOutLater() {
    queueBlocking(*this, new ModifierDelay(hideDelay_));
    addModifier(new ModifierFunction(&DialogZoom::onZoomOut, this));
}

int DialogZoom::onZoomOut(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogZoom*>(dialog);
    self->container_->setVisible(false);
    const float scale = std::max(self->getScale(), 0.0F);
    queueBlocking(
        *self, new ModifierScale(static_cast<int>(scale * static_cast<float>(self->disappearTime_)),
                                 scale, 0.0F));
    self->addModifier(new ModifierVisible(ModifierVisible::Hide));
    return 0;
}

} // namespace orv
