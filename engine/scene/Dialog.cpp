#include "engine/scene/Dialog.h"

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/AbstractToolTip.h"
#include "engine/scene/IRenderable.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Platform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace orv {

constinit const ClassRecord Dialog::classRecord{
    "Dialog", parentRecords<Panel::classRecord, iInputListener::classRecord>};

namespace {

// Pointer travel, in pixels, that turns a press on a movable dialog into a
// drag: a click that wobbles a little still reaches the buttons.
constexpr int kDragThreshold = 3;

int nearestWhole(float value) {
    return static_cast<int>(std::nearbyint(value));
}

// The position along one axis that keeps a box of `size` at `position` +
// `shift` (its screen edge) inside 0..`span`; a box larger than the span
// keeps covering it.
int keepInside(int position, int shift, int size, int span) {
    const int low = std::min(0, span - size);
    const int high = std::max(0, span - size);
    return std::clamp(position + shift, low, high) - shift;
}

} // namespace

Dialog::Dialog(PropertyNode* definition)
    : Panel(definition), definition_(asNode(propertyOfDefinition(definition))) {
    // The dialog's own handlers come last and still hear the pointer while
    // the components' input is off (during a drag); the container swallows
    // every event so that nothing beneath an open dialog sees it.
    container_.insertListener(this);
    container_.setExclusiveListener(this);
    container_.setSwallow(true);
    container_.setInputEnabled(false);
    if (const SceneManager* scenes = SceneManager::getInstance()) {
        if (AbstractToolTip* toolTip = scenes->getToolTip()) {
            container_.insertListener(toolTip);
        }
    }
    readDefinition(definition_.get());
}

Dialog::~Dialog() = default;

BaseObject* Dialog::createFromDefinition(PropertyNode* definition) {
    return new Dialog(definition);
}

void Dialog::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *definition;
    if (const PropertyValue* value = source.findValue("movable")) {
        movable_ = value->getBool();
    }
    if (const PropertyValue* value = source.findValue("resizable")) {
        resizable_ = value->getBool();
    }
    if (const PropertyValue* value = source.findValue("usebuffer")) {
        setUseBuffer(value->getBool());
    }
    if (const PropertyValue* value = source.findValue("autoenlarge")) {
        setAutoEnlarge(value->getBool());
    }
    if (const PropertyValue* value = source.findValue("autocenter")) {
        autoCenter_ = value->getBool();
    }
    readPainter(source);

    if (source.findValue("background") != nullptr) {
        const std::string imageName = source.getValue("background")->getString();
        const std::string sectionName = source.getValue("section")->getString();
        Image* image = nullptr;
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            const platform::NamedMutexGuard guard(resources->getDataLock());
            image = kindCast<Image>(resources->getObject(imageName, sectionName));
            if (image != nullptr) {
                setBackground(image);
                setSize(image->getWidth(), image->getHeight());
            }
        }
        if (image == nullptr) {
            logWarning("Dialog '" + getName() + "': no background image '" + imageName +
                       "' in section '" + sectionName + "'");
        }
    }
}

void Dialog::readPainter(const PropertyNode& source) {
    PropertyNode* painterDefinition = DUMMY_NODE;
    if (const AbstractProperty* painter = source.getChild("painter");
        painter != nullptr && painter->isNode()) {
        painterDefinition = source.getNode("painter");
    } else if (source.findValue("painterid") != nullptr) {
        const std::string id = source.getValue("painterid")->getString();
        painterDefinition = asNode(getDefinitionStore().getTemplates()->getChild(id));
        if (painterDefinition == DUMMY_NODE) {
            logWarning("Dialog '" + getName() + "': no painter template '" + id + "'");
        }
    }
    if (painterDefinition == DUMMY_NODE) {
        minWidth_ = getWidth();
        minHeight_ = getHeight();
        return;
    }
    if (autoEnlarge_) {
        if (const PropertyValue* value = source.findValue("minwidth")) {
            setWidth(value->getInt());
        }
        if (const PropertyValue* value = source.findValue("minheight")) {
            setHeight(value->getInt());
        }
    }
    const RefPtr<BaseObject> made(ObjectFactoryContainer::get().createObject(
        painterDefinition->getTypeName(), painterDefinition));
    AbstractPainter* painter = kindCast<AbstractPainter>(made.get());
    if (painter == nullptr) {
        logWarning("Dialog '" + getName() + "': painter '" + painterDefinition->getName() +
                   "' of type '" + painterDefinition->getTypeName() +
                   "' is not a painter; the dialog has no frame");
        return;
    }
    setPainter(painter);
}

