// Feeds arbitrary bytes, read as a property file, to the readers of the
// players' files: the players list ("players"), a profile ("player") and the
// high-score tables ("highscoretables"). Whatever a file holds, the list must
// name only usable, distinct players with a listed current player; a profile
// must stay within its ranges and save to a file that reads back to the same
// profile; a table must hold no more rows than its capacity and a last place
// that is one of its rows. Any crash, hang, sanitizer report or abort is a
// fault.

#include "engine/core/Log.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FileNames.h"
#include "game/players/HighScoreManager.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerFiles.h"
#include "game/players/PlayerManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <string_view>

namespace {

const std::string& folder() {
    static const std::string path = [] {
        std::random_device random;
        const auto dir = std::filesystem::temp_directory_path() /
                         ("orvanta-player-files-fuzz-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

void checkList(const orv::PropertyNode& node) {
    orv::PlayerManager::destroyInstance();
    orv::PlayerManager& manager = orv::PlayerManager::create(false, "fuzz");
    manager.setDataFolder(folder());
    manager.readList(node);
    std::set<std::string> stems;
    bool currentListed = false;
    for (const orv::RefPtr<orv::AbstractPlayer>& player : manager.getPlayers()) {
        const std::string stem = orv::makePlayerFileStem(player->getName());
        check(!stem.empty() && stem.size() <= orv::kMaxPlayerFileStemBytes);
        check(player->getName().size() <= orv::kMaxPlayerNameBytes);
        check(stems.insert(orv::encodeFileName(player->getName())).second);
        currentListed = currentListed || player.get() == manager.getCurrentPlayer();
    }
    check(manager.getPlayers().empty() ? manager.getCurrentPlayer() == nullptr : currentListed);
    orv::PlayerManager::destroyInstance();
}

// The profile's file as `player` saves it.
std::string savedProfile(const orv::OrvantaPlayer& player) {
    orv::RefPtr<orv::PropertyStore> store(new orv::PropertyStore());
    auto* node =
        static_cast<orv::PropertyNode*>(store->add(new orv::PropertyNode("player", "Player")));
    player.save(*node);
    const std::string path = folder() + "/profile.xml";
    store->setFileName(path);
    store->setAccessMode(orv::ArchiveMode::File);
    check(store->save());
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void checkProfile(const orv::PropertyNode& node) {
    orv::RefPtr<orv::OrvantaPlayer> player(new orv::OrvantaPlayer("Fuzz"));
    player->load(node);
    check(player->floorReached >= 0 && player->floorReached <= 21);
    check(player->currentFloor >= 1 && player->currentFloor <= 21);
    const int completed = player->getLevelsCompleted();
    check(completed >= 0 && completed <= 100);
    check(player->trophies->size() == orv::TrophyList::kTrophyCount);
    for (std::size_t i = 0; i < player->trophies->size(); ++i) {
        const int state = player->trophies->getState(i);
        check(state >= orv::TrophyState::kNotEarned && state <= orv::TrophyState::kHeldBack);
    }
    for (int type = 0; type < orv::PlayerStats::kCasinoTypes; ++type) {
        check(player->stats.getRecRoomList(type).size() <= orv::PlayerStats::kMaxRecRoomLevels);
    }

    const std::string first = savedProfile(*player);
    orv::RefPtr<orv::PropertyStore> reread(new orv::PropertyStore());
    check(reread->loadText(first));
    orv::RefPtr<orv::OrvantaPlayer> again(new orv::OrvantaPlayer("Fuzz"));
    again->load(*reread->getNode("player"));
    check(savedProfile(*again) == first);
}

void checkScores(const orv::PropertyNode& node) {
    orv::HighScoreManager::destroyInstance();
    orv::HighScoreManager& manager = orv::HighScoreManager::create(false, "fuzz");
    manager.setDataFolder(folder());
    manager.readTables(node);
    for (const auto& [name, table] : manager.getTables()) {
        const auto rows = static_cast<int>(table->getEntries().size());
        check(table->getMaxEntries() >= 1 && rows <= table->getMaxEntries());
        check(table->getLastScore() >= -1 && table->getLastScore() < rows);
        // An invented row, so that nothing is saved.
        orv::RefPtr<orv::HighScoreEntry> offered(new orv::HighScoreEntry("Fuzz", 0, false));
        const int place = table->addScore(offered.get());
        check(place == -1 || table->getEntries().at(static_cast<std::size_t>(place)) == offered);
        check(static_cast<int>(table->getEntries().size()) <= table->getMaxEntries());
    }
    orv::HighScoreManager::destroyInstance();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        orv::setLogSink([](orv::LogLevel, std::string_view) {});
        orv::registerPropertyClasses();
        orv::registerPlayerClasses();
        // No trophy definitions: every profile has twenty trophies all the same.
        orv::TrophyList::setDefinitionFile(folder() + "/no-trophies.xml");
        return true;
    }();
    (void)ready;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::RefPtr<orv::PropertyStore> store(new orv::PropertyStore());
    if (!store->loadText(text)) {
        return 0;
    }
    checkList(*store->getNode("players"));
    checkProfile(*store->getNode("player"));
    checkScores(*store->getNode("highscoretables"));
    return 0;
}
