// Deals one level from a seed and prints it, so that anyone can check a deal
// with a program of their own:
//
//     orvanta_deal [--folder DIR] [--seed N] --hallway FLOOR ROOM
//     orvanta_deal ... --casino TYPE DIFFICULTY | --roof DIFFICULTY
//     orvanta_deal ... --recroom SERIES INDEX
//     orvanta_deal ... --layout FILE [--type TYPE] [--dist MIN MAX]
//
// `--folder` is the program folder holding media.dat or the loose media/
// tree (default: the build's app folder); the level files and layouts are
// read from there as the game reads them. A `--layout` FILE found from the
// current folder is read from there instead. TYPE is a level-file name
// ("Classic", "Freecell", "Split", "Triple", "River", "Speed"), DIFFICULTY 0
// to 2. Both random sources are seeded with N (default 1).
//
// Output, one item a line: "# ..." comment lines naming the level; "board"
// followed by every tile of the dealt board as "x y z suit value" in grid
// order (layer, row, column; side-board tiles follow as "slot column row
// suit value"); "order" followed by the tiles in the planned order of
// removal as "x y z", one set after the other (pairs; triples in Triple; in
// Split and Speed one tile at a time, each matched with its twin; in
// FreeCell first the tiles reserved for parked tiles); and last "build"
// with numNotSolvable, numStackingProblem and levelBuildProblem. A River
// deal adds the comment "# path searches" with the searches its last deal
// made per layer, from layer 0 up. Exit status 0 when a level was dealt, 1
// when it could not be, 2 for a usage error.

#include "engine/core/RandomGenerator.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/GameRiver.h"
#include "game/board/LevelSets.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"
#include "tools/support/ToolStartUp.h"

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
    "usage: orvanta_deal [--folder DIR] [--seed N] LEVEL\n"
    "  LEVEL: --hallway FLOOR ROOM | --casino TYPE DIFFICULTY | --roof DIFFICULTY\n"
    "       | --recroom SERIES INDEX | --layout FILE [--type TYPE] [--dist MIN MAX]\n";

struct Options {
    std::string folder = ORVANTA_DEAL_APP_DIR;
    std::uint32_t seed = 1;
    std::string area; // "hallway", "casino", "roof", "recroom" or "layout"
    std::vector<std::string> values;
    std::string type = "Classic";
    int distMin = 1;
    int distMax = 4;
};