void* Dialog::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iInputListener::classRecord) {
        return static_cast<iInputListener*>(this);
    }
    return Panel::getInterface(interfaceRecord);
}

void Dialog::setWidth(int width) {
    minWidth_ = width;
    Panel::setWidth(autoEnlarge_ && painter_ ? painter_->adjustWidth(width) : width);
    needsRefresh_ = true;
    setDirty(true);
}

void Dialog::setHeight(int height) {
    minHeight_ = height;
    Panel::setHeight(autoEnlarge_ && painter_ ? painter_->adjustHeight(height) : height);
    needsRefresh_ = true;
    setDirty(true);
}

void Dialog::setPainter(AbstractPainter* painter) {
    painter_ = painter;
    if (painter_) {
        painter_->setDirty(true);
    } else {
        needsRefresh_ = true;
    }
    // A dialog whose size was never requested (a painter attached without
    // auto enlarge) keeps the size it has rather than taking -1.
    setSize(minWidth_ < 0 ? getWidth() : minWidth_, minHeight_ < 0 ? getHeight() : minHeight_);
    setDirty(true);
}

void Dialog::setBackground(Image* image) {
    if (background_.get() == image) {
        return;
    }
    background_ = image;
    needsRefresh_ = true;
    setDirty(true);
}

void Dialog::setUseBuffer(bool useBuffer) {
    if (useBuffer_ == useBuffer) {
        return;
    }
    useBuffer_ = useBuffer;
    getComponentRoot()->setVisible(!useBuffer);
    needsRefresh_ = true;
    setDirty(true);
}

void Dialog::setAutoEnlarge(bool autoEnlarge) {
    if (autoEnlarge_ == autoEnlarge) {
        return;
    }
    autoEnlarge_ = autoEnlarge;
    setSize(getWidth(), getHeight());
}

void Dialog::addComponent(GameNode* node) {
    Panel::addComponent(node);
    needsRefresh_ = true;
    setDirty(true);
}

void Dialog::removeComponent(GameNode* node) {
    Panel::removeComponent(node);
    needsRefresh_ = true;
}

void Dialog::open() {
    if (autoCenter_) {
        if (const GameWindow* window = GameWindow::getInstance()) {
            setPosition((window->getWidth() - getWidth()) / 2,
                        (window->getHeight() - getHeight()) / 2);
        }
    }
    needsRefresh_ = true;
    setDirty(true);
    container_.setInputEnabled(true);
}

void Dialog::close() {
    container_.setInputEnabled(false);
}

void Dialog::refreshBuffer() {
    if (painter_ && getWidth() > 0 && getHeight() > 0) {
        if (!background_ || background_->getWidth() != getWidth() ||
            background_->getHeight() != getHeight()) {
            background_ = createDisplayImage(getWidth(), getHeight());
            painter_->setDirty(true);
        }
        if (background_ && painter_->isDirty()) {
            if (const RefPtr<Graphics> canvas = createGraphics(*background_)) {
                painter_->paint(*canvas);
            }
            painter_->setDirty(false);
            needsRefresh_ = true;
        }
    }
    if (!background_ || !needsRefresh_) {
        return;
    }
    const std::optional<Rect> stretch = getStretchRect();
    const RefPtr<Image> picture = cloneImage(*background_);
    setImage(picture.get());
    bufferGraphics_ = picture ? createGraphics(*picture) : nullptr;
    if (stretch) {
        const Rect& placed = *getStretchRect();
        setStretchRect(placed.x, placed.y, stretch->width, stretch->height);
    }
    if (bufferGraphics_ && (useBuffer_ || dragState_ == DragState::Resizing)) {
        drawComponentTree(getComponentRoot(), true);
    }
    needsRefresh_ = false;
    setDirty(true);
}

void Dialog::drawComponent(GameNode* node) {
    if (!bufferGraphics_ || node == nullptr) {
        return;
    }
    if (auto* renderable =
            static_cast<IRenderable*>(node->getInterface(IRenderable::classRecord))) {
        renderable->render(*bufferGraphics_);
    }
}

