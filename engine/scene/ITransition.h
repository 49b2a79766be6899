#pragma once

namespace orv {

class Scene;

/// The part of a transition scene that the scene manager drives: a scene
/// that also implements this is shown between the scene being left and the
/// scene being entered, and hands over by setting the manager's next scene
/// when its animation ends.
///
///     class FadeTransition : public Scene, public ITransition { ... };
///     sceneManager->setTransition("SCENE_FADE");   // a scene definition
///     sceneManager->setNextScene(target);          // switches through it
class ITransition {
public:
    ITransition() = default;
    ITransition(const ITransition&) = delete;
    ITransition& operator=(const ITransition&) = delete;
    virtual ~ITransition() = default;

    /// Called by the switch that shows the transition, before it opens.
    /// `from` (may be null: nothing was shown) stays alive as the manager's
    /// previous scene; `to` is borrowed from whoever keeps it (scenes built
    /// with `SceneManager::addScene` live in the manager's map).
    virtual void start(Scene* from, Scene* to) = 0;
    /// The scene the transition leads to; null before `start`. Borrowed.
    [[nodiscard]] virtual Scene* getTarget() const = 0;
};

} // namespace orv
