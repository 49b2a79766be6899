#include "engine/scene/SceneClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/scene/Sprite.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerSceneClasses() {
    static constexpr std::array<std::pair<std::string_view, CreateFunction>, 1> creators{{
        {"Sprite", &Sprite::createFromDefinition},
    }};
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
