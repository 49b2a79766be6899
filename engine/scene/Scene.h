#pragma once

#include "engine/core/AnimTree.h"
#include "engine/core/GameNode.h"
#include "engine/core/MoveTask.h"
#include "engine/core/PurgeTask.h"
#include "engine/core/RefPtr.h"
#include "engine/platform/InputHandler.h"
#include "engine/properties/PropertyVector.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/RenderTask.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

class PropertyNode;

/// Where a scene stands with the scene manager.
enum class SceneState : int {
    New = 0,     ///< never opened
    Current = 1, ///< the scene being shown
    Hidden = 2,  ///< opened before, not shown now
};

/// One screen of the program: a dialog that owns everything a screen needs
/// to run by itself. Its dialog layer is the root of what is drawn (first
/// the scene's components, then each open dialog in the order of opening);
/// its animation tree holds the screen's modifiers; its input handler, move,
/// render and purge tasks are run by the scene manager while it is current.
/// Dialogs are created by name from the "dialogs" definitions on first use,
/// kept in a map, and stacked while open: the dialog shown last gets every
/// event first and swallows it.
///
///     Scene* lobby = SceneManager::getInstance()->addScene("SCENE_LOBBY");
///     SceneManager::getInstance()->setNextScene(lobby);  // opens next frame
///     Dialog* menu = lobby->getDialog("DIALOG_MENU");
///     lobby->showDialog(menu);                           // modal, drawn on top
///     lobby->closeDialog(menu);                          // stays in the map
///
/// Game screens derive from it and override `setBackground` (calling the
/// base) and `onQuitRequest`. Main thread only.
class Scene : public Dialog {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The dialog part from `definition` (the keys of sprite, panel and
    /// dialog apply), the dialog layer with the component root as its first
    /// child, the input handler holding the scene's own listener container,
    /// the animation tree "AnimationTree" and the three tasks. Keeps the
    /// vector "scenecomponents" (built by the first `open`).
    explicit Scene(PropertyNode* definition);
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    /// Takes the input handler out of the window's hooks, then lets go of
    /// the handler, the open dialogs, the dialog map, the tasks, the layer
    /// and the animation tree.
    ~Scene() override;

    /// The object factory's create function for "Scene".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Run by the scene manager when the scene becomes current: the first
    /// time builds the components and the background (`setBackground`);
    /// then the dialog's opening (centring, input on), the tooltip's root
    /// becomes the dialog layer, and the input handler joins the game
    /// window's hooks with its queue emptied.
    void open() override;
    /// The scene stops being shown (`hide`): its own input off, its input
    /// handler out of the window's hooks, one purge.
    void close() override;
    void hide() { close(); }

    using Dialog::setBackground;
    /// Builds the "scenecomponents" (each through the object factory, added
    /// as components in vector order; an element that is not a node is
    /// logged and skipped) and takes the image "scenebackground" of the
    /// resource section "section" as the background. Run by the first
    /// `open`; game scenes override it and call it (with
    /// `using Scene::setBackground;` to keep the image form in reach).
    virtual void setBackground();
    /// The player asks to leave (the window's close button, a quit button).
    /// The base closes the game window, which ends the program; game scenes
    /// ask their quit question instead.
    virtual void onQuitRequest();

    /// The dialog stored under `instanceName` (or `name` when that is
    /// empty), closed first when it is open; on first use it is built from
    /// the "dialogs" definition `name` through the object factory and
    /// stored. Null, with a log line, when "dialogs" has no such definition
    /// or its class is not a dialog. Borrowed from the scene's map.
    Dialog* getDialog(std::string_view name, std::string_view instanceName = {});
    /// The dialog stored under `name`, or null; never builds one. Borrowed.
    [[nodiscard]] Dialog* findDialog(std::string_view name) const;
    /// True when a dialog is stored under `name` and is open.
    [[nodiscard]] bool isDialogOpen(std::string_view name) const;
    /// Opens `dialog` (null does nothing) above everything shown: last child
    /// of the dialog layer, first on the open list, its container in front in
    /// the input handler; then `Dialog::open`. A dialog that is already open
    /// moves to the top instead of standing on the stack twice.
    void showDialog(Dialog* dialog);
    /// Closes `dialog` (null does nothing): `Dialog::close`, marked for
    /// removal (the purge unlinks it), its container out of the input
    /// handler, off the open list. It stays in the map.
    void closeDialog(Dialog* dialog);
    /// Open dialogs, the most recently shown first.
    [[nodiscard]] const std::vector<RefPtr<Dialog>>& getOpenDialogs() const { return openDialogs_; }
    /// Every dialog this scene built, by the name it is stored under.
    [[nodiscard]] const std::unordered_map<std::string, RefPtr<Dialog>>& getDialogMap() const {
        return dialogs_;
    }
    /// Copies the background image to the target's origin at full size;
    /// first clears the target to opaque black when there is no background
    /// or it does not cover the target, so no frame shows the one before.
    void render(Graphics& graphics) override;

    [[nodiscard]] SceneState getState() const { return state_; }
    void setState(SceneState state) { state_ = state; }

    /// Parts owned by the scene, borrowed from it.
    [[nodiscard]] GameNode* getDialogLayer() const { return dialogLayer_.get(); }
    [[nodiscard]] AnimTree* getAnimTree() const { return animTree_.get(); }
    [[nodiscard]] InputHandler* getInputHandler() const { return inputHandler_.get(); }
    [[nodiscard]] MoveTask* getMoveTask() const { return moveTask_.get(); }
    [[nodiscard]] RenderTask* getRenderTask() const { return renderTask_.get(); }
    [[nodiscard]] PurgeTask* getPurgeTask() const { return purgeTask_.get(); }
    [[nodiscard]] PropertyVector* getSceneComponents() const { return sceneComponents_.get(); }

private:
    friend void closeDialogOfCurrentScene(std::string_view name);

    RefPtr<MoveTask> moveTask_;
    RefPtr<RenderTask> renderTask_;
    RefPtr<PurgeTask> purgeTask_;
    RefPtr<GameNode> dialogLayer_;
    RefPtr<AnimTree> animTree_;
    RefPtr<InputHandler> inputHandler_;
    SceneState state_ = SceneState::New;
    std::unordered_map<std::string, RefPtr<Dialog>> dialogs_;
    std::vector<RefPtr<Dialog>> openDialogs_;
    RefPtr<PropertyVector> sceneComponents_;
};

/// In the scene manager's current scene, closes the dialog stored under
/// `name` and takes it out of the map; nothing when there is no such scene
/// or dialog.
void closeDialogOfCurrentScene(std::string_view name);

/// What `showDialog` runs last so that the full-screen buttons stay above the
/// dialog just shown; set by the library that owns those buttons (null for
/// none, the default).
using SceneRefreshFunction = void (*)(Scene* scene);
void setFullScreenRefresh(SceneRefreshFunction refresh);
/// Calls the function set with `setFullScreenRefresh`, if any.
void refreshFullScreen(Scene* scene);

} // namespace orv
