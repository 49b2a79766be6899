#include "game/dialogs/DialogHint.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "game/board/Game.h"
#include "game/board/GameFreeCell.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogHintPainter.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogSounds.h"
#include "game/dialogs/HintScreenHook.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"

#include <algorithm>
#include <string>

namespace orv {

constinit const ClassRecord DialogHint::classRecord{"DialogHint",
                                                    parentRecords<DialogOrvanta::classRecord>};

namespace {

// The tutorial hints by what they explain.
enum TutorialHint : int {
    kHintMultiplier = 15,
    kHintTimeShort = 16,
    kHintBonusHalf = 17,
    kHintFirstBonusSuit = 18,
    kHintSecondBonusSuit = 19,
    kHintSplitBoardPair = 20,
    kHintSplitRackPair = 21,
    kHintFreeCellPark = 22,
    kHintFreeCellMissed = 23,
    kHintFreeCellShuffle = 24,
    kHintRiverLayers = 25,
    kHintRiverPath = 26,
    kHintRiverIdle = 27,
    kHintRiverNear = 28,
};

// The two suits that match by suit alone: the tile sets draw suit 5 as the
// flowers and suit 6 as the seasons.
constexpr int kFirstBonusSuitNumber = 5;
constexpr int kSecondBonusSuitNumber = 6;
// Missed free-cell chances the player makes before the hint explains them.
constexpr int kMissedChancesBeforeHint = 3;
// The window the bubble is held inside.
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
// How far inside the anchor's edges the arrow points.
constexpr int kArrowInset = 20;
// The row of four tile pictures of the flower and season hints.
constexpr int kPictureCount = 4;
constexpr int kPictureStep = 60;
constexpr int kPictureGap = 6;

// The global bubble: the one last fetched for showing.
RefPtr<DialogHint> hintInUse;

bool hintsSwitchOn() {
    PlayerHook* players = getPlayerHook();
    return players != nullptr && players->getShowHints().value_or(false);
}

bool hintPending(int hint) {
    return Game::getServices().isTutorialHintPending(hint);
}

Scene* sceneShown() {
    PlayingScreenHook* screen = getPlayingScreenHook();
    return screen != nullptr ? screen->getScene() : nullptr;
}

std::optional<Rect> tileRect(const Tile* tile) {
    HintScreenHook* screen = getHintScreenHook();
    if (tile == nullptr || screen == nullptr) {
        return std::nullopt;
    }
    return screen->getTileRect(*tile);
}

// Shows `hint` at `tile` (its rectangle) and, once it shows, marks the tile.
bool showAtTile(int hint, Tile* tile, Game& game) {
    if (!DialogHint::showHint(tileRect(tile), hint, false, nullptr)) {
        return false;
    }
    if (HintScreenHook* screen = getHintScreenHook(); screen != nullptr) {
        screen->markHintTile(tile);
    }
    game.addHintTile(tile);
    return true;
}

// The board's free tiles of `suit`, in grid order.
TileList freeTilesOfSuit(const Game& game, int suit) {
    TileList free;
    TileList out;
    game.getLayout()->getFreeTiles(free, game.getFreeTileRule());
    filterTilesBySuit(free, suit, out);
    return out;
}

// The flower (18, suit 5) or season (19, suit 6) hint: free tiles of the suit enough for a
// match, after a long wait without a click.
bool trySuitHint(Game& game, HintScreenHook& screen, int hint, int suit) {
    if (!hintPending(hint) || !game.getSelection().empty() || !game.getHintTiles().empty() ||
        screen.getMsSinceLastClick() <= HINT_CLICK_TIME_SEASONFLOWERS * 1000) {
        return false;
    }
    const TileList tiles = freeTilesOfSuit(game, suit);
    if (static_cast<int>(tiles.size()) < game.tilesPerMatch()) {
        return false;
    }
    screen.clearSelection();
    if (!DialogHint::showHint(tileRect(tiles.front().get()), hint, false, nullptr)) {
        return false;
    }
    screen.showHintPair(tiles);
    return true;
}

// River (27): after a long wait without a click, a pair that can be taken.
bool tryRiverIdleHint(Game& game, HintScreenHook& screen) {
    if (game.getGameType() != GameType::River || !hintPending(kHintRiverIdle) ||
        !game.getSelection().empty() || !game.getHintTiles().empty() ||
        screen.getMsSinceLastClick() <= HINT_CLICK_TIME_RIVER * 1000) {
        return false;
    }
    TileList pair;
    if (!game.pickHint(pair) || pair.size() < 2) {
        return false;
    }
    std::optional<Rect> anchor = tileRect(pair.front().get());
    if (const std::optional<Rect> second = tileRect(pair.at(1).get()); anchor && second) {
        const int right = std::max(anchor->x + anchor->width, second->x + second->width);
        const int bottom = std::max(anchor->y + anchor->height, second->y + second->height);
        anchor->x = std::min(anchor->x, second->x);
        anchor->y = std::min(anchor->y, second->y);
        anchor->width = right - anchor->x;
        anchor->height = bottom - anchor->y;
    }
    if (!DialogHint::showHint(anchor, kHintRiverIdle, false, nullptr)) {
        return false;
    }
    screen.showHintPair(pair);
    return true;
}

// The selected tile and the clicked one when they are different tiles of
// one match key (the start of the Split and River hints).
bool clickedTwinOfSelection(const Game& game, Tile*& selected, Tile*& clicked) {
    if (game.getSelection().empty() || game.getClickedTile() == nullptr) {
        return false;
    }
    selected = game.getSelection().front().get();
    clicked = game.getClickedTile();
    return selected != clicked && selected->matchKey() == clicked->matchKey();
}

// Split and Speed (20, 21): two tiles of one face picked on the same side.
bool trySplitHints(Game& game) {
    const GameType type = game.getGameType();
    Tile* selected = nullptr;
    Tile* clicked = nullptr;
    if ((type != GameType::Split && type != GameType::Speed) ||
        game.getPendingAction() != PendingAction::NewSelection ||
        !clickedTwinOfSelection(game, selected, clicked)) {
        return false;
    }
    HintScreenHook* screen = getHintScreenHook();
    if (!selected->isSideboard() && !clicked->isSideboard() && hintPending(kHintSplitBoardPair)) {
        TileList candidates;
        game.collectCandidates(candidates);
        if (candidates.size() < 2 ||
            !DialogHint::showHint(std::nullopt, kHintSplitBoardPair, false, nullptr)) {
            return false;
        }
        if (screen != nullptr) {
            screen->clearSelection();
            screen->showHintPair(TileList(candidates.begin(), candidates.begin() + 2));
        }
        return true;
    }
    if (selected->isSideboard() && clicked->isSideboard() && hintPending(kHintSplitRackPair)) {
        if (!DialogHint::showHint(std::nullopt, kHintSplitRackPair, false, nullptr)) {
            return false;
        }
        if (screen != nullptr) {
            screen->clearSelection();
        }
        return true;
    }
    return false;
}

// A free board tile and a parked tile that match, or false.
bool findMissedFreeCellPair(Game& game, TileList& pair) {
    const Layout* board = game.getLayout();
    const SideBoard* cells = board != nullptr ? board->getSideBoard() : nullptr;
    if (cells == nullptr) {
        return false;
    }
    TileList free;
    TileList parked;
    board->getFreeTiles(free, game.getFreeTileRule());
    cells->getTiles(parked);
    for (const RefPtr<Tile>& onBoard : free) {
        for (const RefPtr<Tile>& inCell : parked) {
            if (game.tilesMatch(onBoard.get(), inCell.get())) {
                pair.push_back(onBoard);
                pair.push_back(inCell);
                return true;
            }
        }
    }
    return false;
}

// FreeCell in the casino or on the roof (23): a board pair taken while a
// parked tile could have been matched; explained after the fourth time.
bool tryMissedFreeCellHint(Game& game) {
    const Level* level = game.getLevel();
    auto* freeCell = kindCast<GameFreeCell>(&game);
    if (freeCell == nullptr || level == nullptr ||
        (level->getPlace() != Place::Casino && level->getPlace() != Place::Roof) ||
        game.getPendingAction() != PendingAction::Match || game.getSelection().empty() ||
        game.getClickedTile() == nullptr || !hintPending(kHintFreeCellMissed)) {
        return false;
    }
    if (game.getSelection().front()->isSideboard() || game.getClickedTile()->isSideboard()) {
        // The player uses the free cells: nothing left to explain.
        Game::getServices().completeTutorialHint(kHintFreeCellMissed);
        return false;
    }
    TileList pair;
    if (!findMissedFreeCellPair(game, pair)) {
        return false;
    }
    freeCell->setHintCounter(freeCell->getHintCounter() + 1);
    if (freeCell->getHintCounter() <= kMissedChancesBeforeHint ||
        !DialogHint::showHint(std::nullopt, kHintFreeCellMissed, false, nullptr)) {
        return false;
    }
    if (HintScreenHook* screen = getHintScreenHook(); screen != nullptr) {
        screen->clearSelection();
        screen->showHintPair(pair);
    }
    return true;
}

// River (28, 25, 26): a twin of the selected tile clicked that cannot be
// taken with it.
bool tryRiverClickHints(Game& game) {
    Tile* selected = nullptr;
    Tile* clicked = nullptr;
    if (game.getGameType() != GameType::River || !clickedTwinOfSelection(game, selected, clicked)) {
        return false;
    }
    const PendingAction action = game.getPendingAction();
    if ((action == PendingAction::NewSelection || action == PendingAction::Blocked) &&
        Tile::isNear(*selected, *clicked) && hintPending(kHintRiverNear) &&
        DialogHint::showHint(tileRect(clicked), kHintRiverNear, false, nullptr)) {
        return true;
    }
    if (action != PendingAction::NewSelection) {
        return false;
    }
    const int hint =
        selected->getPos().z != clicked->getPos().z ? kHintRiverLayers : kHintRiverPath;
    return hintPending(hint) && DialogHint::showHint(tileRect(clicked), hint, false, nullptr);
}

// The tile a parked tile would free on a FreeCell board, or null.
Tile* tileFreeableByCells(const Game& game) {
    const Layout* board = game.getLayout();
    return board != nullptr ? board->findTileFreeableBySideBoard(game.getFreeTileRule()) : nullptr;
}

} // namespace

RefPtr<Image> makeTilePicture(int suit, int idx) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return {};
    }
    const PlayerManager* players = PlayerManager::get();
    const OrvantaPlayer* player = players != nullptr ? players->getCurrentProfile() : nullptr;
    const int set = player != nullptr ? std::clamp(player->tileset, 0, 3) : 0;
    std::string sheet = "SYMBOLS";
    sheet.append(std::to_string(set + 1));
    RefPtr<Image> body;
    RefPtr<Image> faces;
    {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        body = kindCast<Image>(resources->getLoadedObject("TILE", "default"));
        faces = kindCast<Image>(resources->getLoadedObject(sheet, "manual"));
    }
    if (body == nullptr) {
        return {};
    }
    RefPtr<Image> picture = cloneImage(*body);
    if (picture != nullptr && faces != nullptr) {
        RefPtr<Graphics> graphics = createGraphics(*picture);
        graphics->drawImage(*faces, 0, 0,
                            Rect{tileFaceOffsetX(suit, idx), tileStepOffset(suit),
                                 RENDERER_TILE_FACE_WIDTH, RENDERER_TILE_FACE_HEIGHT});
    }
    return picture;
}

