#include "game/scenes/LightSweep.h"

#include "engine/core/GameTree.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/Image.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierLocationLine.h"

namespace orv {

Sprite* startLightSweep(GameNode& parent, const LightSweep& sweep, GameNode* before) {
    if (sweep.image == nullptr) {
        return nullptr;
    }
    const RefPtr<PropertyNode> plain(new PropertyNode("", "AdditiveSprite"));
    auto* sprite = new AdditiveSprite(plain.get());
    sprite->setImage(sweep.image);
    sprite->setAlpha(sweep.alpha);
    sprite->setAnchorPoint(sweep.anchor);
    sprite->setPosition(sweep.fromX, sweep.fromY);
    sprite->setClipRect(sweep.clip.x, sweep.clip.y, sweep.clip.width, sweep.clip.height);
    if (before != nullptr && before->getParent() == &parent) {
        GameTree::insertBefore(sprite, before);
    } else {
        GameTree::appendChild(sprite, &parent);
    }
    auto* move = new ModifierLocationLine(sweep.fromX, sweep.fromY, sweep.toX, sweep.toY,
                                          sweep.durationMs, false);
    move->setFinishFlags(Modifier::FinishRemoveTarget);
    sprite->addModifier(move);
    return sprite;
}

} // namespace orv
