#include "engine/scene/SceneClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/AlphaTransitionScene.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/FadeBlackTransitionScene.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/Panel.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/StyleLabel.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerSceneClasses() {
    // One line per class; the array's size follows the list.
    static constexpr auto creators = std::to_array<std::pair<std::string_view, CreateFunction>>({
        {"Sprite", &Sprite::createFromDefinition},
        {"ModifierFrame", &ModifierFrame::createFromDefinition},
        {"Panel", &Panel::createFromDefinition},
        {"AdditiveSprite", &AdditiveSprite::createFromDefinition},
        {"Dialog", &Dialog::createFromDefinition},
        {"Scene", &Scene::createFromDefinition},
        {"Label", &Label::createFromDefinition},
        {"StyleLabel", &StyleLabel::createFromDefinition},
        {"FadeBlackTransition", &FadeBlackTransitionScene::createFromDefinition},
        {"AlphaTransition", &AlphaTransitionScene::createFromDefinition},
    });
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