DialogHint::DialogHint(PropertyNode* definition)
    : DialogOrvanta(definition), naturalHeight_(getHeight()) {
    if (bindComponent("BUTTON_OK", &DialogHint::onOk, this)) {
        ok_ = kindCast<Button>(findComponent("BUTTON_OK"));
    }
    text_ = kindCast<Label>(findComponent("LABEL_TEXT"));
    text2_ = kindCast<Label>(findComponent("LABEL_TEXT2"));
    if (text_ != nullptr) {
        naturalTextY_ = text_->getY();
    }
    const PropertyNode* node = getDefinition();
    middleHeight_ = node->getValue("TUT_MIDDLE_HEIGHT")->getInt();
    buttonOffset_ = node->getValue("TUT_BUTTON_Y_OFFSET")->getInt();
    setPlaySounds(false);
}

DialogHint::~DialogHint() = default;

BaseObject* DialogHint::createFromDefinition(PropertyNode* definition) {
    return new DialogHint(definition);
}

DialogHint* DialogHint::getOpenHint() {
    return hintInUse != nullptr && hintInUse->open_ ? hintInUse.get() : nullptr;
}

bool DialogHint::isGameHeld() {
    const DialogHint* open = getOpenHint();
    return open != nullptr && open->holdsGame_;
}

