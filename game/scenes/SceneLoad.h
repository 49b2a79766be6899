#pragma once

#include "game/scenes/SceneOrvanta.h"

namespace orv {

class Sprite;

/// The loading screen between the logo splash and the lobby. While the
/// loader thread loads what start-up requested it plays the building's music
/// ("MUSIC_QUENBY"), fills the progress bar ("PROGRESS_BAR") with the loading
/// fraction and pulses the background logo; when everything is loaded it
/// plays "SOUND_LOADING_COMPLETE", swaps "LOADING_TEXT" for the blinking
/// "CLICK_TEXT", shows the hand cursor and sweeps light over "LOGO" every 1
/// to 4 s. A click anywhere then leads to the lobby; a click given while
/// loading is remembered and acted on once loading is done. The optional
/// "media/properties/partners.xml" adds objects (its vector "partners").
/// Registered as "SceneLoad". Main thread only.
class SceneLoad : public SceneOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit SceneLoad(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first open's setup (music, partners, bar, bindings, pulse).
    void setBackground() override;
    using Scene::setBackground;
    /// Every frame: the light sweep, the loading check and the bar, the
    /// remembered click.
    void updateSelf(int elapsedMs) override;
    /// A release anywhere: remembered while loading, else the way to the
    /// lobby. Never reports the event as handled.
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// The callback of "CLICK_TEXT" (context: the scene).
    static int onClickText(void* scene, void* button);

    /// The bar's clip width for loading fraction `fraction` when the first
    /// fraction seen was `start`: the share of what was left to load at the
    /// first frame, truncated, within 0 and `width`; the whole width when
    /// nothing was left then.
    [[nodiscard]] static int barWidth(double fraction, double start, int width);

    [[nodiscard]] bool isLoadingDone() const { return loadingDone_; }
    [[nodiscard]] bool isClickPending() const { return clickPending_; }
    [[nodiscard]] float getStartFraction() const { return startFraction_; }
    /// The shine countdown shared by the whole program (ms).
    [[nodiscard]] static int getShineTimer();
    static void setShineTimer(int ms);

private:
    void addPartners();
    void loadingFinished();
    void updateShine(int elapsedMs);
    void setBarWidth(int width);

    bool loadingDone_ = false;
    bool clickPending_ = false;
    float startFraction_ = -1.0F;
    Sprite* progressBar_ = nullptr;
    Sprite* loadingText_ = nullptr;
    Sprite* clickText_ = nullptr;
    Sprite* backgroundLogo_ = nullptr;
    Sprite* logo_ = nullptr;
};

} // namespace orv
