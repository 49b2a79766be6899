// Plays every hallway level with the rule engine, as a good and as a decent
// player would, and suggests the silver and gold scores of each room:
//
//     orvanta_calibrate [--folder DIR] [--seeds N] [--floor F] [--update FILE]
//
// `--folder` is the program folder holding media.dat or the loose media/
// tree (default: the build's app folder). Each room is dealt N times (default
// 8) from the seeds 1 to N; `--floor` limits the run to one floor. `--update`
// writes the suggestions into the silver and gold keys of the hallway level
// file FILE (the source file, media/properties/levels/hallway.xml), room by
// room in file order.
//
// The players (CalibrationModel.h): each takes the hinted match every time
// (a shuffle when the board is stuck) and spends a drawn time on every
// match, from 0.6 to 1.4 times a mean pace: 3.0 s (the strong player, fast
// and practised) or 6.8 s (the decent one, a careful first try, as measured
// of a new player) on a board of 100 tiles, scaled by the board's size, the
// game type, the free-tile marks and how far apart the pairs are dealt. Time
// runs on the time bar and the bonus bar as the playing screen runs it: the
// multiplier rises with each match and falls back when its countdown runs
// out, the bar fills with the points of each match times the multiplier and
// drains with time, and a full bar pays the mean of the point bonuses as the
// bar draws them. A run that outlasts the time bar ends there. Gold is the
// strong player's median score, silver the decent player's, each rounded
// down to 50.
//
// Output: one line per room: floor, room, game type, layout, tiles, the
// suggested silver and gold, the level file's present values, and how many
// of the games the strong and the decent player cleared.

#include "game/board/BoardClasses.h"
#include "game/board/LevelSets.h"
#include "game/board/TileManager.h"
#include "tools/calibrate/CalibrationModel.h"
#include "tools/support/ToolStartUp.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace orv;

constexpr const char* kUsage =
    "usage: orvanta_calibrate [--folder DIR] [--seeds N] [--floor F] [--update FILE]\n";

struct Options {
    std::string folder = ORVANTA_CALIBRATE_APP_DIR;
    int seeds = 8;
    int floor = 0;
    std::string update;
};

std::optional<int> number(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0') {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

bool parse(int argc, char** argv, Options& options) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            return false;
        }
        const std::string& arg = args[i];
        const char* value = args[i + 1].c_str();
        if (arg == "--folder") {
            options.folder = value;
        } else if (arg == "--update") {
            options.update = value;
        } else if (arg == "--seeds" && number(value) && *number(value) > 0) {
            options.seeds = *number(value);
        } else if (arg == "--floor" && number(value)) {
            options.floor = *number(value);
        } else {
            return false;
        }
    }
    return true;
}

int median(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct Suggestion {
    int floor;
    int room;
    int silver;
    int gold;
};

// Rewrites the silver and gold keys of the level tags of `path` in order.
bool update(const std::string& path, const std::vector<Suggestion>& rooms) {
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    std::string out;
    const std::regex tag("<Level [^>]*>");
    std::size_t next = 0;
    std::size_t room = 0;
    for (auto it = std::sregex_iterator(source.begin(), source.end(), tag);
         it != std::sregex_iterator(); ++it) {
        const std::size_t at = static_cast<std::size_t>(it->position());
        out += source.substr(next, at - next);
        std::string level = it->str();
        const int floorNumber = static_cast<int>(room / 5) + 1;
        const int roomNumber = static_cast<int>(room % 5) + 1;
        for (const Suggestion& s : rooms) {
            if (s.floor == floorNumber && s.room == roomNumber) {
                level = std::regex_replace(level, std::regex(R"(silver="\d+")"),
                                           "silver=\"" + std::to_string(s.silver) + "\"");
                level = std::regex_replace(level, std::regex(R"(gold="\d+")"),
                                           "gold=\"" + std::to_string(s.gold) + "\"");
            }
        }
        out += level;
        next = at + it->str().size();
        ++room;
    }
    out += source.substr(next);
    std::ofstream file(path);
    file << out;
    return static_cast<bool>(file);
}

void startUp(const Options& options) {
    std::filesystem::current_path(options.folder);
    tools::startDefinitions({registerBoardClasses});
    TileManager::create();
}

int run(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!options.update.empty()) {
        options.update = std::filesystem::absolute(options.update).string();
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.folder, error)) {
        std::fprintf(stderr, "orvanta_calibrate: no program folder %s\n", options.folder.c_str());
        return 2;
    }
    startUp(options);
    LevelSets& sets = getLevelSets();
    std::vector<Suggestion> suggestions;
    for (int floor = 1; floor <= sets.getFloorCount(); ++floor) {
        if (options.floor != 0 && floor != options.floor) {
            continue;
        }
        for (int room = 1; room <= sets.getRoomCount(floor); ++room) {
            std::vector<int> strong;
            std::vector<int> decent;
            int strongCleared = 0;
            int decentCleared = 0;
            for (int s = 1; s <= options.seeds; ++s) {
                const calibration::Run good = calibration::playRoom(
                    calibration::kStrong, floor, room, static_cast<std::uint32_t>(s));
                strong.push_back(good.score);
                strongCleared += good.cleared ? 1 : 0;
                const calibration::Run fair = calibration::playRoom(
                    calibration::kDecent, floor, room, static_cast<std::uint32_t>(s));
                decent.push_back(fair.score);
                decentCleared += fair.cleared ? 1 : 0;
            }
            const RefPtr<Level> level = sets.createLevel(floor, room);
            const Suggestion s{floor, room, median(decent) / 50 * 50, median(strong) / 50 * 50};
            suggestions.push_back(s);
            std::printf("%2d %d %-8s %-22s %3d  silver %6d gold %6d  (was %d %d)  cleared %d/%d "
                        "%d/%d\n",
                        floor, room, std::string(gameTypeName(level->getGameType())).c_str(),
                        level->getLayoutName().c_str(), level->getLayout()->getTileCount(),
                        s.silver, s.gold, level->getSilver(), level->getGold(), strongCleared,
                        options.seeds, decentCleared, options.seeds);
            std::fflush(stdout);
        }
    }
    int status = 0;
    if (!options.update.empty() && !update(options.update, suggestions)) {
        std::fprintf(stderr, "orvanta_calibrate: cannot update %s\n", options.update.c_str());
        status = 1;
    }
    destroyLevelSets();
    TileManager::destroyInstance();
    tools::stopDefinitions();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta_calibrate: %s\n", error.what());
        return 1;
    }
}