void DialogHint::releaseCurrent() {
    hintInUse = nullptr;
}

// ---- showing a hint ----------------------------------------------------------------------------

bool DialogHint::showHint(std::optional<Rect> anchor, int hint, bool forced, GameNode* node) {
    if (hint < kFirstHint || hint > kLastHint || (!forced && !hintsSwitchOn())) {
        return false;
    }
    Scene* scene = sceneShown();
    auto* dialog =
        scene != nullptr ? kindCast<DialogHint>(scene->getDialog("DIALOG_HINT")) : nullptr;
    if (dialog == nullptr) {
        std::string message = "tutorial: hint ";
        message.append(std::to_string(hint)).append(" has no dialog to show it in");
        logWarning(message);
        return false;
    }
    if (!forced) {
        Game::getServices().completeTutorialHint(hint);
    }
    hintInUse = dialog;
    dialog->setHint(hint);
    dialog->anchorNodes_.clear();
    if (node != nullptr) {
        dialog->anchorNodes_.emplace_back(node);
    }
    dialog->layOut();
    if (!anchor && node != nullptr) {
        const auto* sprite = kindCast<Sprite>(node);
        const int offsetX = sprite != nullptr ? static_cast<int>(sprite->getAnchorOffsetX()) : 0;
        const int offsetY = sprite != nullptr ? static_cast<int>(sprite->getAnchorOffsetY()) : 0;
        anchor = Rect{node->getAbsoluteX() - offsetX, node->getAbsoluteY() - offsetY,
                      sprite != nullptr ? sprite->getWidth() : 0,
                      sprite != nullptr ? sprite->getHeight() : 0};
    }
    if (anchor) {
        dialog->placeAt(*anchor);
    } else {
        if (auto* painter = kindCast<DialogHintPainter>(dialog->getPainter())) {
            painter->setCorner(DialogHintPainter::kNoCorner);
        }
        dialog->setAutoCenter(true);
        dialog->setX(kWindowWidth / 2 - dialog->getWidth() / 2);
        dialog->setY(kWindowHeight / 2 - dialog->getHeight() / 2);
    }
    scene->showDialog(dialog);
    return true;
}

