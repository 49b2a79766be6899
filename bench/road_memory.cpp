// Memory of the main road (Google Benchmark, one iteration): the real program
// on its built media plays as a new player from the loading screen to the
// hallway of floor 1 and wins its five rooms one after another by clicking
// hinted pairs, with the road's fixed clock, up to the elevator. The counters give the resident set
// (VmRSS, in MB) in the lobby, on each room's board as its level is ready,
// back in the hallway after each room (the fifth as the floor's completion
// shows) and in the elevator after the floor, then the peak: a room that
// leaves memory behind shows as growth from one hallway figure to the next.
//
// Run it through bench/road-memory.sh, which gives it an X server and empty
// data and settings folders of its own:
//
//     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCHMARKS=ON
//           -DORVANTA_TESTS=OFF
//     cmake --build build/release --target road_memory
//     bench/road-memory.sh build/release/bench/road_memory

#include "app/OrvantaMain.h"
#include "engine/core/RefPtr.h"
#include "engine/gui/Button.h"
#include "engine/gui/InputLabel.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/resources/Sound.h"
#include "engine/scene/Dialog.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "tests/app/RoadDriver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace orv;
using test::boardReady;
using test::clickComponent;
using test::dialogsAnswered;
using test::findOnScreen;
using test::openDialog;
using test::RoadDriver;
using test::sceneShown;
using test::withDialogsAnswered;

constexpr int kRooms = 5;
constexpr std::uint32_t kStartMs = 100000;
constexpr std::uint32_t kFrameMs = 40;

// The process's resident set in MB, from the kernel's status file.
double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:")) {
            std::istringstream fields(line.substr(6));
            double kilobytes = 0;
            fields >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return 0;
}

struct Figures {
    double lobby = 0;
    std::vector<double> board;
    std::vector<double> hallway;
    double elevator = 0;
    // What each resource section's loaded pictures and sounds take, at the end.
    std::vector<std::pair<std::string, double>> sections;
};

constexpr std::array<const char*, 10> kSections{"splash", "music", "preloading", "default",
                                                "game",   "lobby", "elevator",   "hallway",
                                                "manual", "trophy"};

