#include "game/board/Game.h"

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/SceneManager.h"
#include "game/board/BoardFactory.h"
#include "game/board/CommandMove.h"
#include "game/board/CommandRemove.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"

#include <algorithm>
#include <array>
#include <string>

namespace orv {

const ClassRecord Game::classRecord{"Game", parentRecords<GameNode::classRecord>};

namespace {

// Combo sounds go up to this multiplier.
constexpr int kMaxComboSound = 10;
// The shown score after which hallway points earn trophy 13.
constexpr int kHighScoreTrophyScore = 100000;
constexpr int kHighScoreTrophy = 13;
constexpr int kManyMatchesTrophy = 16;
constexpr int kManyMatches = 10000;
constexpr int kSameFaceTrophy = 17;
// Tutorial hints cleared by the move they explain.
constexpr int kFirstBonusHint = 18;
constexpr int kSecondBonusHint = 19;
constexpr int kFreeCellMatchHint = 23;

RefPtr<Game>& currentGame() {
    static RefPtr<Game> game;
    return game;
}

NullGameView& nullView() {
    static NullGameView view;
    return view;
}

NullGameServices& nullServices() {
    static NullGameServices services;
    return services;
}

GameView*& installedView() {
    static GameView* view = nullptr;
    return view;
}

GameServices*& installedServices() {
    static GameServices* services = nullptr;
    return services;
}

} // namespace

FreeTileRule currentFreeTileRule() {
    const Game* game = Game::getCurrent();
    return game != nullptr ? game->getFreeTileRule() : FreeTileRule::Standard;
}

Game::Game(PropertyNode* saved, GameType type) : gameType_(type) {
    if (saved != nullptr) {
        restore(*saved);
    }
}

Game::~Game() {
    closeLevelSession();
}

Game* Game::create(GameType type) {
    if (gameTypeFromNumber(toNumber(type)) == GameType::Invalid) {
        logWarning("game: there is no game type " + std::to_string(toNumber(type)));
        return nullptr;
    }
    const std::string_view className = kGameClassNames.at(static_cast<std::size_t>(type));
    RefPtr<BaseObject> object = ObjectFactoryContainer::get().createObject(className, nullptr);
    auto* game = kindCast<Game>(object.get());
    if (game == nullptr) {
        logWarning("game: the class " + std::string(className) + " makes no game");
        return nullptr;
    }
    makeCurrent(game);
    return game;
}

void Game::destroyCurrent() {
    makeCurrent(nullptr);
}

Game* Game::getCurrent() {
    return currentGame().get();
}

void Game::makeCurrent(Game* game) {
    RefPtr<Game> old = currentGame();
    if (old == game) {
        return;
    }
    currentGame() = game;
    if (old) {
        old->setRemovalMark(true);
    }
}

void Game::setView(GameView* view) {
    installedView() = view;
}

GameView& Game::getView() {
    GameView* view = installedView();
    return view != nullptr ? *view : nullView();
}

void Game::setServices(GameServices* services) {
    installedServices() = services;
}

GameServices& Game::getServices() {
    GameServices* services = installedServices();
    return services != nullptr ? *services : nullServices();
}

FreeTileRule Game::getFreeTileRule() const {
    return level_ && level_->getGameType() == GameType::River ? FreeTileRule::River
                                                              : FreeTileRule::Standard;
}

// ---- operations the game types replace ------------------------------------------

RefPtr<Tile> Game::newTile() {
    return nullptr;
}

void Game::sideBoardUndo(Tile& /*tile*/) {}

bool Game::isStuck(int available) {
    return available <= 0 && layout_ && layout_->getTileCount() > 0;
}

bool Game::selectionMatches() {
    const Tile* clicked = clickedTile_.get();
    if (selection_.size() == 2) {
        return isSelected(clicked);
    }
    return selection_.size() == 1 && tilesMatch(clicked, selection_.front().get());
}

void Game::click(int x, int y) {
    clickedTile_ = nullptr;
    if (!layout_) {
        pendingAction_ = PendingAction::None;
        return;
    }
    clickedTile_ = view().tileAt(*layout_, x, y);
    Tile* tile = clickedTile_.get();
    if (tile == nullptr) {
        pendingAction_ = PendingAction::None;
        return;
    }
    if (!layout_->isTileFree(*tile, getFreeTileRule())) {
        view().playSound("SOUND_TILE_BLOCKED");
        pendingAction_ = PendingAction::Blocked;
        return;
    }
    if (selectionMatches()) {
        const bool recRoom = level_ && level_->getPlace() == Place::RecRoom;
        const int combo = recRoom ? 1 : std::clamp(view().getScoreMultiplier(), 1, kMaxComboSound);
        view().playSound("SOUND_COMBO" + std::to_string(combo));
        pendingAction_ = PendingAction::Match;
        return;
    }
    if (isSelected(tile)) {
        view().playSound("SOUND_TILE_DESELECT");
        pendingAction_ = PendingAction::Deselect;
        return;
    }
    view().playSound("SOUND_TILE_SELECT");
    pendingAction_ = !selection_.empty() && tilesMatch(tile, selection_.front().get())
                         ? PendingAction::AddToSelection
                         : PendingAction::NewSelection;
}

// ---- the click road ---------------------------------------------------------------

void Game::runPendingAction() {
    view().clearConnectionPath();
    Tile* tile = clickedTile_.get();
    switch (pendingAction_) {
    case PendingAction::Deselect:
        deselectTile(tile);
        break;
    case PendingAction::NewSelection:
        clearSelection();
        [[fallthrough]];
    case PendingAction::AddToSelection:
        if (tile != nullptr) {
            selectTile(tile);
            if (!view().isSuperHintRunning()) {
                clearHints();
            }
            view().markTileSelected(*tile);
        }
        break;
    case PendingAction::Match:
        carryOutMatch();
        break;
    case PendingAction::FreeCellMove:
        moveToFreeCell();
        clearHints();
        break;
    case PendingAction::Blocked:
        if (tile != nullptr) {
            view().pulseTile(*tile);
        }
        break;
    default:
        break;
    }
}

void Game::carryOutMatch() {
    Tile* clicked = clickedTile_.get();
    if (clicked == nullptr) {
        return;
    }
    if (!isSelected(clicked)) {
        if ((gameType_ == GameType::Split || gameType_ == GameType::Speed) && layout_ &&
            layout_->getSideBoard() != nullptr) {
            TileList rack;
            layout_->getSideBoard()->getTiles(rack);
            const auto twin = std::find_if(rack.begin(), rack.end(), [&](const RefPtr<Tile>& t) {
                return tilesMatch(clicked, t.get());
            });
            if (twin != rack.end()) {
                selection_.push_back(*twin);
            }
        }
        selection_.emplace_back(clicked);
    }
    removeMatch();
    if (view().isSuperHintRunning()) {
        view().refreshTileSprites();
    } else {
        clearHints();
    }
}

void Game::removeMatch() {
    if (selection_.empty() || !level_ || !layout_) {
        return;
    }
    const RefPtr<Tile> first = selection_.front();
    const int points = level_->getTuningInt(Tuning::PointsPerMatch);
    view().addBonusPoints(points);
    view().addTime(level_->getTuningInt(Tuning::TimeBonus));
    counters_.lastMatchTime = counters_.timeSinceLastRestart;
    counters_.removedTilesCount += static_cast<int>(selection_.size());
    counters_.matchCount += 1;

    if (first->getSuit() == kFirstBonusSuit) {
        services().completeTutorialHint(kFirstBonusHint);
    } else if (first->getSuit() == kSecondBonusSuit) {
        services().completeTutorialHint(kSecondBonusHint);
    }
    if (gameType_ == GameType::FreeCell &&
        std::any_of(selection_.begin(), selection_.end(),
                    [](const RefPtr<Tile>& t) { return t->isSideboard(); })) {
        services().completeTutorialHint(kFreeCellMatchHint);
    }

    pushCommand(new CommandRemove(points, view().getScoreMultiplier() - 1, selection_));
    view().clearHoveredTile();
    const int totalMatches = services().countPlayerMatch();

    const int key = (first->getSuit() << 8) + first->getIdx();
    if (gameType_ == GameType::Classic && counters_.lastMatchKey != -1 &&
        key == counters_.lastMatchKey && first->getMatchType() == MatchType::Exact) {
        awardTrophy(kSameFaceTrophy);
    }
    counters_.lastMatchKey = key;
    if (totalMatches == kManyMatches) {
        awardTrophy(kManyMatchesTrophy);
    }
    const SideBoard* rack = layout_->getSideBoard();
    const bool cellsEmpty =
        gameType_ != GameType::FreeCell || rack == nullptr || rack->countTiles() == 0;
    if (layout_->getTileCount() == 0 && cellsEmpty) {
        view().onLevelWon();
    }
}

void Game::moveToFreeCell() {
    const SideBoard* rack = layout_ ? layout_->getSideBoard() : nullptr;
    if (selection_.empty() || rack == nullptr || freeCellColumn_ < 0 ||
        freeCellColumn_ >= rack->getColumns() || freeCellRow_ < 0 ||
        freeCellRow_ >= rack->getRows() ||
        rack->getTileAt(freeCellColumn_, freeCellRow_) != nullptr) {
        // Only a move that can be made goes on the undo list: undoing one
        // that was not would empty a cell it never filled.
        return;
    }
    counters_.freeCellMoves += 1;
    pushCommand(new CommandMove(selection_.front().get(), freeCellColumn_, freeCellRow_));
}

// ---- selection and hints -------------------------------------------------------------

void Game::selectTile(Tile* tile) {
    if (tile != nullptr && !isSelected(tile)) {
        selection_.emplace_back(tile);
    }
}

void Game::deselectTile(Tile* tile) {
    if (tile == nullptr) {
        return;
    }
    view().showRestingLook(*tile, isHinted(tile), false);
    removeFirst(selection_, tile);
}

void Game::clearSelection() {
    const TileList selected = std::move(selection_);
    selection_.clear();
    for (const RefPtr<Tile>& tile : selected) {
        view().showRestingLook(*tile, isHinted(tile.get()), true);
    }
}

bool Game::isSelected(const Tile* tile) const {
    return tile != nullptr && listContains(selection_, tile);
}

bool Game::isHinted(const Tile* tile) const {
    return tile != nullptr && listContains(hintTiles_, tile);
}

void Game::addHintTile(Tile* tile) {
    if (tile != nullptr && !isHinted(tile)) {
        hintTiles_.emplace_back(tile);
    }
}

void Game::clearHints() {
    const TileList hinted = std::move(hintTiles_);
    hintTiles_.clear();
    for (const RefPtr<Tile>& tile : hinted) {
        view().showRestingLook(*tile, false, false);
    }
}

// ---- score and commands ----------------------------------------------------------------

void Game::addScore(int points) {
    if (score_.getShown() > kHighScoreTrophyScore && level_ &&
        level_->getPlace() == Place::Hallway) {
        awardTrophy(kHighScoreTrophy);
    }
    score_.add(points);
}

void Game::commitScore(int points) {
    score_.commit(points);
    view().countScoreLabel(score_.getShown());
    view().showSuperScore(points, score_.getValue());
}

int Game::scoreThresholdCrossed(int newScore, int step) {
    if (!level_) {
        return -1;
    }
    const int previous = newScore - step;
    const int best = services().getBestHallwayScore(level_->getFloor(), level_->getRoom());
    const int silver = level_->getSilver();
    const int gold = level_->getGold();
    if (previous < silver && silver <= newScore && best < silver) {
        return 1;
    }
    if (previous < gold && gold <= newScore && best < gold) {
        return 2;
    }
    return -1;
}

void Game::pushCommand(Command* command) {
    if (command == nullptr) {
        return;
    }
    undoList_.emplace_back(command);
    command->execute(*this);
}

void Game::undo() {
    if (undoList_.empty()) {
        return;
    }
    counters_.pressedUndo = true;
    const RefPtr<Command> last = undoList_.back();
    last->undo(*this);
    undoList_.pop_back();
    counters_.undoCount += 1;
    counters_.lastMatchKey = -1;
    view().playSound("SOUND_USE_UNDO");
}

void Game::undoTiles(TileList& out) const {
    for (const RefPtr<Command>& command : undoList_) {
        command->tiles(out);
    }
}

void Game::awardTrophy(int number) {
    if (services().awardTrophy(number)) {
        view().onTrophyEarned(number);
    }
}

// ---- the level --------------------------------------------------------------------------

bool Game::setLevel(Level* level) {
    const RefPtr<Level> keep(level);
    level_ = nullptr;
    layout_ = nullptr;
    layoutCopy_ = nullptr;
    if (level == nullptr || level->getLayout() == nullptr) {
        logWarning("game: the level has no layout; it cannot be played");
        return false;
    }
    Layout* board = level->getLayout();
    if (board->getTileCount() == 0) {
        // A missing or damaged layout file reads as an empty board, which
        // could never be won: no match would ever be made on it.
        logWarning("game: the layout " + level->getLayoutName() + " (" + board->getDisplayName() +
                   ") holds no tiles; the level is refused");
        return false;
    }
    if (usesSideBoard(gameType_) && board->getSideBoard() == nullptr) {
        logWarning("game: the layout " + level->getLayoutName() + " (" + board->getDisplayName() +
                   ") has no side board, which game type " + std::string(gameTypeName(gameType_)) +
                   " needs; the level is refused");
        return false;
    }
    level_ = level;
    layout_ = board;
    if (!assignTileFaces()) {
        level_ = nullptr;
        layout_ = nullptr;
        return false;
    }
    layoutCopy_ = new Layout(*layout_);
    return true;
}

void Game::returnToBuilding() {
    struct Destination {
        std::string_view section;
        std::string_view scene;
    };
    static constexpr std::array<Destination, 4> kPlaces{{{"hallway", "SCENE_HALLWAY"},
                                                         {"casino", "SCENE_CASINO"},
                                                         {"recroom", "SCENE_RECROOM"},
                                                         {"roof", "SCENE_ROOF"}}};
    SceneManager* scenes = SceneManager::getInstance();
    if (scenes == nullptr) {
        return;
    }
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources != nullptr) {
        resources->clearRequests();
    }
    scenes->setTransition("TRANSITION_DEFAULT");
    const int place = level_ ? static_cast<int>(level_->getPlace()) : -1;
    if (place < 0 || place >= static_cast<int>(kPlaces.size())) {
        return;
    }
    const Destination& destination = kPlaces.at(static_cast<std::size_t>(place));
    if (resources != nullptr) {
        resources->requestSection(destination.section);
    }
    scenes->setNextScene(scenes->getScene(destination.scene));
}