void Dialog::drawComponentTree(GameNode* node, bool root) {
    if ((!root && !node->isVisible()) || node->hasRemovalMark()) {
        return;
    }
    Graphics& graphics = *bufferGraphics_;
    std::optional<Rect> savedClip;
    if (const Sprite* sprite = kindCast<Sprite>(node);
        sprite != nullptr && sprite->getClipChildren() && sprite->getClipRect()) {
        // The rectangle is in the parent's coordinates, which the buffer's
        // translation holds; the clip is in the buffer's pixels.
        savedClip = graphics.getClip();
        const Rect& clip = *sprite->getClipRect();
        graphics.intersectClip(clip.x + graphics.getTranslateX(), clip.y + graphics.getTranslateY(),
                               clip.width, clip.height);
    }
    drawComponent(node);
    if (node->getFirstChild() != nullptr) {
        // The components stand relative to the dialog's position, and the
        // picture's corner lies the anchor offset before it.
        int dx = node->getX();
        int dy = node->getY();
        if (root) {
            dx += nearestWhole(getAnchorOffsetX());
            dy += nearestWhole(getAnchorOffsetY());
        }
        graphics.translate(dx, dy);
        for (GameNode* child = node->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            drawComponentTree(child, false);
        }
        graphics.translate(-dx, -dy);
    }
    if (savedClip) {
        graphics.setClip(*savedClip);
    }
}

bool Dialog::hasDirtyComponent() const {
    struct Walk {
        static bool dirty(const GameNode* node) {
            for (const GameNode* child = node->getFirstChild(); child != nullptr;
                 child = child->getNextSibling()) {
                if (!child->isVisible() || child->hasRemovalMark()) {
                    continue;
                }
                const auto* sprite = dynamic_cast<const Sprite*>(child);
                if (sprite != nullptr && sprite->isDirty()) {
                    return true;
                }
                if (child->isKindOf(Dialog::classRecord)) {
                    continue;
                }
                if (dirty(child)) {
                    return true;
                }
            }
            return false;
        }
    };
    return Walk::dirty(getComponentRoot());
}

bool Dialog::bindComponent(std::string_view name, GuiFunction function, void* context) {
    GameNode* component = findComponent(name);
    if (component == nullptr) {
        logWarning("Dialog '" + getName() + "': no component '" + std::string(name) +
                   "' to connect");
        return false;
    }
    container_.addListener(component, function, context);
    return true;
}

void Dialog::render(Graphics& graphics) {
    if (useBuffer_ && hasDirtyComponent()) {
        needsRefresh_ = true;
    }
    if (needsRefresh_ || (painter_ && painter_->isDirty())) {
        refreshBuffer();
    }
    Panel::render(graphics);
}

bool Dialog::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    static_cast<void>(flags);
    static_cast<void>(doubleClick);
    if (!hitTest(x, y)) {
        return false;
    }
    if (movable_) {
        pressX_ = x;
        pressY_ = y;
        lastX_ = x;
        lastY_ = y;
        dragState_ = DragState::Pressed;
    }
    return true;
}

bool Dialog::onMouseMove(int x, int y, int flags) {
    static_cast<void>(flags);
    if (dragState_ == DragState::Pressed &&
        (std::abs(x - pressX_) > kDragThreshold || std::abs(y - pressY_) > kDragThreshold)) {
        container_.setInputEnabled(false);
        dragState_ = DragState::Moving;
    }
    if (dragState_ == DragState::Moving) {
        int newX = getX() + x - lastX_;
        int newY = getY() + y - lastY_;
        // A dialog dragged to the edge stops there: left out of the window
        // it could hardly be caught again.
        if (const GameWindow* window = GameWindow::getInstance()) {
            newX = keepInside(newX, getParentX() - nearestWhole(getAnchorOffsetX()), getWidth(),
                              window->getWidth());
            newY = keepInside(newY, getParentY() - nearestWhole(getAnchorOffsetY()), getHeight(),
                              window->getHeight());
        }
        setPosition(newX, newY);
        lastX_ = x;
        lastY_ = y;
    }
    return false;
}

bool Dialog::onLeftButtonUp(int x, int y, int flags) {
    static_cast<void>(flags);
    switch (dragState_) {
    case DragState::Pressed:
        dragState_ = DragState::Idle;
        return hitTest(x, y);
    case DragState::Moving:
    case DragState::Resizing:
        container_.setInputEnabled(true);
        dragState_ = DragState::Idle;
        return true;
    case DragState::Idle:
        break;
    }
    return false;
}

void Dialog::reset() {
    dragState_ = DragState::Idle;
}

} // namespace orv
