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
// The players: each takes the hinted match every time (a shuffle when the
// board is stuck) and spends a drawn time on every match, from 0.6 to 1.4
// times a mean pace: 2.3 s (the strong player) or 3.8 s (the decent one) on
// a board of 100 tiles, times 0.9 + tiles / 600 for the board's size, 1.1
// for FreeCell, 1.35 for Triple, 1.4 for River, 0.8 for Split, 1.05 without
// free-tile marks and 1 + tileDistMax / 300 for pairs dealt far apart. Time
// runs on the time bar and the bonus bar as the playing screen runs it: the
// multiplier rises with each match and falls back when its countdown runs
// out, the bar fills with the points of each match times the multiplier and
// drains with time, and a full bar pays the mean of the point bonuses
// weighted by their chances. A run that outlasts the time bar ends there.
// Gold is the strong player's median score, silver the decent player's,
// each rounded down to 50.
//
// Output: one line per room: floor, room, game type, layout, tiles, the
// suggested silver and gold, the level file's present values, and how many
// of the games the strong and the decent player cleared.

#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/GameView.h"
#include "game/board/LevelSets.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/TileManager.h"
#include "tools/support/ToolStartUp.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace orv;

constexpr const char* kUsage =
    "usage: orvanta_calibrate [--folder DIR] [--seeds N] [--floor F] [--update FILE]\n";

// What a full bonus bar pays on average: the point bonuses (2500, 5000,
// 10000) weighted by their chances in bonus.xml (25, 15, 6 of 100).
constexpr int kMeanBonusPoints = (25 * 2500 + 15 * 5000 + 6 * 10000) / 100;
// What a shuffle of a stuck board costs the player, in ms.
constexpr int kShuffleMs = 4000;

struct Options {
    std::string folder = ORVANTA_CALIBRATE_APP_DIR;
    int seeds = 8;
    int floor = 0;
    std::string update;
};

struct Player {
    const char* name;
    double secondsPerMatch;
};
constexpr Player kStrong{"strong", 2.3};
constexpr Player kDecent{"decent", 3.8};

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

// The rule engine's screen: hits the tile the player chose and keeps the
// multiplier and the bonus bar.
class PlayerView : public NullGameView {
public:
    explicit PlayerView(const Level& level)
        : fullBar_(level.getTuningInt(Tuning::BonusAt)),
          drainPerMs_(static_cast<double>(level.getTuningInt(Tuning::BonusSpeed)) / 1000.0),
          countdownMs_(level.getTuningInt(Tuning::MultiplierTime)),
          // The multiplier's countdown shrinks by this share per level of
          // the multiplier, down to the least share, as the game sets them.
          step_(BasicProperties::get()->getFloat("MULTIPLIER_PERCENTAGE")),
          floor_(BasicProperties::get()->getFloat("MULTIPLIER_MINIMUM")) {}

    Tile* tileAt(const Layout& /*layout*/, int /*x*/, int /*y*/) override { return target; }
    int getScoreMultiplier() override { return multiplier_; }
    void addBonusPoints(int points) override {
        // The bar fills by the multiplier counted since it last paid out;
        // the score's multiplier runs on until its countdown ends.
        bar_ += static_cast<double>(points) * fillMultiplier_;
        multiplier_ = std::min(multiplier_ + 1, 99);
        fillMultiplier_ = std::min(fillMultiplier_ + 1, 99);
        const float share = std::max(1.0F - static_cast<float>(multiplier_ - 1) * step_, floor_);
        left_ = static_cast<int>(static_cast<float>(countdownMs_) * share);
        if (fullBar_ > 0 && bar_ >= fullBar_) {
            bar_ = 0;
            fillMultiplier_ = 1;
            bonusPoints += kMeanBonusPoints;
        }
    }
    void addTime(int milliseconds) override { timeBonusMs += milliseconds; }

    // `ms` pass before the next click.
    void pass(int ms) {
        bar_ = std::max(bar_ - drainPerMs_ * ms, 0.0);
        left_ -= ms;
        if (left_ <= 0) {
            left_ = 0;
            multiplier_ = 1;
            fillMultiplier_ = 1;
        }
    }

    Tile* target = nullptr;
    int bonusPoints = 0;
    int timeBonusMs = 0;

private:
    double fullBar_;
    double drainPerMs_;
    int countdownMs_;
    float step_;
    float floor_;
    double bar_ = 0;
    int multiplier_ = 1;
    int fillMultiplier_ = 1;
    int left_ = 0;
};

struct Run {
    int score = 0;
    bool cleared = false;
};

double meanPace(const Player& player, const Level& level, int tiles) {
    double seconds = player.secondsPerMatch * (0.9 + tiles / 600.0);
    switch (level.getGameType()) {
    case GameType::FreeCell:
        seconds *= 1.1;
        break;
    case GameType::Triple:
        seconds *= 1.35;
        break;
    case GameType::River:
        seconds *= 1.4;
        break;
    case GameType::Split:
        seconds *= 0.8;
        break;
    default:
        break;
    }
    if (level.getTuningInt(Tuning::DarkenTiles) < 1) {
        seconds *= 1.05;
    }
    return seconds * (1.0 + level.getTuningInt(Tuning::TileDistMax) / 300.0);
}

// One game of the room (floor, room) from `seed`, played by `player`.
Run play(const Player& player, int floor, int room, std::uint32_t seed) {
    RandomGenerator::createInstance(seed, 0);
    ShuffleRandom::seed(seed);
    const RefPtr<Level> level = getLevelSets().createLevel(floor, room);
    Run run;
    if (!level) {
        return run;
    }
    PlayerView view(*level);
    Game::setView(&view);
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level.get())) {
        Game::setView(nullptr);
        return run;
    }
    // A shuffle puts a new board in play: the game's board is asked anew.
    const auto tilesLeft = [game] {
        return game->getLayout()->getTileCount();
    };
    const int tiles = tilesLeft();
    const double pace = meanPace(player, *level, tiles) * 1000.0;
    long timeLeft = static_cast<long>(level->getTuningInt(Tuning::PlayTime)) * tiles;
    // The player's own draws come from a source of their own, so that the
    // deal stays the same for both players.
    std::mt19937 clock(seed * 2654435761U);
    std::uniform_real_distribution<double> spread(0.6, 1.4);
    for (int step = 0; tilesLeft() > 0 && step < 4 * tiles; ++step) {
        TileList hint;
        int spent = static_cast<int>(pace * spread(clock));
        if (!game->pickHint(hint)) {
            if (!game->prepareShuffle()) {
                break;
            }
            game->swapInShuffled();
            spent = kShuffleMs;
        } else {
            view.pass(spent);
            for (const RefPtr<Tile>& tile : hint) {
                const bool split = game->getGameType() == GameType::Split ||
                                   game->getGameType() == GameType::Speed;
                if (split && tile->isSideboard()) {
                    continue;
                }
                view.target = tile.get();
                game->click(0, 0);
                game->runPendingAction();
            }
        }
        timeLeft += view.timeBonusMs - spent;
        view.timeBonusMs = 0;
        if (timeLeft <= 0) {
            break; // the time bar ran out: the level is lost with this score
        }
    }
    run.cleared = tilesLeft() == 0;
    run.score = game->getScore().getValue() + view.bonusPoints;
    Game::destroyCurrent();
    Game::setView(nullptr);
    return run;
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
                const Run good = play(kStrong, floor, room, static_cast<std::uint32_t>(s));
                strong.push_back(good.score);
                strongCleared += good.cleared ? 1 : 0;
                const Run fair = play(kDecent, floor, room, static_cast<std::uint32_t>(s));
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