bool Game::setDealtLevel(Level* level) {
    if (level == nullptr || level->getLayout() == nullptr) {
        return false;
    }
    level_ = level;
    layout_ = level->getLayout();
    layoutCopy_ = new Layout(*layout_);
    return true;
}

void Game::restart() {
    if (!layoutCopy_) {
        return;
    }
    layout_ = new Layout(*layoutCopy_);
    if (level_) {
        level_->setLayout(layout_.get());
    }
    resetCounters();
}

void Game::swapInShuffled() {
    if (!shuffledLayout_) {
        return;
    }
    if (layout_ && layout_->getSideBoard() != nullptr) {
        layout_->getSideBoard()->setRemovalMark(true);
    }
    layout_ = shuffledLayout_;
    shuffledLayout_ = nullptr;
    if (level_) {
        level_->setLayout(layout_.get());
    }
}

bool Game::prepareShuffle() {
    if (!layout_) {
        return false;
    }
    shuffledLayout_ = new Layout(*layout_);
    buildLevel(*shuffledLayout_);
    return true;
}

void Game::resetCounters() {
    counters_.hintCount = 0;
    counters_.undoCount = 0;
    counters_.shuffleCount = 0;
    counters_.removedTilesCount = 0;
    counters_.numZeroMatches = 0;
    counters_.freeCellMoves = 0;
    counters_.realTime = 0;
    counters_.clockTime = 0;
    counters_.timeSinceLastRestart = 0;
    counters_.hasWon = false;
    selection_.clear();
    hintTiles_.clear();
    const bool run =
        level_ && (level_->getPlace() == Place::Casino || level_->getPlace() == Place::Roof);
    if (!run || level_->getIndex() <= 0) {
        score_.reset(0);
    }
    undoList_.clear();
}

int placeOf(const Game* game) {
    return game != nullptr && game->getLevel() != nullptr
               ? static_cast<int>(game->getLevel()->getPlace())
               : static_cast<int>(Place::None);
}

} // namespace orv
