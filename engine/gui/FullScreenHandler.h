#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/MessageHandler.h"
#include "engine/core/RefPtr.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/iInputListenerContainer.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace orv {

class Button;
class PropertyNode;
class Scene;

/// The window's frame in full-screen mode: three buttons (minimise, back to
/// a window, quit) right-aligned at the node's position, from the right quit,
/// restore, minimise. The node owns the buttons (its children), a listener
/// container holding them and an input handler of its own, registered as a
/// task of the timed task manager and as a hook of the game window, so that
/// the buttons work whatever scene or dialog is open. As a message hook of
/// its own it follows the window: a full-screen change is stored in the
/// options and saved, and shows or hides the buttons; losing the window
/// mutes the sound manager and getting it back unmutes it.
///
///     FullScreenHandler* buttons = FullScreenHandler::create("DEFAULT_FSH");
///     buttons->setPosition(800, 0);            // the top right corner
///     ...                                      // the lobby opens:
///     buttons->setEnabled(true);
///     FullScreenHandler::refresh(nullptr);     // joins the scene the player sees
///     buttons->getListenerContainer().setInputEnabled(window->isFullScreen());
///     ...
///     FullScreenHandler::destroyInstance();    // at exit, before the frame tasks
///
/// The buttons are shown only while the handler is enabled and the window is
/// full screen (`refresh`), and they take input only while that holds too:
/// the container's input starts off, and the window's full-screen change and
/// the transitions turn it on only for an enabled handler, so that buttons
/// nobody sees never quit or minimise the game.
///
/// Definition keys, after the `GameNode` keys: the nodes "button_quit",
/// "button_restore" and "button_minimize", each the definition of a `Button`
/// (or a class derived from it) built through the object factory. A key that
/// is missing or does not build a button is logged and that button left out;
/// the others close up to the right. There is no restore button when the
/// window may not leave full screen (`GameWindow::isFullScreenSwitchAllowed`).
///
/// Main thread only.
class FullScreenHandler : public GameNode, public IMessageHook {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Builds the node from `definition` (null reads as an empty one), joins
    /// the game window's hooks (itself, then its input handler; without a
    /// window it joins none), adds its input handler to the timed task
    /// manager (after the tasks already there; the manager is created when
    /// there is none) and builds the buttons. Not enabled; the container's
    /// input is off.
    explicit FullScreenHandler(PropertyNode* definition);
    FullScreenHandler(const FullScreenHandler&) = delete;
    FullScreenHandler& operator=(const FullScreenHandler&) = delete;
    /// Leaves the window's hooks it joined, empties its input handler and
    /// marks it finished (its task manager drops it at its next turn), then
    /// releases the buttons and the container.
    ~FullScreenHandler() override;

    /// The object factory's create function for "FullScreenHandler".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Builds the handler from the template `name` of the definition store
    /// (created when there is none) through the object factory and makes it
    /// the process-wide handler, holding a reference, in place of an earlier
    /// one; installs `refresh` as the scenes' full-screen refresh and the
    /// input switch of the transitions. Null (logged, nothing changed) when
    /// the template is missing or does not build a `FullScreenHandler`.
    /// Borrowed from the process-wide reference.
    static FullScreenHandler* create(std::string_view name);
    /// The process-wide handler, or null. Borrowed.
    [[nodiscard]] static FullScreenHandler* getInstance();
    /// Removes the scenes' and transitions' hooks and drops the process-wide
    /// reference (a scene's tree may keep the node a little longer; the
    /// hooks and `refresh` no longer reach it).
    static void destroyInstance();

    /// Nothing without a process-wide handler. Otherwise shows it exactly
    /// when it is enabled and the game window is full screen, and appends it
    /// as the last child of the dialog layer of `scene` (borrowed; null: the
    /// scene the player sees, `SceneManager::getCurrentScene`), so that it is
    /// drawn above the scene and its open dialogs. Without such a scene it is
    /// only shown or hidden.
    static void refresh(Scene* scene);

    /// EVENT_FULLSCREEN_CHANGED: stores the new state (wParam not 0) as the
    /// full-screen option and saves the options (when the settings manager
    /// exists), `refresh(nullptr)`, and the buttons' input on exactly when
    /// the window is full screen and the handler is enabled.
    /// EVENT_DEACTIVATED / EVENT_ACTIVATED: mutes / unmutes the sound manager
    /// while sound is enabled. Every other message: nothing.
    void onWindowMessage(std::uint32_t message, std::uint32_t wParam,
                         std::uint32_t lParam) override;

    /// Whether the buttons may be shown at all; the game sets it when its
    /// lobby opens. Takes effect at the next `refresh`.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    /// The buttons' input on when `on` and the handler is enabled, else off.
    void setButtonsInput(bool on);

    /// The container holding the buttons' listener parts. Borrowed from the
    /// handler.
    [[nodiscard]] iInputListenerContainer& getListenerContainer() { return *listeners_; }
    /// The handler's own input handler. Borrowed (the handler and the task
    /// manager hold references).
    [[nodiscard]] InputHandler* getInputHandler() const { return inputHandler_.get(); }
    /// The buttons, borrowed from the handler; null when left out.
    [[nodiscard]] Button* getMinimizeButton() const { return minimizeButton_.get(); }
    [[nodiscard]] Button* getRestoreButton() const { return restoreButton_.get(); }
    [[nodiscard]] Button* getQuitButton() const { return quitButton_.get(); }

    /// The buttons' callbacks (`context` is the handler, `argument` the
    /// button; both unused). Minimise: the game window's `minimize`.
    /// Restore: its `toggleFullScreen`. Quit: `onQuitRequest` of the scene
    /// manager's current scene (a running transition itself). Each does
    /// nothing when what it acts on does not exist, and returns 0.
    static int minimizeAction(void* context, void* argument);
    static int restoreAction(void* context, void* argument);
    static int quitAction(void* context, void* argument);

private:
    // Builds the button from the node under `key`, adds it to the container
    // with `action`, appends it as the last child and places it left of the
    // `placedWidth` pixels of buttons already placed (which it then adds
    // its width to). Null (logged) when the key builds no button.
    RefPtr<Button> addButton(const PropertyNode& source, std::string_view key, GuiFunction action,
                             int& placedWidth);

    // Owned; declared first so that it outlives the buttons it lists.
    std::unique_ptr<iInputListenerContainer> listeners_;
    RefPtr<InputHandler> inputHandler_;
    // The hook list joined at construction, kept so that leaving it works
    // even when the window is gone by then.
    RefPtr<MessageHandler> hooks_;
    RefPtr<Button> minimizeButton_;
    RefPtr<Button> restoreButton_;
    RefPtr<Button> quitButton_;
    bool enabled_ = false;
};

} // namespace orv
