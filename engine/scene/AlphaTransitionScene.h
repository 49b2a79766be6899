#pragma once

#include "engine/scene/TransitionScene.h"

#include <chrono>

namespace orv {

class PropertyNode;

/// A transition that first waits for background loading (when "wait", the
/// default), holding the frame meanwhile, and then cross-fades: the new
/// screen's snapshot fades in over the old one's in "time" ms (default 1000),
/// and the transition hands over.
///
///     <AlphaTransition id="TRANSITION_SPLASH" width="800" height="600" time="600"/>
///
/// Registered with the object factory as "AlphaTransition". Main thread only.
class AlphaTransitionScene : public TransitionScene {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// How long one wait for the loader lasts before the loader is resumed
    /// and asked again; the wait as a whole has no limit.
    static constexpr std::chrono::milliseconds kLoadPoll{10};

    /// The scene part, then the keys "time" (ms) and "wait"; the old and the
    /// new snapshot sprites as the last children of the dialog layer (the
    /// new one on top).
    explicit AlphaTransitionScene(PropertyNode* definition);
    AlphaTransitionScene(const AlphaTransitionScene&) = delete;
    AlphaTransitionScene& operator=(const AlphaTransitionScene&) = delete;
    ~AlphaTransitionScene() override;

    /// The object factory's create function for "AlphaTransition".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The from-scene deaf, the scene opened; with "wait", returns only once
    /// the requested resources are loaded, however long that takes
    /// (`isLoadingDone`; the frame stands still meanwhile); then the target
    /// opens (deaf), both screens are snapshot and the new one starts fading
    /// in, handing over at the end.
    void open() override;
    /// The base's hand-over, then the full-screen buttons follow the target.
    void switchToTarget() override;

    [[nodiscard]] int getTime() const { return time_; }
    [[nodiscard]] bool getWait() const { return wait_; }
    /// Borrowed from the dialog layer.
    [[nodiscard]] Sprite* getOldSnapshot() const { return oldSnapshot_; }
    [[nodiscard]] Sprite* getNewSnapshot() const { return newSnapshot_; }

private:
    Sprite* oldSnapshot_ = nullptr;
    Sprite* newSnapshot_ = nullptr;
    int time_ = 1000;
    bool wait_ = true;
};

} // namespace orv
