#include "game/screen/EffectBuilders.h"

#include "engine/core/GameTree.h"
#include "engine/core/RandomGenerator.h"
#include "engine/graphics/Polygon.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierLocationPolygonicPath.h"
#include "engine/scene/ModifierRotation.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierVisible.h"
#include "engine/scene/Sprite.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace orv {

namespace {

// The middle of `node`'s drawn picture in its parent's pixels.
std::pair<float, float> burstCentreOf(GameNode& node) {
    float x = static_cast<float>(node.getX());
    float y = static_cast<float>(node.getY());
    if (auto* sprite = kindCast<Sprite>(&node)) {
        x += static_cast<float>(static_cast<int>(static_cast<float>(sprite->getWidth()) / 2.0F -
                                                 sprite->getAnchorOffsetX()));
        y += static_cast<float>(static_cast<int>(static_cast<float>(sprite->getHeight()) / 2.0F -
                                                 sprite->getAnchorOffsetY()));
    }
    return {x, y};
}

Modifier* wiggleStep(Modifier* parent, Modifier* modifier, GameNode* target) {
    Modifier* attached = Modifier::attachTo(parent, modifier);
    attached->setTarget(target);
    return attached;
}

GameNode* burstNode(void* context, void* modifier) {
    if (context != nullptr) {
        return static_cast<GameNode*>(context);
    }
    return modifier != nullptr ? static_cast<Modifier*>(modifier)->getTarget() : nullptr;
}

} // namespace

void buildStarAnimation(GameNode& node, int count, const std::string& imageName, int distance,
                        int alpha, int startDelay, bool above, int duration) {
    RefPtr<Image> image = widget::findImage(imageName, "default");
    if (image == nullptr || count <= 0 || node.getParent() == nullptr) {
        return;
    }
    const auto [cx, cy] = burstCentreOf(node);
    std::vector<int> slots;
    slots.reserve(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j) {
        slots.push_back(
            static_cast<int>(static_cast<long long>(BONUS_ANIM_EXPLOSION_TIME) * j / count));
    }
    const int frames = std::max(1, image->getFrameCount());
    const int frameTime = std::max(1, duration / frames);
    const auto d = static_cast<float>(distance);
    for (int i = 0; i < count; ++i) {
        auto* star = new Sprite(static_cast<int>(cx), static_cast<int>(cy), image.get());
        star->setAlpha(alpha);
        star->setVisible(false);
        star->setAnchorPoint(AnchorKind::Center);
        if (!above) {
            GameTree::insertBefore(star, &node);
        } else if (GameNode* next = node.getNextSibling(); next != nullptr) {
            GameTree::insertBefore(star, next);
        } else {
            GameTree::appendChild(star, node.getParent());
        }
        const float a =
            2.0F * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(count);
        const float k = i % 2 == 0 ? 0.9F : 0.6F;
        const float sx = std::sin(a);
        const float cs = std::cos(a);
        RefPtr<Polygon> path(
            new Polygon({{cx, cy},
                         {cx + 0.5F * d * sx - k * d * cs, cy + 0.5F * d * cs + k * d * sx},
                         {cx + d * sx, cy + d * cs}}));
        if (!path->buildPath(0, 2, 10, false)) {
            // A straight flight when the curve cannot be built.
            path->setPoints({{cx, cy}, {cx + d * sx, cy + d * cs}});
        }
        const auto pick =
            static_cast<std::size_t>(Random::nextInt(0, static_cast<int>(slots.size())));
        const int slot = slots[pick];
        slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(pick));
        star->addModifier(new ModifierDelay(startDelay))->setFinishFlags(Modifier::FinishHoldBack);
        star->addModifier(new ModifierDelay(slot))->setFinishFlags(Modifier::FinishHoldBack);
        star->addModifier(new ModifierVisible(ModifierVisible::Show));
        star->addModifier(new ModifierLocationPolygonicPath(
            path.get(), 0, BONUS_ANIM_EXPLOSION_TIME, false, false));
        star->addModifier(new ModifierFrame(1, frameTime));
        star->addModifier(new ModifierDelay(7 * frameTime))
            ->setFinishFlags(Modifier::FinishHoldBack);
        star->addModifier(new ModifierAlpha(3 * frameTime, alpha, 0))
            ->setFinishFlags(Modifier::FinishRemoveTarget);
    }
}

int starBurstByTag(void* /*context*/, void* modifier) {
    GameNode* node = burstNode(nullptr, modifier);
    if (node != nullptr) {
        const int size = 2 * node->getTag() + 1;
        buildStarAnimation(*node, 4 * size, "BONUS_STAR", 12 * size, 255, 0, true, 350);
    }
    return 0;
}

int starBurstLarge(void* context, void* /*modifier*/) {
    if (context != nullptr) {
        buildStarAnimation(*static_cast<GameNode*>(context), 20, "BONUS_STAR", 100, 255, 0, false,
                           BONUS_ANIM_EXPLOSION_TIME);
    }
    return 0;
}

int starBurstSmall(void* context, void* modifier) {
    if (GameNode* node = burstNode(context, modifier); node != nullptr) {
        buildStarAnimation(*node, 12, "BONUS_STAR", 45, 255, 0, true, 300);
    }
    return 0;
}

void addWiggleAnimation(Sprite& sprite, int scaleMs, int wiggleMs, float angle, Modifier* parent,
                        Sound* sound) {
    if (parent == nullptr) {
        return;
    }
    sprite.setScale(0.0F);
    wiggleStep(parent, new ModifierVisible(ModifierVisible::Show), &sprite);
    Modifier* grown = wiggleStep(parent, new ModifierScale(scaleMs, 0.0F, 1.0F), &sprite);
    if (sound != nullptr) {
        wiggleStep(grown, new ModifierSound(sound, true), &sprite);
    }
    const float turns[] = {0.0F, angle, -angle, angle, -angle, 0.0F};
    Modifier* step = grown;
    for (std::size_t i = 0; i + 1 < std::size(turns); ++i) {
        step = wiggleStep(step, new ModifierRotation(turns[i], turns[i + 1], wiggleMs), &sprite);
    }
}

} // namespace orv
