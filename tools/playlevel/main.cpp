// Opens the playing screen on one level of the level files, in a real
// window, so that a developer can play it from the room information through
// the build-up to the level-end dialog:
//
//     orvanta_playlevel [--folder DIR] hallway FLOOR ROOM
//     orvanta_playlevel [--folder DIR] casino TYPE DIFFICULTY
//     orvanta_playlevel [--folder DIR] roof DIFFICULTY [mixed]
//     orvanta_playlevel [--folder DIR] recroom SERIES INDEX
//
// TYPE is a game type of the level files ("classic", "freecell", "split",
// "triple", "river"; any case); DIFFICULTY is "normal", "hard", "expert" or
// 0 to 2. The roof plays Speed, or with "mixed" a mixed run beginning with
// Classic. `--folder` is the program folder holding media.dat or the loose
// media/ tree (default: the build's app folder). The program starts as it
// always does (players, settings, window), skips the splash and the
// building, and enters the level. When the level is over the game would
// return to the building; until the building's scenes exist the window then
// stays on the playing screen: close it to end.
//
// Exit status: the program's own; 2 for a usage error, 1 when the level
// cannot be made.

#include "app/OrvantaMain.h"
#include "engine/core/Log.h"
#include "engine/resources/ResourceManager.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/scenes/SceneOrvanta.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace orv;

constexpr const char* kUsage =
    "usage: orvanta_playlevel [--folder DIR] LEVEL\n"
    "  LEVEL: hallway FLOOR ROOM | casino TYPE DIFFICULTY | roof DIFFICULTY [mixed]\n"
    "       | recroom SERIES INDEX\n";

struct Options {
    std::string folder = ORVANTA_PLAYLEVEL_APP_DIR;
    std::string area;
    std::vector<std::string> values;
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<int> number(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<int> difficulty(const std::string& text) {
    for (std::size_t i = 0; i < LevelSets::kDifficultyNames.size(); ++i) {
        if (lower(text) == LevelSets::kDifficultyNames.at(i)) {
            return static_cast<int>(i);
        }
    }
    const std::optional<int> value = number(text);
    return value && *value >= 0 && *value < 3 ? value : std::nullopt;
}

GameType typeNamed(const std::string& name) {
    for (std::size_t i = 0; i < kGameTypeNames.size(); ++i) {
        if (lower(std::string(kGameTypeNames.at(i))) == lower(name)) {
            return static_cast<GameType>(i);
        }
    }
    return GameType::Invalid;
}

bool parse(int argc, char** argv, Options& options) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--folder") {
        options.folder = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        return false;
    }
    options.area = lower(args[0]);
    options.values.assign(args.begin() + 1, args.end());
    const std::size_t count = options.values.size();
    if (options.area == "roof") {
        return count == 1 || (count == 2 && lower(options.values[1]) == "mixed");
    }
    return (options.area == "hallway" || options.area == "casino" || options.area == "recroom") &&
           count == 2;
}

// The level the options name, or null (reported).
RefPtr<Level> makeLevel(const Options& options) {
    const std::vector<std::string>& v = options.values;
    LevelSets& sets = getLevelSets();
    if (options.area == "hallway") {
        const auto floor = number(v[0]);
        const auto room = number(v[1]);
        return floor && room ? sets.createLevel(*floor, *room) : nullptr;
    }
    if (options.area == "casino") {
        const auto level = difficulty(v[1]);
        return level ? sets.getLevelDef(typeNamed(v[0]), *level, Place::Casino) : nullptr;
    }
    if (options.area == "roof") {
        const auto level = difficulty(v[0]);
        if (!level) {
            return nullptr;
        }
        if (v.size() == 2) {
            RefPtr<Level> mixed = sets.getLevelDef(GameType::Classic, *level, Place::Roof);
            if (mixed != nullptr) {
                mixed->setMixed(true);
            }
            return mixed;
        }
        return sets.getSpeedLevelDef(*level);
    }
    const auto series = number(v[0]);
    const auto index = number(v[1]);
    std::vector<RefPtr<Level>> levels;
    if (series && index && sets.createRecRoomLevels(*series, levels) > *index && *index >= 0) {
        return levels[static_cast<std::size_t>(*index)];
    }
    return nullptr;
}

Options options;
bool entered = false;
bool failed = false;

// Once the scenes and the tile set exist: the level's game, then the playing
// screen instead of the splash.
void enterLevel() {
    entered = true;
    const RefPtr<Level> level = makeLevel(options);
    if (level == nullptr) {
        std::fputs("orvanta_playlevel: the level files hold no such level\n", stderr);
        failed = true;
        return;
    }
    level->loadLayout();
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level.get())) {
        std::fputs("orvanta_playlevel: the level cannot be dealt (see the log)\n", stderr);
        failed = true;
        return;
    }
    // The building's scenes load the playing screen's pictures and sounds
    // before they switch to it; so does this tool.
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->requestSection("game");
        if (!resources->waitForRequests(std::chrono::milliseconds(10000))) {
            std::fputs("orvanta_playlevel: the section \"game\" did not load in time\n", stderr);
        }
    }
    switchScene("game", "", "SCENE_GAME");
}

} // namespace

int main(int argc, char** argv) {
    if (!parse(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(options.folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "orvanta_playlevel: no program folder %s\n", options.folder.c_str());
        return 2;
    }
    setStepObserver([](std::string_view step) {
        if (step == "main loop" && !entered) {
            enterLevel();
            if (failed) {
                OrvantaMain::quit(nullptr, nullptr);
            }
        }
    });
    const int status = runProgram(folder.string());
    return failed ? 1 : status;
}