void DialogHint::setHint(int hint) {
    hint_ = hint;
    AbstractProperty* entry = getDefinition()->getVector("descs")->at(hint - kFirstHint);
    pages_ = asVector(entry);
    pageCount_ = static_cast<int>(pages_->size());
    // A bubble kept from an earlier hint starts the new one at its first page.
    page_ = 0;
    pageMs_ = 0;
}

void DialogHint::setPageText(int page) {
    const std::string id = asNode(pages_->at(page))->getValue("textid")->getString();
    if (text_ != nullptr) {
        text_->setText(getText(id));
        text_->relayout();
    }
    if (text2_ != nullptr) {
        const bool second = id == "HINT_FLOWER_TILES" || id == "HINT_SEASON_TILES";
        text2_->setText(second ? getText(id + "2") : std::wstring());
        text2_->relayout();
    }
}

void DialogHint::layOut() {
    if (isAutoCenter()) {
        setX(kWindowWidth / 2 - getWidth() / 2);
        setY(kWindowHeight / 2 - getHeight() / 2);
    }
    int tallest = 0;
    for (int page = 0; page < pageCount_; ++page) {
        setPageText(page);
        tallest = std::max(tallest, text_ != nullptr ? text_->getHeight() : 0);
    }
    sizeFor(naturalTextY_ + std::max(tallest, middleHeight_));
    showPage();
}

