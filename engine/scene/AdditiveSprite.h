#pragma once

#include "engine/scene/Sprite.h"

namespace orv {

class PropertyNode;

/// A sprite drawn with additive blending (glows, sparks): its image's
/// colours are added to what lies beneath. Built from the same keys as
/// `Sprite`.
///
///     RefPtr<AdditiveSprite> glow(new AdditiveSprite(definition));
///
/// Main thread only.
class AdditiveSprite : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit AdditiveSprite(PropertyNode* definition) : Sprite(definition) {}

    /// The object factory's create function for "AdditiveSprite".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Draws as a sprite in the additive blend mode; the blend mode of
    /// `graphics` is as it was when the call returns.
    void render(Graphics& graphics) override;
};

} // namespace orv
