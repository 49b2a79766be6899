#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"

namespace orv {

/// A sprite drawn through a grey-level mask so that it appears progressively:
/// at threshold t (0 to 1, as the integer T = truncate(t x 255)) a pixel of
/// the source shows exactly when its mask value m (the mask's alpha, 0 to
/// 255) satisfies m < T and m < 255. So nothing shows at 0, pixels appear in
/// order of rising mask value, and mask value 255 never shows. The displayed
/// image is a copy of the source rebuilt only when T changes. A mask smaller
/// than the source hides the pixels it does not cover; without a mask every
/// pixel counts as mask value 0.
///
///     auto* logo = new ThresholdSprite(0, 0);
///     logo->setSourceImage(picture);         // references are held
///     logo->setMaskImage(ramp);
///     logo->addModifier(new ModifierTreshold(500));   // reveals over 0.5 s
///
/// Main thread only.
class ThresholdSprite : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// At (x, y), relative to the parent, with no image.
    ThresholdSprite(int x, int y);

    /// Holds `image` (null drops it), makes the displayed image of its size
    /// and format and rebuilds it at the next draw.
    void setSourceImage(Image* image);
    /// Holds `mask` (null drops it); the next threshold change applies it.
    void setMaskImage(Image* mask);
    [[nodiscard]] Image* getSourceImage() const { return source_.get(); }
    [[nodiscard]] Image* getMaskImage() const { return mask_.get(); }

    /// The threshold, 0 to 1; marks the sprite for a rebuild check.
    void setThreshold(float threshold);
    [[nodiscard]] float getThreshold() const { return threshold_; }
    /// The integer threshold last applied to the displayed image; -1 before
    /// the first rebuild.
    [[nodiscard]] int getAppliedThreshold() const { return applied_; }

    /// Rebuilds the displayed image when the integer threshold changed, then
    /// draws as any sprite.
    void render(Graphics& graphics) override;
    /// The rebuild check of `render` without drawing.
    void applyThreshold();

private:
    void rebuild(int threshold);

    float threshold_ = 0.0F;
    int applied_ = -1;
    RefPtr<Image> mask_;
    RefPtr<Image> source_;
    RefPtr<Image> shown_;
    bool thresholdDirty_ = false;
};

} // namespace orv