void DialogHint::sizeFor(int contentBottom) {
    // The frame keeps its natural margin below the middle part.
    const int margin = naturalHeight_ - naturalTextY_ - middleHeight_;
    setHeight(std::max(naturalHeight_, contentBottom + margin));
    if (ok_ != nullptr) {
        ok_->setY(getHeight() - buttonOffset_);
    }
}

void DialogHint::clearTilePictures() {
    for (Sprite* picture : tilePictures_) {
        removeComponent(picture);
    }
    tilePictures_.clear();
}

void DialogHint::showPage() {
    clearTilePictures();
    if (page_ < pageCount_) {
        setPageText(page_);
    }
    if ((hint_ == kHintFirstBonusSuit || hint_ == kHintSecondBonusSuit) && text_ != nullptr) {
        const int suit =
            hint_ == kHintFirstBonusSuit ? kFirstBonusSuitNumber : kSecondBonusSuitNumber;
        const int y = text_->getY() + text_->getHeight() + kPictureGap;
        std::vector<RefPtr<Image>> images;
        for (int i = 0; i < kPictureCount; ++i) {
            if (RefPtr<Image> image = makeTilePicture(suit, i); image != nullptr) {
                images.push_back(image);
            }
        }
        // The row is centred on the bubble, whatever the pictures' width.
        const int pictureWidth = images.empty() ? 0 : images.front()->getWidth();
        const int pictureHeight = images.empty() ? 0 : images.front()->getHeight();
        const int rowWidth = (static_cast<int>(images.size()) - 1) * kPictureStep + pictureWidth;
        for (std::size_t i = 0; i < images.size(); ++i) {
            RefPtr<Sprite> picture(
                new Sprite((getWidth() - rowWidth) / 2 + static_cast<int>(i) * kPictureStep, y,
                           images[i].get()));
            addComponent(picture.get());
            tilePictures_.push_back(picture.get());
        }
        if (text2_ != nullptr) {
            text2_->setY(y + pictureHeight + kPictureGap);
            sizeFor(text2_->getY() + text2_->getHeight());
        }
    }
    setNeedsRefresh(true);
}

// ---- placing the bubble ------------------------------------------------------------------------

void DialogHint::placeAt(const Rect& anchor) {
    const int left = anchor.x + kArrowInset;
    const int right = anchor.x + anchor.width - kArrowInset;
    const int top = anchor.y + kArrowInset;
    const int bottom = anchor.y + anchor.height - kArrowInset;
    const bool upper = 2 * anchor.y + anchor.height <= kWindowHeight;
    const bool leftHalf = 2 * anchor.x + anchor.width <= kWindowWidth;
    const int width = getWidth();
    const int height = getHeight();
    int corner = 0;
    int x = 0;
    int y = 0;
    if (upper) {
        corner = leftHalf ? 0 : 2;
        x = leftHalf ? right : left - width;
        y = bottom;
    } else {
        corner = leftHalf ? 6 : 8;
        x = leftHalf ? right : left - width;
        y = top - height;
    }
    if (auto* painter = kindCast<DialogHintPainter>(getPainter())) {
        painter->setCorner(corner);
        setNeedsRefresh(true);
    }
    setAutoCenter(false);
    x = std::max(0, std::min(x, kWindowWidth - width));
    y = std::max(0, std::min(y, kWindowHeight - height));
    setX(x);
    setY(y);
}

// ---- the dialog ----------------------------------------------------------------------------

void DialogHint::open() {
    open_ = true;
    DialogOrvanta::open();
    playDialogSound("default", "SOUND_HELPDIALOG_OPEN");
}

void DialogHint::close() {
    open_ = false;
    clearTilePictures();
    DialogOrvanta::close();
}

