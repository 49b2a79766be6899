#pragma once

#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"

namespace orv {

class Image;

/// Switches its target sprite's picture in one step: the first update gives
/// the sprite the picture (`Sprite::setImage`: sized and laid out by it) and
/// the modifier is done.
/// Placed in a chain it changes a picture at a given moment of an effect.
///
///     Modifier::attachTo(delay, new ModifierApply(lit.get()))->setTarget(door);
///
/// A target that is no sprite is left alone.
class ModifierApply : public Modifier {
public:
    /// Holds `image` (null takes the sprite's picture away).
    explicit ModifierApply(Image* image);

    void update(int dtMs) override;

    [[nodiscard]] Image* getImage() const { return image_.get(); }

private:
    RefPtr<Image> image_;
};

} // namespace orv
