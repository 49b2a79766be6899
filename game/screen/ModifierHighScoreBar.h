#pragma once

#include "engine/core/ModifierFraction.h"
#include "engine/core/RefPtr.h"

namespace orv {

class GameNode;
class Image;
class Sprite;

/// The running lights of the high-score bar: a bar picture with 29 additive
/// lights along its top edge (12 pixels apart, 12 pixels above the bar); a
/// bright spot runs along them, one light every 40 ms, each rising over
/// 20 ms, holding 200 ms and fading over 720 ms, the cycle repeating every
/// 1160 ms. A light's brightest alpha is 80/255 of the bar's own alpha.
///
///     auto* bar = new GameNode();
///     panel->addChild(bar);
///     bar->addModifier(new ModifierHighScoreBar(ModifierHighScoreBar::kEndless));
///
/// The bar sprite is made at construction and hangs under `parent` when one
/// is given, else under the target at the first update. Times are
/// milliseconds. Main thread only.
class ModifierHighScoreBar : public ModifierFraction {
public:
    /// A duration that never ends while the scene lives.
    static constexpr int kEndless = 2147483647;
    static constexpr int kLights = 29;
    static constexpr int kLightStepX = 12;
    static constexpr int kLightY = -12;

    /// `bar` and `light` default to "HIGHSCORE_ANIM_BAR" and
    /// "HIGHSCORE_ANIM_LIGHT" of the section "default" (held). `parent` is
    /// borrowed.
    explicit ModifierHighScoreBar(int durationMs, GameNode* parent = nullptr, Image* bar = nullptr,
                                  Image* light = nullptr);
    ModifierHighScoreBar(const ModifierHighScoreBar&) = delete;
    ModifierHighScoreBar& operator=(const ModifierHighScoreBar&) = delete;
    /// The bar sprite is marked for removal.
    ~ModifierHighScoreBar() override;

    void update(int dtMs) override;

    /// The bar sprite (held by the modifier; its lights are its children).
    [[nodiscard]] Sprite* getBar() const { return bar_.get(); }

private:
    RefPtr<Image> barImage_;
    RefPtr<Image> lightImage_;
    RefPtr<Sprite> bar_;
};

} // namespace orv
