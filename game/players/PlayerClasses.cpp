#include "game/players/PlayerClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "game/players/HighScoreEntry.h"
#include "game/players/OrvantaPlayer.h"

namespace orv {

void registerPlayerClasses() {
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    factory.registerCreator("OrvantaPlayer", &OrvantaPlayer::createFromDefinition);
    factory.registerCreator("HighScoreEntry", &HighScoreEntry::createFromDefinition);
    factory.registerCreator("OrvantaScore", &OrvantaScoreEntry::createFromDefinition);
}

} // namespace orv
