#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "engine/scene/ITransition.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace orv {

class PropertyNode;

/// A scene shown between the scene being left ("from") and the scene being
/// entered ("to"). The scene manager starts it with both, opens it instead
/// of either, and the transition hands over when its animation ends:
/// `switchToTarget` makes the target the manager's next scene, and the
/// manager then makes it current without opening it again (the transition
/// opened it already, deaf, through `openTarget`).
///
///     scenes->setTransition("TRANSITION_DEFAULT");        // a "scenes" definition
///     scenes->setNextScene(scenes->getScene("SCENE_GAME")); // switches through it
///
/// The kinds (`FadeBlackTransitionScene`, `AlphaTransitionScene`) animate
/// snapshots: each scene is drawn once into a window-sized image, and only
/// those images are drawn while the transition runs. Main thread only; the
/// resource loader is only resumed and polled.
class TransitionScene : public Scene, public ITransition {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The scene part from `definition`; no scenes yet, input re-enabled at
    /// hand-over.
    explicit TransitionScene(PropertyNode* definition);
    TransitionScene(const TransitionScene&) = delete;
    TransitionScene& operator=(const TransitionScene&) = delete;
    ~TransitionScene() override;

    /// Stores both scenes (borrowed, no reference: the manager keeps `from`
    /// as its previous scene, `to` lives in its map). Either may be null.
    void start(Scene* from, Scene* to) override;
    [[nodiscard]] Scene* getTarget() const override { return to_; }
    /// The scene being left; null before `start` or when nothing was shown.
    [[nodiscard]] Scene* getFrom() const { return from_; }

    /// Opens the target (`Scene::open`) and then switches its input off, so
    /// that it is live but deaf while the transition still shows. Nothing
    /// without a target.
    virtual void openTarget();
    /// Makes the target the scene manager's next scene (nothing without a
    /// manager) and, when `getReenableInput`, switches the target's input
    /// back on.
    virtual void switchToTarget();
    /// `switchToTarget` as the function of a `ModifierFunction`: `context` is
    /// the transition (borrowed; it owns the modifier, so it outlives it).
    static int switchToTargetCallback(void* context, void* argument);

    /// Switches the from-scene's input off, then opens as a scene.
    void open() override;
    /// Closes as a scene, then lets its window-sized pictures go: a
    /// transition is shown once, and the scene manager keeps it as its
    /// previous scene until the next switch.
    void close() override;

    [[nodiscard]] bool getReenableInput() const { return reenableInput_; }
    void setReenableInput(bool reenable) { reenableInput_ = reenable; }

    /// True when nothing requested from the resource manager is left to load:
    /// the loader has been started and no requested section has an unloaded
    /// object (the loader is resumed first, and finished requests retire).
    /// Also true without a resource manager or once its loader has stopped,
    /// since nothing could ever arrive then.
    [[nodiscard]] static bool isLoadingDone();

protected:
    /// A new black, opaque image of the game window's size in the window's
    /// pixel format (the display's while the window has none yet); null
    /// without a window or when it cannot be made (logged). The caller holds
    /// the only reference.
    [[nodiscard]] RefPtr<Image> makeWindowImage() const;
    /// A sprite at (0, 0) holding a `makeWindowImage` picture, appended as
    /// the last child of the dialog layer. Without that picture the sprite
    /// holds no image and snapshots draw nothing. Borrowed from the layer,
    /// which holds it.
    Sprite* addSnapshotSprite();
    /// Draws `scene` (may be null: the picture is only cleared) into the
    /// sprite's image: cleared to opaque black, the scene's own picture
    /// when it is visible, then its dialog layer as the render task draws
    /// it. Nothing when the image has no drawing interface.
    static void takeSnapshot(Scene* scene, Sprite& snapshot);
    /// Hands the full-screen buttons to the target as a transition ends:
    /// their input on exactly when the window is full screen, then
    /// `refreshFullScreen` with the target (with null the buttons go to the
    /// scene the player sees).
    void restoreFullScreen();
    /// The buttons' input off and the buttons handed to the target, as the
    /// target's snapshot is about to be taken.
    void prepareFullScreenForTarget();

private:
    Scene* from_ = nullptr;
    Scene* to_ = nullptr;
    bool reenableInput_ = true;
};

/// What transitions do with the input of the full-screen buttons; the
/// library that owns those buttons installs it while they exist (null for
/// none, the default). The visibility and the scene the buttons join follow
/// `refreshFullScreen` (Scene.h).
using FullScreenInputFunction = void (*)(bool enabled);
void setFullScreenInputControl(FullScreenInputFunction control);

} // namespace orv
