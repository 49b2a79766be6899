// The playing screen's hints, super hint and connecting path, its shuffle,
// the stuck board's way out and undo.

#include "engine/core/GameTree.h"
#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierStretch.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/players/OrvantaPlayer.h"
#include "game/screen/ConnectionPath.h"
#include "game/screen/EffectMath.h"
#include "game/screen/GameSceneState.h"
#include "game/screen/PlayRules.h"
#include "game/screen/ProfileHooks.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"

#include <array>
#include <limits>
#include <map>

namespace orv {

namespace {

// The stuck questions are stored in the scene under their message texts.
constexpr std::array<std::string_view, 2> kStuckDialogs{"TEXT_STUCK_QUENBY", "TEXT_STUCK_RECROOM"};
// The river preview's timer once its path is drawn: nothing more to wait for.
constexpr int kPathDrawn = std::numeric_limits<int>::max();
// The super hint's end warning starts this long before the end.
constexpr int kSuperHintWarningMs = 900;
// Where the glow sits on the shuffle button.
constexpr int kGlowX = 2;
constexpr int kGlowY = -7;

int placeOf(const Game& game) {
    return game.getLevel() != nullptr ? static_cast<int>(game.getLevel()->getPlace())
                                      : static_cast<int>(Place::None);
}

// The level time a shuffle costs in a game of `type` (0 when the table has
// no entry for it).
int shufflePenalty(GameType type) {
    BasicProperties* settings = BasicProperties::get();
    if (settings == nullptr) {
        return 0;
    }
    const RefPtr<PropertyVector>& table = settings->getVector("SHUFFLE_TIME_PENALTIES");
    const auto index = static_cast<std::ptrdiff_t>(type);
    if (table == nullptr || index < 0 || static_cast<std::size_t>(index) >= table->size()) {
        return 0;
    }
    return PropertyValue::toInt(table->at(index));
}

float pathDelayPerPixel() {
    BasicProperties* settings = BasicProperties::get();
    return settings != nullptr ? settings->getFloat("PATH_ANIM_DELAY_MUL") : 0.0F;
}

Sprite* makePicture(const std::string& name, int x, int y) {
    RefPtr<Image> image = widget::findImage(name, "game");
    return image != nullptr ? new Sprite(x, y, image.get()) : nullptr;
}

// Adds `modifier` to `node`'s own list so that the ones behind it wait for
// its end.
void addInTurn(GameNode& node, Modifier* modifier) {
    modifier->setFinishFlags(Modifier::FinishHoldBack);
    node.addModifier(modifier);
}

// The clock label wobbles through five stretches of 120 ms to show that
// time was added, then is drawn at its own size again. The stretches work
// on the drawn text (a label's box is wider than its text).
void wobbleClockLabel(Label& label) {
    struct Size {
        int width;
        int height;
    };
    const Image* text = label.getImage();
    const int w = text != nullptr ? text->getWidth() : label.getWidth();
    const int h = text != nullptr ? text->getHeight() : label.getHeight();
    const std::array<Size, 6> sizes{{{w, h},
                                     {w * 8 / 10, h * 12 / 10},
                                     {w * 15 / 10, h / 2},
                                     {w * 7 / 10, h * 13 / 10},
                                     {w * 115 / 100, h * 85 / 100},
                                     {w, h}}};
    label.removeAllModifiers();
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) {
        addInTurn(label, new ModifierStretch(120, sizes.at(i).width, sizes.at(i).height,
                                             sizes.at(i + 1).width, sizes.at(i + 1).height));
    }
    label.addModifier(new ModifierFunction(
        [](void* target, void* /*modifier*/) {
            static_cast<Label*>(target)->clearStretchRect();
            return 0;
        },
        &label));
}

} // namespace

void SceneGame::bindHintButtons() {
    // The scene's components hear no input until they are bound to it.
    const auto bind = [this](std::string_view name, GuiFunction function) {
        if (kindCast<Button>(findComponent(name)) != nullptr) {
            static_cast<void>(bindComponent(name, function, this));
        }
    };
    const GuiFunction onHint = [](void* scene, void* /*button*/) {
        static_cast<SceneGame*>(scene)->hint();
        return 0;
    };
    bind("BUTTON_HINT_NORMAL", onHint);
    bind("BUTTON_HINT_UNLIMITED", onHint);
    bind("BUTTON_SHUFFLE", [](void* scene, void* /*button*/) {
        static_cast<SceneGame*>(scene)->shuffle();
        return 0;
    });
    bind("BUTTON_UNDO", [](void* scene, void* /*button*/) {
        static_cast<SceneGame*>(scene)->undoMove();
        return 0;
    });
}

