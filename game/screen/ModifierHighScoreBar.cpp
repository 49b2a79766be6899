#include "game/screen/ModifierHighScoreBar.h"

#include "engine/core/GameTree.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"
#include "game/screen/EffectMath.h"

namespace orv {

namespace {

RefPtr<Image> defaultBarImage(std::string_view name) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<Image>(kindCast<Image>(resources->getObject(name, "default")));
}

} // namespace

ModifierHighScoreBar::ModifierHighScoreBar(int durationMs, GameNode* parent, Image* bar,
                                           Image* light)
    : ModifierFraction(durationMs), barImage_(bar), lightImage_(light), bar_(new Sprite(nullptr)) {
    if (!barImage_) {
        barImage_ = defaultBarImage("HIGHSCORE_ANIM_BAR");
    }
    if (!lightImage_) {
        lightImage_ = defaultBarImage("HIGHSCORE_ANIM_LIGHT");
    }
    bar_->setImage(barImage_.get());
    bar_->setPosition(0, 0);
    if (parent != nullptr) {
        GameTree::appendChild(bar_.get(), parent);
    }
    GameTree::releaseChildren(bar_.get());
    const int anchorX = static_cast<int>(bar_->getAnchorOffsetX());
    const int anchorY = static_cast<int>(bar_->getAnchorOffsetY());
    for (int i = 0; i < kLights; ++i) {
        auto* lamp = new AdditiveSprite(nullptr);
        lamp->setImage(lightImage_.get());
        lamp->setPosition(kLightStepX * i - anchorX, kLightY - anchorY);
        lamp->setAlpha(0);
        GameTree::appendChild(lamp, bar_.get());
    }
}

ModifierHighScoreBar::~ModifierHighScoreBar() {
    if (bar_) {
        bar_->setRemovalMark(true);
    }
}

void ModifierHighScoreBar::update(int dtMs) {
    ModifierFraction::update(dtMs);
    if (bar_->getParent() == nullptr && getTarget() != nullptr) {
        GameTree::appendChild(bar_.get(), getTarget());
    }
    const int barAlpha = bar_->getAlpha();
    int index = 0;
    for (GameNode* child = bar_->getFirstChild(); child != nullptr;
         child = child->getNextSibling(), ++index) {
        if (auto* lamp = kindCast<Sprite>(child)) {
            lamp->setAlpha(highScoreLightAlpha(index, getElapsed(), barAlpha));
        }
    }
}

} // namespace orv