std::optional<int> number(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

GameType typeNamed(std::string_view name) {
    for (std::size_t i = 0; i < kGameTypeNames.size(); ++i) {
        if (kGameTypeNames.at(i) == name) {
            return static_cast<GameType>(i);
        }
    }
    return GameType::Invalid;
}

// How many values follow a level option; 0 for any other argument.
std::size_t levelArguments(const std::string& arg) {
    if (arg == "--hallway" || arg == "--casino" || arg == "--recroom") {
        return 2;
    }
    return arg == "--roof" || arg == "--layout" ? 1 : 0;
}

// Reads the arguments; false on a usage error.
bool parse(int argc, char** argv, Options& options) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Moves the `count` values after argument i into `out`.
    const auto take = [&](std::size_t& i, std::size_t count, std::vector<std::string>& out) {
        if (i + count >= args.size()) {
            return false;
        }
        out.assign(args.begin() + static_cast<std::ptrdiff_t>(i + 1),
                   args.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
        i += count;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::vector<std::string> values;
        if (arg == "--folder" && take(i, 1, values)) {
            options.folder = values[0];
        } else if (arg == "--seed" && take(i, 1, values) && number(values[0])) {
            options.seed = static_cast<std::uint32_t>(*number(values[0]));
        } else if (arg == "--type" && take(i, 1, values)) {
            options.type = values[0];
        } else if (arg == "--dist" && take(i, 2, values) && number(values[0]) &&
                   number(values[1])) {
            options.distMin = *number(values[0]);
            options.distMax = *number(values[1]);
        } else if (const std::size_t count = levelArguments(arg);
                   count > 0 && take(i, count, values)) {
            options.area = arg.substr(2);
            options.values = values;
        } else {
            return false;
        }
    }
    return !options.area.empty();
}

// A layout file given on the command line is looked for from the folder the
// tool was started in first, then, as the game would, from the program folder.
void resolveLayoutPath(Options& options) {
    if (options.area != "layout" || options.values.empty()) {
        return;
    }
    std::error_code error;
    const std::filesystem::path given(options.values[0]);
    if (given.is_relative() && std::filesystem::is_regular_file(given, error)) {
        options.values[0] = std::filesystem::absolute(given, error).string();
    }
}

void startUp(const Options& options) {
    std::filesystem::current_path(options.folder);
    tools::startDefinitions({registerBoardClasses});
    TileManager::create();
    RandomGenerator::createInstance(options.seed, 0);
    ShuffleRandom::seed(options.seed);
}

// The level the options name, or null (reported).
RefPtr<Level> makeLevel(const Options& options) {
    const std::vector<std::string>& v = options.values;
    if (options.area == "layout") {
        const GameType type = typeNamed(options.type);
        if (type == GameType::Invalid) {
            std::fprintf(stderr, "orvanta_deal: no game type \"%s\"\n", options.type.c_str());
            return nullptr;
        }
        // A level of its own around the layout file, whose path is taken as
        // it is given.
        RefPtr<PropertyNode> node(new PropertyNode("", "Level"));
        const auto add = [&node](std::string_view key, const std::string& text) {
            node->add(new PropertyValue(key, std::string_view(text), true));
        };
        add("gameType", options.type);
        add("layout", v[0]);
        add("pointsPerMatch", "10");
        add("tileDistMin", std::to_string(options.distMin));
        add("tileDistMax", std::to_string(options.distMax));
        add("sideBoardIndex", "0");
        add("firstHand", "1");
        add("secondHand", "1");
        add("thirdHand", "1");
        add("isSaveGame", "layout given");
        RefPtr<Level> level(new Level(node.get()));
        level->setLayout(Layout::loadFile(v[0], type, 0).get());
        return level;
    }
    LevelSets& sets = getLevelSets();
    // The two numbers the level names, when given and numbers.
    std::optional<int> a;
    std::optional<int> b;
    if (!v.empty()) {
        a = number(v[0]);
    }
    if (v.size() >= 2) {
        b = number(v[1]);
    }
    if (options.area == "hallway" && a && b) {
        return sets.createLevel(*a, *b);
    }
    if (options.area == "casino" && b) {
        return sets.getLevelDef(typeNamed(v[0]), *b, Place::Casino);
    }
    if (options.area == "roof" && a) {
        return sets.getSpeedLevelDef(*a);
    }
    if (options.area == "recroom" && a && b) {
        std::vector<RefPtr<Level>> series;
        sets.createRecRoomLevels(*a, series);
        if (*b >= 0 && *b < static_cast<int>(series.size())) {
            return series[static_cast<std::size_t>(*b)];
        }
        std::fprintf(stderr, "orvanta_deal: series %d has no level %d\n", *a, *b);
        return nullptr;
    }
    std::fputs(kUsage, stderr);
    return nullptr;
}

void print(const Game& game, const Level& level, std::uint32_t seed) {
    const Layout& board = *game.getLayout();
    std::printf("# level %s, game type %s, seed %u\n", level.getLayoutName().c_str(),
                std::string(gameTypeName(level.getGameType())).c_str(), seed);
    std::printf("# layout \"%s\", %d tiles\n", board.getDisplayName().c_str(),
                board.getTileCount());
    std::printf("board\n");
    board.forEachTile([](const Tile& tile) {
        std::printf("%d %d %d %d %d\n", tile.getPos().x, tile.getPos().y, tile.getPos().z,
                    tile.getSuit(), tile.getIdx());
    });
    if (const SideBoard* rack = board.getSideBoard()) {
        TileList parked;
        rack->getTiles(parked);
        for (const RefPtr<Tile>& tile : parked) {
            std::printf("slot %d %d %d %d\n", tile->getPos().x, tile->getPos().y, tile->getSuit(),
                        tile->getIdx());
        }
    }
    if (const auto* river = dynamic_cast<const GameRiver*>(&game)) {
        std::printf("# path searches");
        for (const int searches : river->getDealSearches()) {
            std::printf(" %d", searches);
        }
        std::printf("\n");
    }
    const BuildReport& build = game.getLastBuild();
    std::printf("order\n");
    for (const RefPtr<Tile>& tile : build.order) {
        std::printf("%d %d %d\n", tile->getPos().x, tile->getPos().y, tile->getPos().z);
    }
    std::printf("build %d %d %s\n", build.numNotSolvable, build.numStackingProblem,
                build.levelBuildProblem ? "true" : "false");
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.folder, error)) {
        std::fprintf(stderr, "orvanta_deal: no program folder %s\n", options.folder.c_str());
        return 2;
    }
    resolveLayoutPath(options);
    startUp(options);
    const RefPtr<Level> level = makeLevel(options);
    if (!level) {
        return 1;
    }
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level.get())) {
        std::fprintf(stderr, "orvanta_deal: the level cannot be dealt (see above)\n");
        return 1;
    }
    print(*game, *level, options.seed);
    Game::destroyCurrent();
    destroyLevelSets();
    TileManager::destroyInstance();
    tools::stopDefinitions();
    return 0;
}