// ---- hints ---------------------------------------------------------------------------

void SceneGame::hint() {
    Game* current = game();
    if (current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    const int place = placeOf(*current);
    ScreenPlayer& player = getScreenPlayer();
    PlayMoment moment;
    moment.place = place;
    moment.tokens = player.getHintTokens().getValue();
    moment.timeLeftMs = timeBar_ != nullptr ? timeBar_->getTime().getValue() : 0;
    moment.pauseState = pauseState_;
    moment.tutorialHeld = isGameHeld();
    moment.hintShown = !current->getHintTiles().empty();
    moment.tilesLeft = current->getLayout()->getTileCount();
    if (!mayBuyHint(moment, HINT_TIME_PENALTY)) {
        return;
    }
    current->clearHints();
    current->clearSelection();
    clearConnectionPath();
    TileList tiles;
    if (!current->pickHint(tiles)) {
        return; // no set is free: nothing is paid
    }
    playSound("SOUND_USE_HINT");
    showHintPair(tiles);
    ++current->getCounters().hintCount;
    player.getHintTokens().addAndCommit(-1);
    switch (hintPrice(place)) {
    case PlayPrice::Token:
        refreshCounterLabels();
        break;
    case PlayPrice::ClockTime: {
        current->getCounters().clockTime += HINT_CLOCK_TIME_PENALTY;
        if (timeLabel_ != nullptr) {
            wobbleClockLabel(*timeLabel_);
        }
        break;
    }
    case PlayPrice::LevelTime:
        if (timeBar_ != nullptr) {
            timeBar_->getTime().addAndCommit(-HINT_TIME_PENALTY);
            showTimePenalty(penaltySeconds(HINT_TIME_PENALTY));
        }
        break;
    }
}

void SceneGame::showHintPair(const TileList& tiles) {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    const std::size_t count =
        std::min(tiles.size(), static_cast<std::size_t>(std::max(current->tilesPerMatch(), 0)));
    for (std::size_t i = 0; i < count; ++i) {
        Tile* tile = tiles.at(i).get();
        markHintTile(tile);
        current->addHintTile(tile);
        current->selectTile(tile);
    }
    if (current->getGameType() == GameType::River && count >= 2) {
        drawConnectionPath(tiles.at(1).get(), tiles.at(0).get());
    }
}

void SceneGame::markHintTile(Tile* tile) {
    if (tile != nullptr && display_ != nullptr) {
        display_->startTileHintPulse(*tile);
    }
}

// ---- the connecting path -----------------------------------------------------------------

void SceneGame::clearConnectionPath() {
    if (pathLayer_ != nullptr) {
        for (GameNode* piece = pathLayer_->getFirstChild(); piece != nullptr;
             piece = piece->getNextSibling()) {
            piece->setRemovalMark(true);
        }
    }
    pathSegments_.clear();
    pathTimer_ = 0;
}

void SceneGame::drawConnectionPath(Tile* a, Tile* b) {
    const int timer = pathTimer_;
    clearConnectionPath();
    pathTimer_ = timer;
    Game* current = game();
    if (a == nullptr || b == nullptr || a == b || current == nullptr ||
        current->getLayout() == nullptr || pathLayer_ == nullptr) {
        return;
    }
    const TilePos from = b->getPos();
    if (from.z != a->getPos().z || a->isSideboard() || b->isSideboard()) {
        return;
    }
    PathGrid grid;
    grid.build(*current->getLayout(), *b, *a);
    if (!grid.findPath()) {
        return;
    }
    grid.copyPath(pathSegments_);
    const bool red = !current->tilesMatch(b, a);
    // The path layer hangs at the component root; the display answers in
    // screen pixels.
    const int originX =
        (display_ != nullptr ? display_->tileScreenX(0, from.z) : 0) - pathLayer_->getAbsoluteX();
    const int originY =
        (display_ != nullptr ? display_->tileScreenY(0, from.z) : 0) - pathLayer_->getAbsoluteY();
    for (PathSegment& segment : pathSegments_) {
        PathGrid::segmentToScreen(segment, originX, originY);
    }
    std::map<std::string, RefPtr<Image>> pictures;
    const auto picture = [&pictures](const std::string& name) -> Image* {
        auto found = pictures.find(name);
        if (found == pictures.end()) {
            found = pictures.emplace(name, widget::findImage(name, "game")).first;
        }
        return found->second.get();
    };
    const std::vector<PathPiece> pieces =
        layoutConnectionPath(pathSegments_, red, pathDelayPerPixel(), [&](const std::string& name) {
            const Image* image = picture(name);
            return image != nullptr ? PieceSize{image->getWidth(), image->getHeight()}
                                    : PieceSize{};
        });
    for (const PathPiece& piece : pieces) {
        Image* image = picture(piece.image);
        if (image == nullptr) {
            continue;
        }
        auto* sprite = new Sprite(piece.x, piece.y, image);
        sprite->setAlpha(0);
        addInTurn(*sprite, new ModifierDelay(piece.delayMs));
        sprite->addModifier(new ModifierAlpha(PATH_ANIM_FADE_TIME, 0, 255));
        GameTree::appendChild(sprite, pathLayer_.get());
    }
}

void SceneGame::updatePathPreview(int elapsedMs) {
    Game* current = game();
    if (current == nullptr || current->getGameType() != GameType::River ||
        !(current->getHintTiles().empty() || isSuperHintRunning())) {
        return;
    }
    if (hoveredTile_ == nullptr || current->getSelection().empty()) {
        pathTimer_ = 0;
        return;
    }
    if (pathTimer_ == kPathDrawn) {
        return;
    }
    Tile* first = current->getSelection().front().get();
    pathTimer_ += std::max(elapsedMs, 0);
    if (current->tilesMatch(first, hoveredTile_)) {
        pathTimer_ = PATH_APPEAR_DELAY;
    }
    if (pathTimer_ >= PATH_APPEAR_DELAY) {
        pathTimer_ = kPathDrawn;
        drawConnectionPath(hoveredTile_, first);
    }
}

// ---- the super hint ----------------------------------------------------------------------

void SceneGame::startSuperHint(Sprite* icon) {
    if (game() == nullptr) {
        if (icon != nullptr) {
            icon->setRemovalMark(true);
        }
        return;
    }
    superHintTime_ = SUPER_HINT_DURATION;
    if (superHintOverlay_ != nullptr && superHintOverlay_.get() != icon) {
        dismissSuperHintOverlay(false);
    }
    superHintOverlay_ = icon;
    if (icon != nullptr) {
        if (Sprite* countdown = makePicture("IMAGE_BONUSSUPERHINT_OVERLAY", 0, 0)) {
            countdown->setAnchorPoint(icon->getAnchorKind());
            if (GameNode* first = icon->getFirstChild(); first != nullptr) {
                GameTree::insertBefore(countdown, first);
            } else {
                GameTree::appendChild(countdown, icon);
            }
        }
    }
    playSound("SOUND_SUPERHINT");
    updateSuperHintOverlay();
    refreshTileSprites();
    if (superHintTime_ <= 0) {
        endSuperHint(); // a super hint without a duration ends at once
    }
}

void SceneGame::refreshTileSprites() {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    current->clearSelection();
    TileList candidates;
    current->collectCandidates(candidates);
    clearSelection();
    for (const RefPtr<Tile>& tile : candidates) {
        current->addHintTile(tile.get());
        if (display_ != nullptr) {
            display_->startTileHint(*tile);
        }
    }
    invalidateBoard();
}

void SceneGame::updateSuperHintOverlay() {
    if (superHintOverlay_ == nullptr) {
        return;
    }
    auto* countdown = kindCast<Sprite>(superHintOverlay_->getFirstChild());
    if (countdown == nullptr) {
        return;
    }
    countdown->setAlpha(superHintOverlay_->getAlpha());
    const int width =
        superHintRevealWidth(SUPER_HINT_DURATION, superHintTime_, countdown->getWidth());
    countdown->setClipRect(-static_cast<int>(countdown->getAnchorOffsetX()),
                           -static_cast<int>(countdown->getAnchorOffsetY()), width, 600);
}

void SceneGame::dismissSuperHintOverlay(bool slide) {
    if (superHintOverlay_ == nullptr) {
        return;
    }
    const RefPtr<Sprite> overlay = std::move(superHintOverlay_);
    superHintOverlay_ = nullptr;
    overlay->removeAllModifiers();
    if (slide) {
        auto* away = new ModifierLocationLine(overlay->getX(), overlay->getY(),
                                              overlay->getX() + 800, overlay->getY(), 500, false);
        away->setFinishFlags(Modifier::FinishRemoveTarget);
        overlay->addModifier(away);
    } else {
        overlay->setRemovalMark(true);
    }
}

void SceneGame::endSuperHint() {
    superHintTime_ = 0;
    if (Game* current = game(); current != nullptr) {
        current->clearHints(); // each tile gets its plain look back
    }
    invalidateBoard();
    dismissSuperHintOverlay(true);
}

void SceneGame::tickHints(int elapsedMs) {
    if (superHintTime_ > 0) {
        superHintTime_ -= elapsedMs;
        if (superHintTime_ <= 0) {
            endSuperHint();
        } else if (superHintOverlay_ != nullptr && superHintTime_ <= kSuperHintWarningMs &&
                   superHintOverlay_->getOwnModifiers().empty()) {
            // The end draws near: a sound and three blinks, once (the long
            // delay keeps the list from emptying again).
            superHintOverlay_->addModifier(
                new ModifierSound("game", "SOUND_SUPER_HINT_ENDS", true));
            superHintOverlay_->addModifier(new ModifierBlink(255, 0, 100, 100, 0, 100, 3));
            superHintOverlay_->addModifier(new ModifierDelay(std::numeric_limits<int>::max()));
        }
    }
    updateSuperHintOverlay();
    updatePathPreview(elapsedMs);
}

void SceneGame::resetHints() {
    superHintTime_ = 0;
    dismissSuperHintOverlay(false);
    stopShuffleGlow();
    clearConnectionPath();
}

// ---- shuffle -------------------------------------------------------------------------------

void SceneGame::stopShuffleGlow() {
    if (shuffleGlow_ == nullptr) {
        return;
    }
    const RefPtr<Sprite> glow = std::move(shuffleGlow_);
    shuffleGlow_ = nullptr;
    glow->removeAllModifiers();
    if (pauseState_ == 3) {
        glow->setRemovalMark(true);
        return;
    }
    auto* fade = new ModifierAlpha(150, glow->getAlpha(), 0);
    fade->setFinishFlags(Modifier::FinishRemoveTarget);
    glow->addModifier(fade);
}

void SceneGame::shuffle() {
    if (auto* stuck = kindCast<DialogOrvanta>(findDialog(kStuckDialogs[0])); stuck != nullptr) {
        DialogOrvanta::close(stuck);
    }
    stopShuffleGlow();
    // The FreeCell hint may explain a better way than the shuffle.
    if (!DialogHint::isHintOpen() && DialogHint::tryTileHint()) {
        return;
    }
    Game* current = game();
    if (current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    const int place = placeOf(*current);
    const bool hallway = place == static_cast<int>(Place::Hallway);
    const int penalty = hallway ? 0 : shufflePenalty(current->getGameType());
    PlayMoment moment;
    moment.place = place;
    moment.tokens = getScreenPlayer().getShuffleTokens().getValue();
    moment.timeLeftMs = timeBar_ != nullptr ? timeBar_->getTime().getValue() : 0;
    moment.pauseState = pauseState_;
    moment.tutorialHeld = isGameHeld();
    moment.tilesLeft = current->getLayout()->getTileCount();
    if (!mayShuffle(moment, penalty)) {
        return;
    }
    if (!hallway && timeBar_ != nullptr) {
        timeBar_->getTime().addAndCommit(-penalty);
        showTimePenalty(penaltySeconds(penalty));
    }
    if (startShuffle(true) && hallway) {
        refreshCounterLabels();
    }
}

bool SceneGame::startShuffle(bool useToken) {
    Game* current = game();
    if (current == nullptr || current->getLayout() == nullptr) {
        return false;
    }
    if (useToken &&
        (pauseState_ != 0 || isGameHeld() || current->getLayout()->getTileCount() < 1)) {
        return false;
    }
    GameCounters& counters = current->getCounters();
    counters.pressedShuffle = true;
    counters.lastMatchKey = -1;
    current->clearSelection();
    current->clearHints();
    clearConnectionPath();
    current->clearUndoList(); // the moves before a shuffle cannot be taken back
    if (useToken) {
        getScreenPlayer().getShuffleTokens().addAndCommit(-1);
        ++counters.shuffleCount;
        const SideBoard* side = current->getLayout()->getSideBoard();
        if (current->getGameType() == GameType::FreeCell && side != nullptr &&
            side->countTiles() < side->getColumns() * side->getRows()) {
            ++counters.freeCellShuffles;
        }
    }
    setState(new StateShuffle());
    return true;
}

// ---- undo ----------------------------------------------------------------------------------

void SceneGame::undoMove() {
    Game* current = game();
    if (pauseState_ != 0 || current == nullptr || isGameHeld()) {
        return;
    }
    RefPtr<Game> keep(current);
    current->undo();
}

// ---- the stuck board ---------------------------------------------------------------------

void SceneGame::updateMatchesAfterShuffle() {
    shuffleEnding_ = true;
    updateMatchesLabel();
    shuffleEnding_ = false;
}

void SceneGame::runStuckTest(int available) {
    Game* current = game();
    if (available > 0 || current == nullptr) {
        return;
    }
    ++current->getCounters().numZeroMatches;
    const bool stuck = current->isStuck(0);
    if (stuck) {
        if (OrvantaPlayer* player = currentProfile(); player != nullptr) {
            ++player->stats.numStuck;
        }
    }
    // A re-deal without any match offers the way out once, without a
    // second shuffle that could not help.
    if (stuck || shuffleEnding_) {
        showStuckDialog(!shuffleEnding_);
    }
}

void SceneGame::showStuckDialog(bool allowSecond) {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    const StuckOffer offer = stuckOffer(placeOf(*current));
    if (!offer.dialog) {
        if (shuffleGlow_ != nullptr) {
            shuffleGlow_->removeAllModifiers();
            shuffleGlow_->setRemovalMark(true);
            shuffleGlow_ = nullptr;
        }
        Sprite* glow = shuffleButton_ != nullptr
                           ? makePicture("GLOW_BUTTON_SHUFFLE", kGlowX, kGlowY)
                           : nullptr;
        if (glow != nullptr) {
            glow->setAlpha(0);
            glow->addModifier(new ModifierBlink(0, 255, 200, 0, 0, 200, -1));
            GameTree::appendChild(glow, shuffleButton_);
            shuffleGlow_ = glow;
        }
        return;
    }
    DialogYesNo* question = DialogYesNo::ask(
        offer.text, offer.header, this, &SceneGame::stuckRestart, this,
        offer.noAction == 1 ? &SceneGame::stuckShuffle : &SceneGame::stuckUndo, this);
    if (question == nullptr) {
        return;
    }
    const std::array<std::pair<Button*, const std::string*>, 2> captions{
        {{question->getYesButton(), &offer.yesButton}, {question->getNoButton(), &offer.noButton}}};
    for (const auto& [button, textId] : captions) {
        if (button == nullptr) {
            continue;
        }
        for (GameNode* child = button->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            if (auto* caption = kindCast<Label>(child); caption != nullptr) {
                caption->setText(getText(*textId));
            }
        }
    }
    showDialog(question);
    if (!stuckSecondEnabled(offer, allowSecond, getScreenPlayer().getShuffleTokens().getValue()) &&
        question->getNoButton() != nullptr) {
        question->getNoButton()->setEnabled(false);
    }
}

namespace {

// Records the stuck question's answer, closes the question and runs
// `after` (context: the screen) once it has closed.
void answerStuck(SceneGame& scene, const char* action, GuiFunction after) {
    if (Game* current = Game::getCurrent(); current != nullptr) {
        if (const RefPtr<PropertyNode> record = current->logCustomEvent(); record != nullptr) {
            record->add(new PropertyValue("stuckAction", std::string_view(action)));
        }
    }
    for (std::string_view name : kStuckDialogs) {
        if (auto* question = kindCast<DialogOrvanta>(scene.findDialog(name)); question != nullptr) {
            question->setAfterClose(after, &scene);
            DialogOrvanta::close(question);
        }
    }
}

} // namespace

int SceneGame::stuckRestart(void* scene, void* /*dialog*/) {
    answerStuck(*static_cast<SceneGame*>(scene), "0", [](void* context, void* /*dialog*/) {
        static_cast<SceneGame*>(context)->restartLevel();
        return 0;
    });
    return 0;
}

int SceneGame::stuckShuffle(void* scene, void* /*dialog*/) {
    answerStuck(*static_cast<SceneGame*>(scene), "1", [](void* context, void* /*dialog*/) {
        static_cast<SceneGame*>(context)->shuffle();
        return 0;
    });
    return 0;
}

int SceneGame::stuckUndo(void* scene, void* /*dialog*/) {
    answerStuck(*static_cast<SceneGame*>(scene), "2", [](void* context, void* /*dialog*/) {
        static_cast<SceneGame*>(context)->undoMove();
        return 0;
    });
    return 0;
}

} // namespace orv