void DialogHint::updateSelf(int elapsedMs) {
    DialogOrvanta::updateSelf(elapsedMs);
    pageMs_ += std::max(elapsedMs, 0);
}

int DialogHint::onOk(void* dialog, void* /*button*/) {
    auto* hint = static_cast<DialogHint*>(dialog);
    playDialogSound("default", "SOUND_HELPDIALOG_CLOSE");
    if (hint->pageMs_ < HINT_ENTER_FROM_OPEN) {
        return 0;
    }
    if (hint->page_ + 1 < hint->pageCount_) {
        hint->pageMs_ = 0;
        ++hint->page_;
        hint->showPage();
        return 0;
    }
    hint->setAfterClose(nullptr, nullptr);
    DialogOrvanta::close(hint);
    return 0;
}

// ---- when hints are due ---------------------------------------------------------------------

bool DialogHint::tryBoardHints() {
    Game* game = Game::getCurrent();
    HintScreenHook* screen = getHintScreenHook();
    if (game == nullptr || game->getLayout() == nullptr || screen == nullptr || !hintsSwitchOn() ||
        screen->isSuperHintRunning()) {
        return false;
    }
    const RefPtr<Game> keep(game);
    const std::optional<HintBonusBarFacts> bonus = screen->getBonusBar();
    if (bonus && bonus->multiplier >= 3 && hintPending(kHintMultiplier) &&
        showHint(bonus->bar, kHintMultiplier, false, nullptr)) {
        return true;
    }
    if (bonus && bonus->fill >= 0.5F && hintPending(kHintBonusHalf)) {
        const int fillTop =
            bonus->bar.y + bonus->bar.height -
            static_cast<int>(static_cast<float>(bonus->bar.height) * std::min(bonus->fill, 1.0F));
        if (showHint(Rect{bonus->bar.x, fillTop, bonus->bar.width, 1}, kHintBonusHalf, false,
                     nullptr)) {
            return true;
        }
    }
    if (const std::optional<HintTimeBarFacts> time = screen->getTimeBar();
        time && static_cast<float>(time->timeMs) < 0.25F * static_cast<float>(time->maxTimeMs) &&
        hintPending(kHintTimeShort) && showHint(time->bar, kHintTimeShort, false, nullptr)) {
        return true;
    }
    return trySuitHint(*game, *screen, kHintFirstBonusSuit, kFirstBonusSuitNumber) ||
           trySuitHint(*game, *screen, kHintSecondBonusSuit, kSecondBonusSuitNumber) ||
           tryRiverIdleHint(*game, *screen);
}

bool DialogHint::tryPlayHints() {
    Game* game = Game::getCurrent();
    if (game == nullptr || game->getLayout() == nullptr || !hintsSwitchOn()) {
        return false;
    }
    const RefPtr<Game> keep(game);
    return trySplitHints(*game) || tryMissedFreeCellHint(*game) || tryRiverClickHints(*game);
}

bool DialogHint::tryPlayHint() {
    Game* game = Game::getCurrent();
    if (game == nullptr || game->getGameType() != GameType::FreeCell ||
        game->getLayout() == nullptr || !hintPending(kHintFreeCellPark) ||
        !game->getSelection().empty()) {
        return false;
    }
    const RefPtr<Game> keep(game);
    const SideBoard* cells = game->getLayout()->getSideBoard();
    if (cells == nullptr || cells->countTiles() >= cells->getColumns() * cells->getRows() ||
        game->availableMatches() > 0) {
        return false;
    }
    Tile* tile = tileFreeableByCells(*game);
    return tile != nullptr && showAtTile(kHintFreeCellPark, tile, *game);
}

bool DialogHint::tryTileHint() {
    Game* game = Game::getCurrent();
    if (game == nullptr || game->getGameType() != GameType::FreeCell ||
        !hintPending(kHintFreeCellShuffle)) {
        return false;
    }
    const RefPtr<Game> keep(game);
    Tile* tile = tileFreeableByCells(*game);
    return tile != nullptr && showAtTile(kHintFreeCellShuffle, tile, *game);
}

} // namespace orv
