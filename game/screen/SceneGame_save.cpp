// The playing screen's saved game: writing the level in progress into the
// player's saved game of its place, the next level of a run when its board
// was cleared, and the bars of a resumed level.

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/BoardFactory.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/screen/BonusBar.h"
#include "game/screen/LevelSave.h"
#include "game/screen/ProfileHooks.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"

#include <string>

namespace orv {

namespace {

constexpr std::string_view kWhat = "saving the level";

void (*quitQuestion)() = nullptr;

// A game of `type` that is not the current game: it is made through the
// object factory, as `Game::create` does, without replacing the game in play.
RefPtr<Game> makeDetachedGame(GameType type) {
    const int number = toNumber(type);
    if (number < 0 || number >= static_cast<int>(kGameClassNames.size())) {
        return nullptr;
    }
    const RefPtr<BaseObject> object = ObjectFactoryContainer::get().createObject(
        kGameClassNames.at(static_cast<std::size_t>(number)), nullptr);
    return RefPtr<Game>(kindCast<Game>(object.get()));
}

// A copy of `level` with every tuning value where the level stands, so that
// its advance takes the same steps as the level's own would. The level's
// layout is not copied.
RefPtr<Level> copyLevel(const Level& level) {
    RefPtr<PropertyNode> node(new PropertyNode("level", "Level"));
    level.writeXml(node.get());
    RefPtr<Level> copy = createFromNode<Level>(node.get());
    if (!copy) {
        return nullptr;
    }
    for (int i = 0; i < kTuningCount; ++i) {
        const Progression& from = level.getTuning(static_cast<Tuning>(i));
        copy->getTuning(static_cast<Tuning>(i))
            .set(from.getValue(), from.getDelta(), from.getCap());
    }
    copy->setMixed(level.isMixed());
    return copy;
}

// The next level of the run that `current` (a cleared board of the casino or
// the roof) leads to, dealt in a game of its own; null when it cannot be
// dealt. A new level starts with the counters the screen's teardown clears
// and without the undo steps of the board left behind; the score and the
// clocks of the run go on. The roof's mixed run goes on in another game type.
RefPtr<Game> nextLevelGame(Game& current) {
    const Level* old = current.getLevel();
    if (old == nullptr) {
        return nullptr;
    }
    RefPtr<Level> level;
    GameType type = current.getGameType();
    const bool mixed = old->getPlace() == Place::Roof && old->isMixed();
    if (mixed) {
        level = SceneGame::nextMixedLevel(*old, type);
        if (!level) {
            return nullptr;
        }
        type = level->getGameType();
    } else {
        level = copyLevel(*old);
        if (!level) {
            return nullptr;
        }
        level->advance();
        level->loadLayout();
    }
    RefPtr<Game> game = makeDetachedGame(type);
    if (!game || !game->setLevel(level.get())) {
        logWarning(std::string(kWhat) + ": the run's next level (" + level->getLayoutName() +
                   ") cannot be dealt");
        return nullptr;
    }
    game->getScore().reset(current.getScore().getValue());
    if (!mixed) {
        const GameCounters& from = current.getCounters();
        GameCounters& to = game->getCounters();
        to.undoCount = from.undoCount;
        to.numZeroMatches = from.numZeroMatches;
        to.realTime = from.realTime;
        to.dataGatherLevelTime = from.dataGatherLevelTime;
        to.clockTime = from.clockTime;
        game->getRandomLevels() = current.getRandomLevels();
    }
    return game;
}

PropertyNode* addNode(PropertyNode& parent, std::string_view name, std::string_view type) {
    return static_cast<PropertyNode*>(parent.add(new PropertyNode(name, type)));
}

} // namespace

void SceneGame::setQuitQuestion(void (*ask)()) {
    quitQuestion = ask;
}

bool SceneGame::askQuitQuestion() {
    if (quitQuestion == nullptr) {
        return false;
    }
    quitQuestion();
    return true;
}

RefPtr<Level> SceneGame::nextMixedLevel(const Level& old, GameType oldType) {
    const int from = toNumber(oldType);
    int type = from;
    // Five types to draw from: the loop ends after a few draws.
    while (type == from) {
        type = Random::nextInt(0, 5);
    }
    RefPtr<Level> level =
        getLevelSets().getLevelDef(static_cast<GameType>(type), old.getDifficulty(), Place::Roof);
    if (!level) {
        logWarning("the roof's mixed run has no level of type " + std::to_string(type));
        return nullptr;
    }
    for (int i = 0; i <= old.getIndex(); ++i) {
        level->advance();
    }
    level->loadLayout();
    level->setMixed(true);
    return level;
}

PropertyNode* SceneGame::resumedGameNode() {
    const OrvantaPlayer* player = currentProfile();
    return player != nullptr ? player->savedGame.get() : nullptr;
}

std::pair<RefPtr<TimeBar>, RefPtr<BonusBar>> SceneGame::makeLevelBars(const Level* level,
                                                                      int tiles) {
    RefPtr<TimeBar> time(new TimeBar(nullptr));
    time->setMaxTime(level != nullptr ? fullLevelTime(level->getTuningInt(Tuning::PlayTime), tiles)
                                      : 0);
    time->reset();
    RefPtr<BonusBar> bonus(new BonusBar(nullptr));
    if (level != nullptr) {
        bonus->setMaxPoints(level->getTuningInt(Tuning::BonusAt));
        bonus->setDepletionSpeed(static_cast<float>(level->getTuningInt(Tuning::BonusSpeed)) *
                                 0.001F);
        bonus->setMaxCountdown(level->getTuningInt(Tuning::MultiplierTime));
    }
    return {time, bonus};
}

void SceneGame::makeBarsForLevel(const Level* level, int tiles) {
    PropertyNode* resumed = resumedGameNode();
    RefPtr<TimeBar> time =
        resumed != nullptr ? createFromNode<TimeBar>(resumed->getChild("timeBar")) : nullptr;
    RefPtr<BonusBar> bonus =
        resumed != nullptr ? createFromNode<BonusBar>(resumed->getChild("bonusBar")) : nullptr;
    if (!time || !bonus) {
        auto [newTime, newBonus] = makeLevelBars(level, tiles);
        if (!time) {
            time = newTime;
        }
        if (!bonus) {
            bonus = newBonus;
        }
    }
    timeBar_ = time;
    bonusBar_ = bonus;
}

void SceneGame::saveScreenPart(PropertyNode& node, const TimeBar* time,
                               const BonusBar* bonus) const {
    node.add(new PropertyValue("x", display_ != nullptr ? display_->getNode().getX() : 0, true));
    node.add(new PropertyValue("y", display_ != nullptr ? display_->getNode().getY() : 0, true));
    if (time != nullptr) {
        time->save(*addNode(node, "timeBar", "TimeBar"));
    }
    if (bonus != nullptr) {
        bonus->save(*addNode(node, "bonusBar", "BonusBar"));
    }
}

void SceneGame::save() {
    Game* current = game();
    const int place = current != nullptr && current->getLevel() != nullptr
                          ? static_cast<int>(current->getLevel()->getPlace())
                          : static_cast<int>(Place::None);
    const LevelSaveStep step = levelSaveStep(levelPhase_, current != nullptr, place);
    if (step == LevelSaveStep::Nothing) {
        return;
    }
    levelPhase_ = 0;
    if (step == LevelSaveStep::Forget) {
        return;
    }
    PlayerManager* players = PlayerManager::get();
    const OrvantaPlayer* player = currentProfile();
    if (players == nullptr || player == nullptr) {
        logWarning(std::string(kWhat) + ": there is no current player; nothing is saved");
        return;
    }
    RefPtr<PropertyStore> store(new PropertyStore());
    PropertyNode& node = *addNode(*store, "game", "");
    if (step == LevelSaveStep::SaveNextLevel) {
        // The board was cleared: what is resumed is the level it leads to,
        // with that level's own full time and an empty bonus bar.
        const RefPtr<Game> next = nextLevelGame(*current);
        if (!next) {
            return;
        }
        next->save(node);
        const Layout* board = next->getLayout();
        auto [time, bonus] =
            makeLevelBars(next->getLevel(), board != nullptr ? board->getOriginalTileCount() : 0);
        saveScreenPart(node, time.get(), bonus.get());
    } else {
        current->save(node);
        saveScreenPart(node, timeBar_.get(), bonusBar_.get());
    }
    if (!players->saveSavedGame(player->getName(), std::to_string(place), *store)) {
        logWarning(std::string(kWhat) + ": the saved game of place " + std::to_string(place) +
                   " could not be written");
    }
}

} // namespace orv
