#include "engine/resources/SoundClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/resources/Sound.h"
#include "engine/resources/SoundNode.h"
#include "engine/resources/SoundResource.h"
#include "engine/resources/SoundStream.h"
#include "engine/resources/StreamResource.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerSoundClasses() {
    static constexpr std::array<std::pair<std::string_view, CreateFunction>, 1> creators{{
        {"SoundNode", &SoundNode::createFromDefinition},
    }};
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
    SoundResource::setLoadFunction(&Sound::loadResource);
    StreamResource::setLoadFunction(&SoundStream::loadResource);
}

} // namespace orv
