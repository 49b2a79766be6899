#pragma once

#include "engine/scene/TransitionScene.h"

#include <string>

namespace orv {

class Label;
class PropertyNode;

/// Where a fade to black stands.
enum class FadePhase : int {
    FadingOut = 0, ///< the old screen fades out to the transition's colour
    Waiting = 1,   ///< background loading goes on; the loading label may show
    FadingIn = 2,  ///< the new screen fades in, then the transition hands over
};

/// A transition that fades the old screen out to its own colour (the sprite
/// key "color") over "time" ms, waits there for background loading, and
/// fades the new screen in over "time" ms. When the wait lasts longer than
/// "showdelay" ms, the scene component "LOADING_LABEL" (a `Label`, optional)
/// fades in with 0 to 3 full stops cycling behind its text, and stays at
/// least "showtime" ms. Components of the definition are drawn on the
/// colour, under the fading screens.
///
///     <FadeBlackTransition id="TRANSITION_DEFAULT" width="800" height="600"
///                          color="#000000" time="400" showdelay="3000">
///       <Vector id="components"><Label name="LOADING_LABEL" .../></Vector>
///     </FadeBlackTransition>
///
/// Registered with the object factory as "FadeBlackTransition". Main thread
/// only.
class FadeBlackTransitionScene : public TransitionScene {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The scene part, then the keys "time" (ms, default 1000), "wait"
    /// (default true), "showdelay" (ms, default 3000) and "showtime" (ms,
    /// default 1500); the scene's own window-sized picture in its colour, and
    /// the old and the new snapshot sprites as the last children of the
    /// dialog layer (the new one on top).
    explicit FadeBlackTransitionScene(PropertyNode* definition);
    FadeBlackTransitionScene(const FadeBlackTransitionScene&) = delete;
    FadeBlackTransitionScene& operator=(const FadeBlackTransitionScene&) = delete;
    ~FadeBlackTransitionScene() override;

    /// The object factory's create function for "FadeBlackTransition".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The from-scene deaf, the scene opened; the old screen's snapshot
    /// starts fading out (phase `Waiting` once it is gone); the loading label
    /// is made transparent and placed between the two snapshots.
    void open() override;
    /// In phase `Waiting` only: the loading label's clock and dots, and,
    /// once loading is done and the label (if shown) has stayed long enough,
    /// the target opens (deaf), its snapshot fades in and then hands over.
    void updateSelf(int elapsedMs) override;
    /// The base's hand-over, then the full-screen buttons follow the target.
    void switchToTarget() override;

    [[nodiscard]] FadePhase getPhase() const { return phase_; }
    [[nodiscard]] int getTime() const { return time_; }
    [[nodiscard]] bool getWait() const { return wait_; }
    /// Milliseconds of waiting left before the label shows; negative once
    /// shown.
    [[nodiscard]] int getShowDelay() const { return showDelay_; }
    /// Milliseconds the shown label must still stay.
    [[nodiscard]] int getShowTime() const { return showTime_; }
    /// Borrowed from the dialog layer; all three null before construction
    /// ends, the label null when the scene has none.
    [[nodiscard]] Sprite* getOldSnapshot() const { return oldSnapshot_; }
    [[nodiscard]] Sprite* getNewSnapshot() const { return newSnapshot_; }
    [[nodiscard]] Label* getLoadingLabel() const { return loadingLabel_; }

private:
    // Runs as the function modifier behind the old screen's fade.
    static int enterWaiting(void* context, void* argument);
    // Phase `FadingIn`: the target opens and its snapshot fades in.
    void beginFadeIn();

    Sprite* oldSnapshot_ = nullptr;
    Sprite* newSnapshot_ = nullptr;
    Label* loadingLabel_ = nullptr;
    std::wstring labelText_;
    int showDelay_ = 3000;
    int showTime_ = 1500;
    int dotClock_ = 0;
    bool wait_ = true;
    int time_ = 1000;
    FadePhase phase_ = FadePhase::FadingOut;
};

} // namespace orv
