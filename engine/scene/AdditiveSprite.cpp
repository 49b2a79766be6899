#include "engine/scene/AdditiveSprite.h"

#include "engine/graphics/Graphics.h"

namespace orv {

constinit const ClassRecord AdditiveSprite::classRecord{"AdditiveSprite",
                                                        parentRecords<Sprite::classRecord>};

BaseObject* AdditiveSprite::createFromDefinition(PropertyNode* definition) {
    return new AdditiveSprite(definition);
}

void AdditiveSprite::render(Graphics& graphics) {
    const BlendMode saved = graphics.getBlendMode();
    graphics.setBlendMode(BlendMode::BlendAdditive);
    Sprite::render(graphics);
    graphics.setBlendMode(saved);
}

} // namespace orv
