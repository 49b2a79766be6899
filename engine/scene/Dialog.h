#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListener.h"
#include "engine/platform/iInputListenerContainer.h"
#include "engine/scene/AbstractPainter.h"
#include "engine/scene/Panel.h"

#include <string_view>

namespace orv {

class Image;
class PropertyNode;

/// How far a dialog's mouse handling has got with a drag.
enum class DragState : int {
    Idle = 0,
    Pressed = 1,  ///< the left button went down on a movable dialog
    Moving = 2,   ///< moved more than 3 pixels: the dialog follows the pointer
    Resizing = 3, ///< kept for dialogs that resize; nothing enters it yet
};

/// A window inside the screen: a panel of components with a background
/// image or a frame drawn by a painter, its own listener container for its
/// components, and mouse handling that lets the user drag it when it is
/// movable. Scenes create dialogs by name from the "dialogs" definitions
/// (`Scene::getDialog`) and show and close them on their dialog stack.
///
/// The components' container reports every event as handled (it swallows),
/// so the dialog shown last is modal; its last entry and exclusive listener
/// is the dialog's own listener part, which still hears the pointer while a
/// drag has switched the components' input off.
///
///     Dialog* menu = scene->getDialog("DIALOG_MENU");
///     menu->bindComponent("BUTTON_PLAY", &Menu::onPlay, menu);
///     scene->showDialog(menu);        // centred when "autocenter"
///
/// Coordinates of the listener operations are window client pixels. Main
/// thread only.
class Dialog : public Panel, public iInputListener {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The panel part from `definition`, then the keys "movable",
    /// "resizable", "usebuffer", "autoenlarge", "autocenter", the painter
    /// ("painter" as a node, else "painterid" naming a template; with auto
    /// enlarge, "minwidth" and "minheight" are applied first) and
    /// "background" with "section" (an image resource; the dialog takes its
    /// size). A painter definition whose class the factory cannot build, or
    /// builds as something else than a painter, is logged and ignored; so is
    /// a background the section lacks. The components' container starts
    /// with input disabled.
    explicit Dialog(PropertyNode* definition);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    ~Dialog() override;

    /// The object factory's create function for "Dialog".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `iInputListener` with the listener part, then as a sprite.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// Remembers the requested size as the minimum and applies it, through
    /// the painter's size adjustment when auto enlarge is set and a painter
    /// is attached. The picture is rebuilt before the next drawing.
    void setWidth(int width) override;
    void setHeight(int height) override;

    /// Panel's, then the picture is rebuilt before the next drawing.
    void addComponent(GameNode* node) override;
    void removeComponent(GameNode* node) override;

    /// Shown: centred in the game window with auto centre (integer halves of
    /// the free space; not moved without a window), the picture rebuilt, the
    /// components' input on. `Scene::showDialog` calls it.
    virtual void open();
    /// Closed: the components' input off. `Scene::closeDialog` calls it.
    virtual void close();
    /// Rebuilds the dialog's picture: the painter paints its frame into the
    /// background (a new display image of the dialog's size when the old one
    /// does not fit), then a copy of the background becomes the shown image,
    /// with the components drawn into it when the buffer is used.
    virtual void refreshBuffer();
    /// Draws `node`'s own picture (its `IRenderable` part, if any) through
    /// the buffer graphics; nothing without them.
    virtual void drawComponent(GameNode* node);
    /// Connects the component named `name` (see `findComponent`) to the
    /// components' container with `function` and `context` as its callback;
    /// false (and logged) when there is no such component.
    virtual bool bindComponent(std::string_view name, GuiFunction function, void* context);

    /// Attaches `painter` (may be null; a reference is held), marks it dirty
    /// and applies the requested minimum size again.
    void setPainter(AbstractPainter* painter);
    [[nodiscard]] AbstractPainter* getPainter() const { return painter_.get(); }
    /// The image the picture is built from (may be null); a reference is held.
    void setBackground(Image* image);
    [[nodiscard]] Image* getBackground() const { return background_.get(); }
    /// The graphics of the shown copy of the background; null before the
    /// first rebuild. Borrowed.
    [[nodiscard]] Graphics* getBufferGraphics() const { return bufferGraphics_.get(); }

    /// The container of the components (and of the dialog's own listener
    /// part); scenes add it to their input handler while the dialog is open.
    [[nodiscard]] iInputListenerContainer& getListenerContainer() { return container_; }
    /// The definition the dialog was built from (never null). Borrowed.
    [[nodiscard]] PropertyNode* getDefinition() const { return definition_.get(); }

    [[nodiscard]] bool isMovable() const { return movable_; }
    void setMovable(bool movable) { movable_ = movable; }
    [[nodiscard]] bool isResizable() const { return resizable_; }
    [[nodiscard]] bool isUsingBuffer() const { return useBuffer_; }
    /// When set, the components are drawn into the dialog's picture (the
    /// component root is hidden from the render walk).
    void setUseBuffer(bool useBuffer);
    [[nodiscard]] bool isAutoEnlarge() const { return autoEnlarge_; }
    /// Changing it applies the current size again.
    void setAutoEnlarge(bool autoEnlarge);
    [[nodiscard]] bool isAutoCenter() const { return autoCenter_; }
    void setAutoCenter(bool autoCenter) { autoCenter_ = autoCenter; }
    [[nodiscard]] DragState getDragState() const { return dragState_; }
    [[nodiscard]] bool needsRefresh() const { return needsRefresh_; }
    void setNeedsRefresh(bool refresh) { needsRefresh_ = refresh; }
    /// The last requested size; -1 while none was requested.
    [[nodiscard]] int getMinWidth() const { return minWidth_; }
    [[nodiscard]] int getMinHeight() const { return minHeight_; }

    /// Rebuilds the picture when it is stale (with the buffer in use, also
    /// when a component changed), then draws it as a sprite.
    void render(Graphics& graphics) override;

    // The listener part: a press on a movable dialog starts a drag, which
    // moves the dialog once the pointer went more than 3 pixels; presses and
    // releases on the dialog are handled, moves never are.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onMouseMove(int x, int y, int flags) override;
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// Ends any drag.
    void reset() override;

private:
    void readDefinition(PropertyNode* definition);
    void readPainter(const PropertyNode& source);
    // Draws `node` and its subtree into the buffer; `root` marks the
    // component root, which is drawn even when hidden and whose siblings are
    // not its components.
    void drawComponentTree(GameNode* node, bool root);
    // True when a visible, unremoved sprite among the components (not inside
    // nested dialogs) has changed its picture.
    [[nodiscard]] bool hasDirtyComponent() const;

    iInputListenerContainer container_;
    RefPtr<Graphics> bufferGraphics_;
    RefPtr<Image> background_;
    RefPtr<AbstractPainter> painter_;
    RefPtr<PropertyNode> definition_;
    int lastX_ = 0;
    int lastY_ = 0;
    int pressX_ = 0;
    int pressY_ = 0;
    int minWidth_ = -1;
    int minHeight_ = -1;
    DragState dragState_ = DragState::Idle;
    bool useBuffer_ = false;
    bool movable_ = false;
    bool resizable_ = false;
    bool needsRefresh_ = false;
    bool autoEnlarge_ = true;
    bool autoCenter_ = false;
};

} // namespace orv
