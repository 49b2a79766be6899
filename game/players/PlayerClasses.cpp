#include "game/players/PlayerClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "game/players/OrvantaPlayer.h"

namespace orv {

void registerPlayerClasses() {
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    factory.registerCreator("OrvantaPlayer", &OrvantaPlayer::createFromDefinition);
}

} // namespace orv
