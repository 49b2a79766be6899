#pragma once

#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"
#include "game/screen/ScreenMath.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orv {

class Label;
class PropertyNode;

/// The meter beside the board that fills with every match and drains over
/// time, and the score multiplier that each match raises and that falls back
/// to 1 when its countdown (a shrinking ring) runs out. A full meter pays
/// out the bonus in its box (kinds of `BonusKind`, weights from
/// "media/properties/bonus.xml"), flies the icon to where it takes effect
/// and draws the next bonus.
///
/// It draws nothing itself: it drives the playing screen's sprites
/// "BONUSBAR_FILLING", "BONUSBAR_MULTIPLIER" (a label), "BONUSBAR_TIMER",
/// "BONUSBAR_BONUS", "BONUSBAR_BOX" and "BONUSBAR_SUNSHINE", found through
/// the installed `PlayingScreen`, and the ring images
/// "IMAGE_COUNTDOWNTHRESHOLD" and "IMAGE_COUNTDOWNTIMER" of section "game".
///
///     RefPtr<BonusBar> bar(new BonusBar(nullptr));   // or a saved node
///     bar->setMaxPoints(2500);
///     bar->addPoints(10);                           // a match
///     int factor = bar->getMultiplier();
///
/// Times are milliseconds, points are the bar's own unit. Main thread only.
class BonusBar : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new bar with its first bonus drawn, or the bar saved in `saved`
    /// (nine keys; a missing one reads 0, a saved bonus outside 0..6 reads
    /// as none chosen).
    explicit BonusBar(PropertyNode* saved);
    BonusBar(const BonusBar&) = delete;
    BonusBar& operator=(const BonusBar&) = delete;
    ~BonusBar() override;

    /// The object factory's create function for "BonusBar".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    void updateSelf(int elapsedMs) override;
    /// A match of `points` (ignored while suspended): fills the meter by
    /// points x the multiplier from before the match, raises the multiplier
    /// and pays out when full.
    void addPoints(int points);
    /// The label shows "x" and the multiplier.
    void updateMultiplierLabel();
    /// Pays out every icon still flying, at once (the level ended).
    void finishEffects();
    /// Writes the nine saved keys into `node`.
    void save(PropertyNode& node) const;
    void setVisible(bool visible) override;

    void setMaxPoints(int points) { maxPoints_ = points; }
    void setDepletionSpeed(float pointsPerMs) { depletionSpeed_ = pointsPerMs; }
    void setMaxCountdown(int ms) { maxCountdown_ = ms; }

    [[nodiscard]] int getMultiplier() const { return multiplier_; }
    [[nodiscard]] int getInternalMultiplier() const { return internalMultiplier_; }
    [[nodiscard]] int getBonus() const { return bonus_; }
    [[nodiscard]] float getCurrentPoints() const { return currentPoints_; }
    [[nodiscard]] int getCurrentCountdown() const { return currentCountdown_; }
    [[nodiscard]] int getMaxPoints() const { return maxPoints_; }
    [[nodiscard]] int getMaxCountdown() const { return maxCountdown_; }
    [[nodiscard]] bool holdsSuperHint() const { return superHint_; }
    [[nodiscard]] Sprite* getFlyingBonus() const { return flyingBonus_; }
    [[nodiscard]] GameNode* getEffectsNode() const { return effectsNode_.get(); }
    /// The level the ring was last drawn at (-1 before the first drawing).
    [[nodiscard]] int getCountdownLevel() const { return lastCountdownLevel_; }
    /// The full countdown of the present multiplier in milliseconds.
    [[nodiscard]] std::int32_t getFullCountdown() const;

    /// The bonus definitions file read by every new bar: by default
    /// "media/properties/bonus.xml" from the program's folder (tests point it
    /// at the source tree).
    static void setDefinitionFile(std::string_view path);

    /// Draws the next bonus from the weights and the player's situation.
    void chooseNextBonus();
    /// The arrival of the icon `icon` (tag 100 + kind): its effect, once.
    void applyArrival(Sprite& icon);

private:
    void findParts();
    void raiseMultiplier();
    void awardBonus();
    void startClaimAnimation();
    void showBonusIcon();
    void refreshFillClip();
    void refreshCountdown(bool force);
    [[nodiscard]] float fillTarget() const;
    [[nodiscard]] BonusDrawContext drawContext() const;

    static int onFlyStart(void* bar, void* modifier);
    static int onTrailStar(void* bar, void* modifier);
    static int onArrive(void* bar, void* modifier);
    static int onStarBurst(void* bar, void* modifier);

    Sprite* filling_ = nullptr;
    Label* multiplierLabel_ = nullptr;
    Sprite* timerSprite_ = nullptr;
    RefPtr<Image> countdownImage_;
    Sprite* bonusIcon_ = nullptr;
    Sprite* box_ = nullptr;
    Sprite* sunshine_ = nullptr;
    Sprite* flyingBonus_ = nullptr;
    RefPtr<GameNode> effectsNode_;
    RefPtr<PropertyVector> bonusDefinitions_;
    int bonus_ = BonusNone;
    std::array<int, kBonusKinds> chances_{};
    int lastCountdownLevel_ = -1;
    int multiplier_ = 1;
    int internalMultiplier_ = 1;
    std::int32_t maxCountdown_ = 2000;
    std::int32_t currentCountdown_ = 0;
    int maxPoints_ = 2500;
    float currentPoints_ = 0.0F;
    float depletionSpeed_ = 0.25F;
    float shownFill_ = 0.0F;
    float fillSpeed_ = 0.0F;
    bool superHint_ = false;
};

} // namespace orv
