#include "tests/players/PlayersFixture.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "game/players/HighScoreManager.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerNotices.h"
#include "game/players/TrophyList.h"

namespace orv::test {

std::string shortTrophyFile() {
    return ORVANTA_PLAYERS_FIXTURES "/trophies_short.xml";
}

PlayersTest::PlayersTest() {
    BasicProperties& settings = BasicProperties::create();
    settings.getInteger("MIN_NUM_SHUFFLES") = 0;
    settings.getInteger("MAX_NUM_SHUFFLES") = 5;
    settings.getInteger("MIN_NUM_HINTS") = 1;
    settings.getInteger("MAX_NUM_HINTS") = 9;
    settings.getString("PLAYERS_VERSION") = "7.1";
    settings.getString("HIGHSCORES_VERSION") = "3.0";
    settings.getTextEntry("CTEXT_DIGIT_GROUPING_SYMBOL") = L",";
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
    registerPropertyClasses();
    registerPlayerClasses();
    TrophyList::setDefinitionFile(shortTrophyFile());
    clearPlayerNotices();
}

PlayersTest::~PlayersTest() {
    PlayerManager::destroyInstance();
    HighScoreManager::destroyInstance();
    TrophyList::setDefinitionFile({});
    BasicProperties::destroyInstance();
    clearPlayerNotices();
}

RefPtr<PropertyStore> PlayersTest::readStore(const std::string& path, bool scrambled) {
    RefPtr<PropertyStore> store(new PropertyStore());
    store->setAccessMode(scrambled ? ArchiveMode::EncryptFile : ArchiveMode::File);
    EXPECT_TRUE(store->load(path)) << path;
    return store;
}

} // namespace orv::test
