// Speed of the lobby's start with a long players list (Google Benchmark): the
// players list of 1,000 and 10,000 players read at start-up, with the current
// player's profile and each player's trophy list taken from the game's
// media.dat, then the list and profile saved as the lobby does when it is
// shown. The files are scrambled, as the game writes them.
//
//     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCHMARKS=ON
//           -DORVANTA_TESTS=OFF
//     cmake --build build/release --target lobby_bench
//     build/release/bench/lobby_bench

#include "engine/core/NodeClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/FileArchive.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace orv;

constexpr const char* kVersion = "bench";

// Classes, settings and the game's archive, once.
void setUpLobbyWorld() {
    static const bool done = [] {
        registerPropertyClasses();
        registerNodeClasses();
        registerPlayerClasses();
        BasicProperties::create().getString("PLAYERS_VERSION") = kVersion;
        FileArchive::setUp(ArchiveMode::Zip, ORVANTA_MEDIA_ARCHIVE);
        return true;
    }();
    (void)done;
}

// A data folder whose players list names `count` players, the first current.
std::string makePlayersFolder(int count) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvanta-lobby-bench-" + std::to_string(count));
    std::filesystem::remove_all(folder);
    PlayerManager& players = PlayerManager::create(true, kVersion);
    players.setDataFolder(folder.string());
    for (int i = 0; i < count; ++i) {
        players.addPlayer(new OrvantaPlayer("Guest " + std::to_string(i)));
    }
    if (!players.savePlayers()) {
        std::fprintf(stderr, "lobby_bench: the players list cannot be written\n");
        std::exit(1);
    }
    PlayerManager::destroyInstance();
    return folder.string();
}

void BM_LobbyStart(benchmark::State& state) {
    setUpLobbyWorld();
    const auto count = static_cast<int>(state.range(0));
    const std::string folder = makePlayersFolder(count);
    for (auto _ : state) {
        PlayerManager& players = PlayerManager::create(true, kVersion);
        players.setDataFolder(folder);
        players.loadPlayers();
        if (players.getPlayers().size() != static_cast<std::size_t>(count) ||
            !players.savePlayers()) {
            state.SkipWithError("the players list did not load and save whole");
        }
        PlayerManager::destroyInstance();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LobbyStart)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
