#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"
#include "engine/scene/AbstractToolTip.h"
#include "engine/scene/Scene.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace orv {

class GameWindow;

/// The process-wide task that owns every scene and decides, at the start of
/// each frame, which one is shown. Scenes are created once by name from the
/// definition store's "scenes" and kept by name. Game code asks for a change
/// of screen with `setNextScene`, optionally through a transition scene set
/// by name; the switch happens at the start of the next frame, and the
/// scene left is hidden one frame later. Each frame the current scene then
/// runs its input handler, its own update, its move task, its render task,
/// the tooltip and its purge task, in that order. It is the first task of
/// every frame.
///
///     SceneManager* scenes = SceneManager::create();
///     Scene* lobby = scenes->addScene("SCENE_LOBBY");
///     scenes->setNextScene(lobby);
///     timedTasks.addTask(scenes);      // lobby opens in the first frame
///     ...
///     scenes->setTransition("SCENE_FADE");
///     scenes->setNextScene(scenes->getScene("SCENE_GAME"));
///
/// Main thread only.
class SceneManager : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Creates the process-wide manager when there is none (it holds a
    /// reference of its own) and returns it.
    static SceneManager* create();
    /// The process-wide manager, or null. Borrowed.
    [[nodiscard]] static SceneManager* getInstance();
    /// Drops the process-wide reference (exit sequence, tests).
    static void destroyInstance();

    SceneManager() = default;
    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;
    /// Lets go of the previous, current and next scenes, the transition and
    /// the tooltip, then of the scenes in the map.
    ~SceneManager() override;

    /// Builds the scene defined as `name` in the definition store's "scenes"
    /// through the object factory, names it `name` and keeps it in the map
    /// (replacing an earlier scene of that name). Null, with a log line and
    /// the map unchanged, when there is no such definition or it does not
    /// build a scene. Borrowed from the map.
    Scene* addScene(std::string_view name);
    /// The scene kept under `name`, or null. Borrowed.
    [[nodiscard]] Scene* getScene(std::string_view name) const;
    /// The scene the player sees: the current scene, or the target of the
    /// current scene when that is a running transition. Borrowed; may be
    /// null.
    [[nodiscard]] Scene* getCurrentScene() const;

    /// Asks for a switch to `scene` at the start of the next frame (a
    /// reference is held until then; null cancels a pending request).
    void setNextScene(Scene* scene);
    /// Builds the scene defined as `name` (as `addScene`, but not kept in
    /// the map) and makes it the transition of the next switch. False, with
    /// a log line and nothing changed, when it does not build a scene that
    /// is a transition (`ITransition`).
    bool setTransition(std::string_view name);
    /// Installs the process-wide tooltip (null removes it): its root becomes
    /// the dialog layer of the next (else the current) scene, and its
    /// listener part stands in front of the listener container of every
    /// scene kept and of every dialog those scenes built. A reference is
    /// held.
    void setToolTip(AbstractToolTip* toolTip);
    [[nodiscard]] AbstractToolTip* getToolTip() const { return toolTip_.get(); }

    /// One frame: scenes marked for removal that are not current leave the
    /// map; a pending switch happens (a scene that became current this frame
    /// keeps a new switch waiting until the next); the scene left behind is
    /// hidden one frame after the switch; then the current scene's input,
    /// update, move, render, tooltip and purge run with `elapsedMs`.
    void run(int elapsedMs) override;
    /// Makes the pending next scene current, or starts the pending
    /// transition towards it. A direct switch to the scene already current
    /// only drops the request. `run` calls it.
    void switchToPending();

    /// Borrowed; null when unset.
    [[nodiscard]] Scene* getCurrent() const { return current_.get(); }
    [[nodiscard]] Scene* getPrevious() const { return previous_.get(); }
    [[nodiscard]] Scene* getNext() const { return next_.get(); }
    [[nodiscard]] Scene* getTransition() const { return transition_.get(); }
    [[nodiscard]] std::size_t getSceneCount() const { return scenes_.size(); }

private:
    // The scene built from the "scenes" definition `name`, with a reference
    // for the caller; null (logged) when it does not build a scene.
    [[nodiscard]] RefPtr<Scene> buildScene(std::string_view name) const;

    std::unordered_map<std::string, RefPtr<Scene>> scenes_;
    RefPtr<Scene> previous_;
    RefPtr<Scene> current_;
    RefPtr<Scene> next_;
    RefPtr<Scene> transition_;
    RefPtr<AbstractToolTip> toolTip_;
};

/// What the full-screen quit button runs: the current scene's
/// `onQuitRequest` (for a running transition, the transition itself). True
/// when a scene took the request; false without a scene manager or a
/// current scene, which leaves the window to close itself.
bool requestQuitFromCurrentScene();
/// What the game window's close request (WM_CLOSE) runs: `onQuitRequest` of
/// the scene the player sees (`getCurrentScene`: during a running transition
/// the scene it leads to, so that the game asks before quitting; the
/// transition itself when it names no target). True when a scene took the
/// request; false without a scene manager or a scene.
bool requestQuitFromSceneShown();
/// Start-up's wiring of the window's close request (WM_CLOSE) to
/// `requestQuitFromSceneShown`.
void connectCloseRequest(GameWindow& window);

} // namespace orv
