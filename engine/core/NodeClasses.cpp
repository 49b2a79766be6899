#include "engine/core/NodeClasses.h"

#include "engine/core/GameNode.h"
#include "engine/core/ObjectFactoryContainer.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerNodeClasses() {
    static constexpr std::array<std::pair<std::string_view, CreateFunction>, 1> creators{{
        {"GameNode", &GameNode::createFromDefinition},
    }};
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
