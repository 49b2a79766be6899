#include "tools/calibrate/CalibrationModel.h"

#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/board/ShuffleRandom.h"
#include "game/screen/ScreenMath.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv::calibration {

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

double fittingPaceMs(const Level& level, int tiles) {
    // A Split match takes one board tile with its twin from the rack.
    const GameType type = level.getGameType();
    const int perMatch = type == GameType::Triple                             ? 3
                         : type == GameType::Split || type == GameType::Speed ? 1
                                                                              : 2;
    const int matches = std::max(tiles / perMatch, 1);
    const double time = static_cast<double>(level.getTuningInt(Tuning::PlayTime)) * tiles +
                        static_cast<double>(level.getTuningInt(Tuning::TimeBonus)) * matches;
    return 0.9 * time / matches;
}

PaceDraw::PaceDraw(const Player& player, const Level& level, int tiles, std::uint32_t seed)
    : meanMs_(std::min(meanPace(player, level, tiles) * 1000.0, fittingPaceMs(level, tiles))),
      source_(seed * 2654435761U) {}

int PaceDraw::next() {
    return static_cast<int>(meanMs_ * spread_(source_));
}

double meanBonusPoints(const Level& level, int floorReached) {
    RefPtr<PropertyStore> store(new PropertyStore());
    if (!store->load("media/properties/bonus.xml")) {
        return 0.0;
    }
    const PropertyVector* list = store->getVector("bonuses");
    std::array<int, kBonusKinds> chances{};
    for (int i = 0; i < kBonusKinds && static_cast<std::size_t>(i) < list->size(); ++i) {
        chances.at(static_cast<std::size_t>(i)) =
            asNode(list->at(static_cast<std::size_t>(i)))->getValue("chance")->getInt();
    }
    BonusDrawContext context;
    context.floorReached = floorReached;
    context.place = static_cast<int>(level.getPlace());
    context.gameType = static_cast<int>(level.getGameType());
    // The kind drawn next depends on the one before it: run the draw's
    // chance of each kind forward until it settles. A super hint, once
    // held, is not drawn again; that is left out, as a room pays few bonuses.
    std::array<double, kBonusKinds + 1> share{};
    share.back() = 1.0; // before the first draw: none paid out yet
    for (int round = 0; round < 200; ++round) {
        std::array<double, kBonusKinds + 1> next{};
        for (int previous = 0; previous <= kBonusKinds; ++previous) {
            context.previous = previous;
            const std::array<int, kBonusKinds> weights = bonusWeights(chances, context);
            int total = 0;
            for (int weight : weights) {
                total += weight;
            }
            for (int kind = 0; kind < kBonusKinds && total > 0; ++kind) {
                next.at(static_cast<std::size_t>(kind)) +=
                    share.at(static_cast<std::size_t>(previous)) *
                    weights.at(static_cast<std::size_t>(kind)) / total;
            }
        }
        share = next;
    }
    return share.at(Bonus2500) * 2500.0 + share.at(Bonus5000) * 5000.0 +
           share.at(Bonus10000) * 10000.0;
}

ScoreModel::ScoreModel(const Level& level)
    : fullBar_(level.getTuningInt(Tuning::BonusAt)),
      drainPerMs_(static_cast<double>(level.getTuningInt(Tuning::BonusSpeed)) / 1000.0),
      countdownMs_(level.getTuningInt(Tuning::MultiplierTime)),
      step_(BasicProperties::get()->getFloat("MULTIPLIER_PERCENTAGE")),
      least_(BasicProperties::get()->getFloat("MULTIPLIER_MINIMUM")) {}

Tile* ScoreModel::tileAt(const Layout& /*layout*/, int /*x*/, int /*y*/) {
    return target;
}

