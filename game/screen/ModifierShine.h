#pragma once

#include "engine/core/ModifierFraction.h"
#include "engine/core/RefPtr.h"

#include <climits>

namespace orv {

class Image;
class Sprite;

/// A band of light that sweeps once across its target sprite's picture,
/// from fully left of it to fully right of it, over the duration. Each time
/// the band has moved the sprite is given a fresh copy of its own picture
/// (taken on the first update) with the band added into it, vertically
/// centred in the current frame. With a mask the light falls only where the
/// mask is opaque (the mask's top-left corner on the frame's); with the
/// restore flag cleared and no mask the copy holds the band alone, cut to
/// the picture's shape, and the sprite is left without any picture at the
/// end (a sprite that lives only for its shine). Otherwise the sprite gets
/// its own picture back at the end.
///
///     button->addModifier(ModifierShine::constructWithMask(500, shine, mask))
///         ->setFinishFlags(Modifier::FinishHoldBack);
///
/// The target must be a `Sprite` with a picture when the shine starts;
/// anything else leaves the target alone. Main thread only.
class ModifierShine : public ModifierFraction {
public:
    /// Sweeps `shine` (held; null draws nothing) over `durationMs`.
    ModifierShine(int durationMs, Image* shine);
    /// A shine that lights only the opaque part of `mask` (held).
    [[nodiscard]] static ModifierShine* constructWithMask(int durationMs, Image* shine,
                                                          Image* mask);

    /// Whether the sprite gets its picture back at the end (the default);
    /// cleared, it is left without a picture.
    void setRestore(bool restore) { restore_ = restore; }
    [[nodiscard]] bool getRestore() const { return restore_; }

    /// The first update takes the picture; every update moves the band.
    void update(int dtMs) override;
    /// Ends at fraction 1 and gives the sprite its picture back, or none.
    void finish() override;

    /// The band's left edge for a fraction of the sweep: it enters fully
    /// left of the picture and leaves fully right of it.
    [[nodiscard]] static int shinePosition(int shineWidth, int baseWidth, float fraction);
    /// The left edge the band was last drawn at; INT_MIN before the first.
    [[nodiscard]] int getLastPosition() const { return lastX_; }
    /// The target's own picture, null before the first update. Borrowed.
    [[nodiscard]] Image* getBaseImage() const { return base_.get(); }

private:
    // The target as a sprite, or null.
    [[nodiscard]] Sprite* sprite() const;
    // Gives the sprite a copy of its picture with the band at `x`.
    void drawAt(Sprite& sprite, int x);

    RefPtr<Image> shine_;
    RefPtr<Image> mask_;
    RefPtr<Image> base_;
    int lastX_ = INT_MIN;
    int baseWidth_ = 0;
    bool restore_ = true;
    bool started_ = false;
};

} // namespace orv
