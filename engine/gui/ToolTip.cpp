#include "engine/gui/ToolTip.h"

#include "engine/core/Log.h"
#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Label.h"
#include "engine/scene/Panel.h"

#include <string_view>

namespace orv {

constinit const ClassRecord ToolTip::classRecord{"ToolTip",
                                                 parentRecords<AbstractToolTip::classRecord>};

namespace {

// Where the box goes relative to the pointer, in pixels: below the pointer's
// picture, or beside it when there is no room below.
constexpr int kBelowPointer = 24;
constexpr int kBesidePointer = 16;
// Room the box keeps to the window's edges and, placed left, to the pointer.
constexpr int kEdgeMargin = 3;
constexpr int kLeftGap = 2;

} // namespace

ToolTip::ToolTip(PropertyNode* definition) {
    if (definition == nullptr) {
        return;
    }
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (const AbstractProperty* renderer = source.getChild("renderer");
        renderer != nullptr && renderer->isNode()) {
        PropertyNode* rendererDefinition = source.getNode("renderer");
        const RefPtr<BaseObject> made(orv::createFromDefinition(rendererDefinition));
        renderer_ = kindCast<Sprite>(made.get());
        if (!renderer_) {
            logWarning("ToolTip '" + source.getName() + "': renderer of type '" +
                       rendererDefinition->getTypeName() +
                       "' is not a sprite; no tooltip is shown");
        }
    }
    if (const PropertyValue* value = source.findValue("showdelay")) {
        showDelay_ = value->getInt();
    }
    if (const PropertyValue* value = source.findValue("removedelay")) {
        removeDelay_ = value->getInt();
    }
}

ToolTip::~ToolTip() = default;

BaseObject* ToolTip::createFromDefinition(PropertyNode* definition) {
    return new ToolTip(definition);
}

void* ToolTip::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iInputListener::classRecord) {
        return static_cast<iInputListener*>(this);
    }
    return nullptr;
}

void ToolTip::setRoot(GameNode* root) {
    root_ = root;
}

bool ToolTip::onMouseMove(int x, int y, int flags) {
    static_cast<void>(flags);
    mouseX_ = x;
    mouseY_ = y;
    return false;
}

void ToolTip::run(int elapsedMs) {
    if (!root_ || !renderer_) {
        current_ = nullptr;
        return;
    }
    Sprite* found = findUnderPointer();
    if (found == nullptr || found->getToolTip() == nullptr) {
        current_ = nullptr;
        return;
    }
    if (found != current_.get()) {
        showCountdown_ = showDelay_;
        current_ = found;
        removeCountdown_ = removeDelay_;
        renderer_->setToolTip(*found->getToolTip());
        // Without a delay the box shows in this very frame; it must not
        // show where the previous sprite's box stood.
        if (showCountdown_ <= 0) {
            place();
        }
    } else if (showCountdown_ > 0) {
        showCountdown_ -= elapsedMs;
        if (showCountdown_ <= 0) {
            place();
        }
    }
    if (showCountdown_ <= 0 && removeCountdown_ > 0) {
        removeCountdown_ -= elapsedMs;
        draw();
    }
}

Sprite* ToolTip::findUnderPointer() const {
    Sprite* found = nullptr;
    search(*root_, found);
    return found;
}

void ToolTip::search(GameNode& node, Sprite*& found) const {
    if (node.hasRemovalMark() || !node.isVisible()) {
        return;
    }
    if (Sprite* sprite = kindCast<Sprite>(&node)) {
        // A dialog drawn later covers whatever was found before it, and so
        // does a panel under the pointer.
        if (sprite->isKindOf(Dialog::classRecord)) {
            found = nullptr;
        }
        if (sprite->hitTest(mouseX_, mouseY_)) {
            if (sprite->isKindOf(Panel::classRecord)) {
                found = nullptr;
            }
            if (sprite->getToolTip() != nullptr) {
                found = sprite;
            }
        }
    }
    for (GameNode* child = node.getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        search(*child, found);
    }
}

void ToolTip::place() {
    if (auto* label = kindCast<Label>(renderer_.get())) {
        label->relayout();
    }
    const int width = renderer_->getWidth() + kEdgeMargin;
    const int height = renderer_->getHeight() + kEdgeMargin;
    tipX_ = mouseX_;
    tipY_ = mouseY_ + kBelowPointer;
    const GameWindow* window = GameWindow::getInstance();
    if (window == nullptr) {
        return;
    }
    bool aside = false;
    if (window->getHeight() < tipY_ + height) {
        tipX_ = mouseX_ + kBesidePointer;
        tipY_ = mouseY_;
        if (window->getHeight() < tipY_ + height) {
            tipY_ = window->getHeight() - height;
        }
        aside = true;
    }
    if (window->getWidth() < tipX_ + width) {
        tipX_ = aside ? mouseX_ - width - kLeftGap : window->getWidth() - width;
    }
}

void ToolTip::draw() {
    const GameWindow* window = GameWindow::getInstance();
    Graphics* graphics = window != nullptr ? window->getGraphics() : nullptr;
    if (graphics == nullptr) {
        return;
    }
    graphics->translate(tipX_, tipY_);
    renderer_->render(*graphics);
    graphics->translate(-tipX_, -tipY_);
}

} // namespace orv
