#include "engine/properties/PropertyClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/BasicProperties.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerPropertyClasses() {
    static constexpr std::array<std::pair<std::string_view, CreateFunction>, 8> creators{{
        {"Integer", &BasicProperties::fileInteger},
        {"Double", &BasicProperties::fileDouble},
        {"Float", &BasicProperties::fileFloat},
        {"Boolean", &BasicProperties::fileBoolean},
        {"String", &BasicProperties::fileString},
        {"Text", &BasicProperties::fileText},
        {"Node", &BasicProperties::fileNode},
        {"Vector", &BasicProperties::fileVector},
    }};
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
