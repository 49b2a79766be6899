#include "game/minigame/MiniGameClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "game/minigame/DialogKillerStones.h"

namespace orv {

void registerMiniGameClasses() {
    ObjectFactoryContainer::get().registerCreator("DialogKillerStones",
                                                  &DialogKillerStones::createFromDefinition);
}

} // namespace orv