void ScoreModel::addBonusPoints(int points) {
    // The meter fills by the multiplier counted since it last paid out; the
    // score's multiplier runs on until its countdown ends.
    bar_ += static_cast<double>(points) * fillMultiplier_;
    multiplier_ = std::min(multiplier_ + 1, 99);
    fillMultiplier_ = std::min(fillMultiplier_ + 1, 99);
    left_ = countdownFor(countdownMs_, multiplierFactor(multiplier_, step_, least_));
    if (fullBar_ > 0 && bar_ >= fullBar_) {
        bar_ = 0;
        fillMultiplier_ = 1;
        ++bonuses;
    }
}

void ScoreModel::pass(int ms) {
    if (left_ > 0) {
        left_ -= ms;
        if (left_ <= 0) {
            left_ = 0;
            multiplier_ = 1;
            fillMultiplier_ = 1;
        }
    }
    bar_ = std::max(bar_ - drainPerMs_ * ms, 0.0);
}

Game* dealRoom(int floor, int room, std::uint32_t seed) {
    RandomGenerator::createInstance(seed, 0);
    ShuffleRandom::seed(seed);
    const RefPtr<Level> level = getLevelSets().createLevel(floor, room);
    if (!level) {
        return nullptr;
    }
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level.get())) {
        Game::destroyCurrent();
        return nullptr;
    }
    return game;
}

Run playDealt(Game& game, ScoreModel& model, const std::function<int()>& nextMs,
              double bonusPoints) {
    Run run;
    // The screen that may be installed gets its place back after the game.
    GameView& previous = Game::getView();
    Game::setView(&model);
    const Level& level = *game.getLevel();
    // A shuffle puts a new board in play: the game's board is asked anew.
    const auto tilesLeft = [&game] {
        return game.getLayout()->getTileCount();
    };
    const int tiles = tilesLeft();
    long timeLeft = static_cast<long>(level.getTuningInt(Tuning::PlayTime)) * tiles;
    const bool split =
        game.getGameType() == GameType::Split || game.getGameType() == GameType::Speed;
    for (int step = 0; tilesLeft() > 0 && step < 4 * tiles; ++step) {
        TileList hint;
        int spent = 0;
        if (!game.pickHint(hint)) {
            if (!game.prepareShuffle()) {
                break;
            }
            game.swapInShuffled();
            spent = kShuffleMs;
            ++run.shuffles;
        } else {
            spent = nextMs();
            model.pass(spent);
            for (const RefPtr<Tile>& tile : hint) {
                // The rack's twin joins a board tile's match by itself.
                if (split && tile->isSideboard()) {
                    continue;
                }
                model.target = tile.get();
                game.click(0, 0);
                game.runPendingAction();
            }
            ++run.matches;
        }
        timeLeft += model.timeBonusMs - spent;
        model.timeBonusMs = 0;
        if (timeLeft <= 0) {
            break; // the time bar ran out: the level is lost with this score
        }
    }
    run.cleared = tilesLeft() == 0;
    run.matchScore = game.getScore().getValue();
    run.bonuses = model.bonuses;
    run.score = run.matchScore + static_cast<int>(std::lround(run.bonuses * bonusPoints));
    Game::setView(&previous);
    return run;
}

int roundUpToFrames(int ms, int frameMs) {
    return frameMs > 0 ? (ms + frameMs - 1) / frameMs * frameMs : ms;
}

Run playRoom(const Player& player, int floor, int room, std::uint32_t seed, int frameMs) {
    Game* game = dealRoom(floor, room, seed);
    if (game == nullptr) {
        return {};
    }
    const Level& level = *game->getLevel();
    ScoreModel model(level);
    PaceDraw pace(player, level, game->getLayout()->getTileCount(), seed);
    // A player on this floor has reached it.
    const Run run = playDealt(
        *game, model, [&pace, frameMs] { return roundUpToFrames(pace.next(), frameMs); },
        meanBonusPoints(level, floor));
    Game::destroyCurrent();
    return run;
}

} // namespace orv::calibration