// The bytes of pixels, alpha (or their compressed copies) and decoded samples
// that a section's loaded objects hold, in MB.
double sectionMegabytes(const ResourceSection& section) {
    std::size_t bytes = 0;
    for (const auto& [name, object] : section.getObjects()) {
        if (!object->isLoaded()) {
            continue;
        }
        BaseObject* held = object->getHeldObject();
        if (auto* image = kindCast<Image>(held); image != nullptr && image->hasCompressedCopies()) {
            bytes += image->getCompressedSize();
        } else if (image != nullptr) {
            const auto pixels = static_cast<std::size_t>(image->getWidth()) *
                                static_cast<std::size_t>(image->getHeight());
            bytes += pixels * static_cast<std::size_t>(image->getFormat());
            if (image->getFormat() != kFormatAlpha && image->getAlpha() != nullptr) {
                bytes += pixels;
            }
        } else if (auto* sound = kindCast<Sound>(held); sound != nullptr && sound->getSample()) {
            bytes += sound->getSample()->getData().size() * sizeof(std::int16_t);
        }
    }
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void measureSections(Figures& figures) {
    ResourceManager* resources = ResourceManager::getInstance();
    for (const char* name : kSections) {
        if (const ResourceSection* section = resources->findSection(name)) {
            figures.sections.emplace_back(name, sectionMegabytes(*section));
        }
    }
}

bool buttonOpen(std::string_view name) {
    const auto* button = kindCast<Button>(findOnScreen(name));
    return button != nullptr && button->isEnabled() && button->isVisible();
}

// Room `door` of floor 1 from the hallway, played and won; the figure on
// the board is taken once its level is ready, the hallway's before the
// next door.
void addRoom(RoadDriver& road, Figures& figures, int door) {
    const std::string button = "BUTTON_DOOR" + std::to_string(door);
    road.step(
        "the hallway with door " + std::to_string(door) + " open",
        [button,
         answer = withDialogsAnswered("SCENE_HALLWAY", {"DIALOG_TROPHY", "DIALOG_BRASTOW_HINT"})] {
            return answer() && buttonOpen(button);
        },
        [button, door, &figures] {
            if (door > 1) {
                figures.hallway.push_back(residentMegabytes());
            }
            clickComponent(button);
        },
        2400);
    road.step("the room's opening dialogs answered",
              withDialogsAnswered("SCENE_GAME",
                                  {"DIALOG_LEVEL_INFO", "DIALOG_BRASTOW_HINT", "DIALOG_HINT"}),
              {}, 1200);
    road.step(
        "the level ready",
        [] {
            return sceneShown("SCENE_GAME") && boardReady() &&
                   Game::getCurrent()->getLayout()->getTileCount() > 0;
        },
        [&road, &figures] {
            figures.board.push_back(residentMegabytes());
            test::clearBoard(road, [] {});
        },
        1500);
    road.step(
        "the level-end dialog", [] { return openDialog("DIALOG_LEVEL_END") != nullptr; }, {}, 600);
    road.step("the level-end dialog closed", dialogsAnswered({"DIALOG_TROPHY", "DIALOG_LEVEL_END"}),
              {}, 1200);
}

void addRoad(RoadDriver& road, Figures& figures) {
    test::addLoadingScreenClick(road);
    road.step(
        "the name question", [] { return openDialog("DIALOG_NEWPLAYER") != nullptr; },
        [] { test::postText(L"Ann"); });
    road.step(
        "the name typed",
        [] {
            const Dialog* dialog = openDialog("DIALOG_NEWPLAYER");
            const auto* input = dialog != nullptr
                                    ? kindCast<InputLabel>(dialog->findComponent("INPUT_NAME"))
                                    : nullptr;
            return input != nullptr && input->getText() == L"Ann";
        },
        [] { clickComponent("BUTTON_OK", "DIALOG_NEWPLAYER"); });
    road.step("the lobby", withDialogsAnswered("SCENE_LOBBY", {"DIALOG_BRASTOW_HINT"}), [&figures] {
        figures.lobby = residentMegabytes();
        clickComponent("BUTTON_ELEVATOR");
    });
    road.step(
        "the elevator with floor 1 open",
        [] { return sceneShown("SCENE_ELEVATOR") && buttonOpen("BUTTON_FLOOR_1"); },
        [] { clickComponent("BUTTON_FLOOR_1"); }, 1200);
    for (int door = 1; door <= kRooms; ++door) {
        addRoom(road, figures, door);
    }
    // The fifth room completes the floor: its sequence, the trophy room and
    // the elevator offering the next floor.
    road.step(
        "the floor-completed dialog",
        [] { return sceneShown("SCENE_HALLWAY") && buttonOpen("BUTTON_OK"); },
        [&figures] {
            figures.hallway.push_back(residentMegabytes());
            clickComponent("BUTTON_OK");
        },
        1500);
    road.step("the trophy room closed", dialogsAnswered({"DIALOG_TROPHY", "DIALOG_BRASTOW_HINT"}),
              {}, 1500);
    road.step(
        "the elevator with floor 2 open",
        [] { return sceneShown("SCENE_ELEVATOR") && buttonOpen("BUTTON_FLOOR_2"); },
        [&figures] {
            figures.elevator = residentMegabytes();
            measureSections(figures);
        },
        1500);
}

void BM_MainRoadMemory(benchmark::State& state) {
    Figures figures;
    std::string failure;
    for (auto _ : state) {
        const RefPtr<RoadDriver> road(new RoadDriver());
        addRoad(*road, figures);
        const test::FixedClock clock(kStartMs, kFrameMs);
        setStepObserver([&road](std::string_view step) {
            if (step == "main loop") {
                road->attach();
            }
        });
        static_cast<void>(runProgram(ORVANTA_MEDIA_APP_DIR));
        setStepObserver({});
        road->programEnded();
        failure = road->getFailure();
    }
    if (!failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    double peak = figures.lobby;
    state.counters["lobby_MB"] = figures.lobby;
    for (std::size_t i = 0; i < figures.board.size(); ++i) {
        state.counters["room" + std::to_string(i + 1) + "_board_MB"] = figures.board[i];
        peak = std::max(peak, figures.board[i]);
    }
    for (std::size_t i = 0; i < figures.hallway.size(); ++i) {
        state.counters["room" + std::to_string(i + 1) + "_hallway_MB"] = figures.hallway[i];
        peak = std::max(peak, figures.hallway[i]);
    }
    state.counters["elevator_MB"] = figures.elevator;
    peak = std::max(peak, figures.elevator);
    state.counters["peak_MB"] = peak;
    for (const auto& [name, megabytes] : figures.sections) {
        state.counters["section_" + name + "_MB"] = megabytes;
    }
}
BENCHMARK(BM_MainRoadMemory)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
