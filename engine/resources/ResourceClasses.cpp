#include "engine/resources/ResourceClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/ImageResource.h"
#include "engine/resources/SoundResource.h"
#include "engine/resources/StreamResource.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerResourceClasses() {
    static constexpr std::array<std::pair<std::string_view, CreateFunction>, 4> creators{{
        {"Stream", &StreamResource::createFromDefinition},
        {"Sound", &SoundResource::createFromDefinition},
        {"Font", &FontResource::createFromDefinition},
        {"Image", &ImageResource::createFromDefinition},
    }};
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
