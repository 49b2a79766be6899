#include "game/screen/ScreenClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "game/screen/BonusBar.h"
#include "game/screen/LabelTicker.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"
#include "game/screen/TypeLabel.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerScreenClasses() {
    static constexpr auto creators = std::to_array<std::pair<std::string_view, CreateFunction>>({
        {"LabelTicker", &LabelTicker::createFromDefinition},
        {"TimeBar", &TimeBar::createFromDefinition},
        {"BonusBar", &BonusBar::createFromDefinition},
        {"SceneGame", &SceneGame::createFromDefinition},
        {"TypeLabel", &TypeLabel::createFromDefinition},
    });
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
