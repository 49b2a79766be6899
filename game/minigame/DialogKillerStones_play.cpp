// The falling-tiles game's frame: hits, pick-ups, new tiles, the gun and
// the timers while a level is played; the clean-up and the wait for a click
// after a cleared level or the game's end; the next level; the score table.

#include "engine/core/GameTree.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/Sprite.h"
#include "game/board/Tile.h"
#include "game/dialogs/DialogHooks.h"
#include "game/minigame/DialogKillerStones.h"
#include "game/minigame/KillerStonesRules.h"
#include "game/minigame/ModifierTileFall.h"
#include "game/players/HighScoreEntry.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {

namespace {

using StoneRules = KillerStonesRules;

// The longest frame the game's own timers count.
constexpr int kLongestFrameMs = 100;
// Pixels a swaying tile swings to either side of its column.
constexpr int kSwayAmplitude = 40;
// Where the parked pick-up texts wait: beside the score, or top right.
constexpr int kRapidFireTextX = 730;
constexpr int kParkGap = 16;
constexpr int kParkedTextY = 40;
// The score table after the game's end.
constexpr int kTableHeadY = 320;
constexpr int kTableRowY = 370;
constexpr int kTableRowStep = 30;
constexpr std::array<int, 3> kTableColumns{100, 500, 700};

// The rectangle `sprite` is drawn in, in screen pixels (the dialog fills
// the screen from its top-left corner).
StoneRect drawnRectOf(const Sprite& sprite) {
    return {sprite.getLeft() + sprite.getParentX(), sprite.getTop() + sprite.getParentY(),
            sprite.getWidth(), sprite.getHeight()};
}

// Fades `node` out over 200 ms and removes it, after dropping its moves.
void fadeAway(Sprite& node) {
    node.removeAllModifiers();
    node.addModifier(new ModifierAlpha(200, node.getAlpha(), 0))
        ->setFinishFlags(Modifier::FinishRemoveTarget);
}

} // namespace

// ---- the frame -------------------------------------------------------------------------------

void DialogKillerStones::updateSelf(int frameMs) {
    DialogOrvanta::updateSelf(frameMs);
    // The frame after a long stall (the wait for the pictures when the
    // dialog was built) must not spend the whole stall at once.
    const int elapsedMs = std::min(frameMs, kLongestFrameMs);
    if (!loaded_) {
        return;
    }
    if (!gameOver_ && !levelCleared_) {
        collide();
        spawn(elapsedMs);
        moveGun(elapsedMs);
        countDown(elapsedMs);
        // Several hits can land in one frame (a laser column, a bomb), so
        // the goal can be passed as well as met. A tile that lands later in
        // this frame finds the level cleared and is swept away with the rest.
        if (!gameOver_ && StoneRules::isLevelCleared(hits_, level_)) {
            levelCleared_ = true;
            endTimer_ = 1000;
        }
        return;
    }
    clearField();
    runEndTimer(elapsedMs);
}

void DialogKillerStones::collide() {
    std::vector<RefPtr<Sprite>> born;
    for (std::size_t t = 0; t < tiles_.size();) {
        const RefPtr<Sprite> tile = tiles_[t];
        if (tile->hasRemovalMark() || tile->getParent() == nullptr) {
            ++t;
            continue;
        }
        const StoneRect tileRect = StoneRules::shrink(drawnRectOf(*tile), StoneRules::kTileMargin);
        bool hit = false;
        for (std::size_t s = 0; s < shots_.size();) {
            const RefPtr<Sprite> shot = shots_[s];
            if (shot->hasRemovalMark()) {
                shots_.erase(shots_.begin() + static_cast<std::ptrdiff_t>(s));
                continue;
            }
            const StoneRect shotRect =
                StoneRules::shrink(drawnRectOf(*shot), StoneRules::hitMargin(shot->getTag()));
            if (!StoneRules::meet(tileRect, shotRect)) {
                ++s;
                continue;
            }
            shots_.erase(shots_.begin() + static_cast<std::ptrdiff_t>(s));
            hitTile(*tile, *shot, born);
            hit = true;
            break;
        }
        if (hit) {
            tiles_.erase(tiles_.begin() + static_cast<std::ptrdiff_t>(t));
        } else {
            ++t;
        }
    }
    // Pieces born in this pass meet nothing before the next frame.
    shots_.insert(shots_.end(), born.begin(), born.end());
}

void DialogKillerStones::hitTile(Sprite& tile, Sprite& shot, std::vector<RefPtr<Sprite>>& born) {
    const int x = tile.getX();
    const int y = tile.getY();
    const int pan = StoneRules::panFor(x);
    play(hitSound_.get(), "SOUND_DIALOG_SHOW", pan);
    playNamed("game", "SOUND_COMBO" + std::to_string(Random::nextInt(1, 11)), pan);
    if (shot.getTag() == StoneRules::kFragShot) {
        burstFrag(x, y, born);
    }
    tile.removeAllModifiers();
    auto* grow = new ModifierScale(200, 1.0F, 1.2F);
    grow->setEasing(&KillerStonesRules::easeOut);
    tile.addModifier(grow)->setFinishFlags(Modifier::FinishHoldBack);
    tile.addModifier(new ModifierScale(200, 1.2F, 0.0F))
        ->setFinishFlags(Modifier::FinishRemoveTarget | Modifier::FinishHoldBack);
    starBurst(x, y);
    shot.removeAllModifiers();
    shot.setRemovalMark(true);
    const StoneScore gained = StoneRules::scoreFor(shot.getTag(), tile.getTag());
    score_ += gained.points * gained.multiplier;
    showPoints(x, y, gained.points, gained.multiplier);
    updateScoreLabel();
    lastHitTag_ = shot.getTag();
    ++hits_;
    if (StoneRules::givesPickup(hits_, level_)) {
        takePickup(born);
    }
}

void DialogKillerStones::burstFrag(int x, int y, std::vector<RefPtr<Sprite>>& born) {
    play(fragSound_.get(), "SOUND_TROPHY_ARRIVES", StoneRules::panFor(x));
    const int count = Random::nextInt(8, 14);
    const int distance = Random::nextInt(250, 400);
    const float start = floats_.next(0.0F, 2.0F * std::numbers::pi_v<float>);
    for (int k = 0; k < count; ++k) {
        const float angle = start + 2.0F * std::numbers::pi_v<float> * static_cast<float>(k) /
                                        static_cast<float>(count);
        Sprite* piece = addShot(shotImage_.get(), x, y, StoneRules::kFragPiece, false);
        born.emplace_back(piece);
        auto* move = new ModifierLocationLine(
            x, y, x + static_cast<int>(static_cast<float>(distance) * std::cos(angle)),
            y + static_cast<int>(static_cast<float>(distance) * std::sin(angle)), 800, false);
        move->setEasing(&KillerStonesRules::easeOut);
        piece->addModifier(move)->setFinishFlags(Modifier::FinishHoldBack);
        piece->addModifier(new ModifierDelay(600));
        piece->addModifier(new ModifierAlpha(400, 255, 0))
            ->setFinishFlags(Modifier::FinishHoldBack);
        piece->addModifier(new ModifierFunction(&DialogKillerStones::onShotDone, this));
    }
}

void DialogKillerStones::takePickup(std::vector<RefPtr<Sprite>>& born) {
    announcePickup(StoneRules::drawPickup(previousPickup_), born);
}

void DialogKillerStones::grantPickup(int kind) {
    if (kind < 0 || kind >= StoneRules::kPickupCount) {
        return;
    }
    std::vector<RefPtr<Sprite>> born;
    announcePickup(kind, born);
    shots_.insert(shots_.end(), born.begin(), born.end());
}

void DialogKillerStones::announcePickup(int kind, std::vector<RefPtr<Sprite>>& born) {
    play(pickupSound_.get(), "SOUND_STUCK", 128);
    floatingText(L"Bonus:", -40, 0, 1000);
    Label* name =
        popText(std::wstring(StoneRules::kPickupNames.at(static_cast<std::size_t>(kind))), 0, 0);
    applyPickup(kind, born, name);
}

void DialogKillerStones::applyPickup(int kind, std::vector<RefPtr<Sprite>>& born, Label* name) {
    currentPickup_ = kind;
    previousPickup_ = kind;
    // Where the name goes after it popped in, and how long it stays there.
    int parkX = 400;
    int parkY = 300;
    int stayMs = 1000;
    switch (kind) {
    case StoneRules::kRapidFire:
        rapidFireTimer_ = 6000;
        parkX = kRapidFireTextX;
        parkY = kParkedTextY;
        stayMs = rapidFireTimer_;
        break;
    case StoneRules::kLaser:
    case StoneRules::kFrag:
        weapon_ = kind == StoneRules::kLaser ? kLaser : kFrag;
        specialShots_ = 10;
        updateSpecialLabel();
        specialLabel_->removeAllModifiers();
        specialLabel_->addModifier(new ModifierAlpha(300, specialLabel_->getAlpha(), 255));
        jolt(*specialLabel_);
        break;
    case StoneRules::kExtraBomb:
        ++bombs_;
        updateBombLabel();
        jolt(*bombLabel_);
        break;
    case StoneRules::kShield:
        play(shieldSound_.get(), "SOUND_USE_SHUFFLE", 128);
        for (const bool left : {true, false}) {
            const int half = barImage_ != nullptr ? barImage_->getWidth() / 2 : 0;
            const int x = left ? half + 5 : StoneRules::kScreenWidth - half - 5;
            Sprite* bar = addShot(barImage_.get(), x, 500, StoneRules::kShieldBar, false);
            born.emplace_back(bar);
            bar->addModifier(new ModifierDelay(8000));
            bar->addModifier(new ModifierBlink(255, 0, 0, 0, 100, 100, 3))
                ->setFinishFlags(Modifier::FinishHoldBack);
            bar->addModifier(new ModifierAlpha(400, 255, 0))
                ->setFinishFlags(Modifier::FinishHoldBack);
            bar->addModifier(new ModifierFunction(&DialogKillerStones::onShotDone, this));
        }
        break;
    case StoneRules::kBonusScore:
        score_ += 1000;
        updateScoreLabel();
        // Beside the score it went to, on the same line.
        if (name != nullptr && scoreLabel_ != nullptr) {
            scoreLabel_->relayout();
            parkX = scoreLabel_->getX() + scoreLabel_->getWidth() + kParkGap + name->getWidth() / 2;
            parkY = scoreLabel_->getY() + scoreLabel_->getHeight() / 2;
        }
        break;
    default:
        break;
    }
    if (name == nullptr) {
        return;
    }
    if (parkX != 400 || parkY != 300) {
        auto* move = new ModifierLocationLine(400, 300, parkX, parkY, 300, true);
        name->addModifier(move)->setFinishFlags(Modifier::FinishHoldBack);
        name->addModifier(new ModifierDelay(stayMs));
        name->addModifier(new ModifierBlink(255, 0, 0, 0, 100, 100, 3))
            ->setFinishFlags(Modifier::FinishHoldBack);
    } else {
        name->addModifier(new ModifierLocationLine(400, 300, 400, 276, 1000, false));
        name->addModifier(new ModifierDelay(1000));
    }
    name->addModifier(new ModifierAlpha(400, 255, 0))
        ->setFinishFlags(Modifier::FinishRemoveTarget | Modifier::FinishHoldBack);
}

void DialogKillerStones::spawn(int elapsedMs) {
    spawnTimer_ -= elapsedMs;
    if (spawnTimer_ > 0) {
        return;
    }
    spawnTimer_ = pace_.getSpawnInterval();
    spawnTile();
}

void DialogKillerStones::spawnTile() {
    const int x = StoneRules::drawSpawnX(lastSpawnX_);
    // Remembered, so that the next tile keeps its distance from this one.
    lastSpawnX_ = x;
    const int row = Random::nextInt(0, 3);
    const int column = Random::nextInt(0, 9);
    const RefPtr<Image> face = composeTile(row, column);
    auto* tile = new Sprite(x, 0, face.get());
    if (face == nullptr) {
        tile->setSize(0, 0);
    }
    tile->setName("FALLING_TILE");
    tile->setAnchorPoint(AnchorKind::Center);
    const int startY = -tile->getHeight() / 2;
    tile->setY(startY);
    if (gun_ != nullptr && gun_->getParent() == field_) {
        GameTree::insertBefore(tile, gun_.get());
    } else {
        GameTree::appendChild(tile, field_);
    }
    tiles_.emplace_back(tile);
    int amplitude = 0;
    float frequency = 0.0F;
    if (Random::nextInt(0, pace_.getSwayLimit()) < pace_.getSwayChance()) {
        frequency = floats_.next(1.0F, 2.0F) * 2.0F * std::numbers::pi_v<float>;
        amplitude = kSwayAmplitude;
        tile->setTag(StoneRules::kSwayingTile);
    }
    tile->addModifier(new ModifierTileFall(x, startY, StoneRules::kScreenHeight,
                                           pace_.getFallTime(), amplitude, frequency))
        ->setFinishFlags(Modifier::FinishHoldBack);
    tile->addModifier(new ModifierFunction(&DialogKillerStones::onTileLanded, this));
}

RefPtr<Image> DialogKillerStones::composeTile(int row, int column) const {
    if (tileImage_ == nullptr) {
        return nullptr;
    }
    RefPtr<Image> face = cloneImage(*tileImage_);
    if (face == nullptr || symbols_ == nullptr) {
        return face;
    }
    if (const RefPtr<Graphics> canvas = createGraphics(*face)) {
        canvas->drawImage(*symbols_, 0, 0, column * TILE_FACE_WIDTH, tileStepOffset(row),
                          TILE_FACE_WIDTH, TILE_FACE_HEIGHT);
    }
    return face;
}

void DialogKillerStones::moveGun(int elapsedMs) {
    approachValue(gunX_, gunSpeed_, elapsedMs, gunTargetX_, 8000.0F, 4000.0F, 8000.0F, true);
    if (gun_ != nullptr) {
        gun_->setX(static_cast<int>(gunX_));
    }
}

void DialogKillerStones::countDown(int elapsedMs) {
    if (rapidFireTimer_ > 0) {
        rapidFireTimer_ -= elapsedMs;
        if (rapidFireTimer_ <= 0) {
            currentPickup_ = StoneRules::kNoPickup;
        }
    }
    if (fireCooldown_ > 0) {
        fireCooldown_ -= elapsedMs;
    }
    if (weapon_ == kNormal && currentPickup_ != StoneRules::kRapidFire && fireCooldown_ <= 0 &&
        triggerHeld_) {
        onLeftButtonDown(static_cast<int>(gunX_), gunY_, 0, false);
        triggerHeld_ = false;
    }
}

void DialogKillerStones::clearField() {
    for (const RefPtr<Sprite>& shot : shots_) {
        fadeAway(*shot);
    }
    for (const RefPtr<Sprite>& tile : tiles_) {
        fadeAway(*tile);
    }
    shots_.clear();
    tiles_.clear();
}

void DialogKillerStones::runEndTimer(int elapsedMs) {
    if (endTimer_ <= 0) {
        return;
    }
    endTimer_ -= elapsedMs;
    if (endTimer_ > 0) {
        return;
    }
    // After the game's end the table fills the middle of the screen: the
    // invitation goes below it.
    const int y = gameOver_ ? 560 : 280;
    Label* label = makeLabel("FONT_HEADER", getText("CTEXT_CLICK_TO_CONTINUE"), 400, y,
                             static_cast<int>(AnchorKind::Center));
    label->setName("CONTINUE");
    label->setAlpha(0);
    label->addModifier(new ModifierAlpha(500, 0, 255));
    continueLabel_ = label;
}

// ---- the next level and the end ----------------------------------------------------------------

void DialogKillerStones::startNextLevel() {
    pace_.nextLevel();
    spawnTimer_ = 2000;
    fireCooldown_ = 0;
    triggerHeld_ = false;
    bombs_ += 2;
    updateBombLabel();
    lastSpawnX_ = 0;
    gameOver_ = false;
    levelCleared_ = false;
    endTimer_ = 0;
    ++level_;
    currentPickup_ = StoneRules::kNoPickup;
    lastHitTag_ = -1;
    if (continueLabel_ != nullptr) {
        continueLabel_->removeAllModifiers();
        continueLabel_->addModifier(new ModifierAlpha(300, continueLabel_->getAlpha(), 0))
            ->setFinishFlags(Modifier::FinishRemoveTarget);
        continueLabel_ = nullptr;
    }
    showLevelBanner(0);
    if (!playNamed("hallway", "SOUND_HALLWAY_CLEAR", 128)) {
        playNamed("minigame", "SOUND_MINIGAME_FANFARE", 128);
    }
}

int DialogKillerStones::onTileLanded(void* dialog, void* /*modifier*/) {
    static_cast<DialogKillerStones*>(dialog)->endGame();
    return 0;
}

void DialogKillerStones::endGame() {
    // One end per game: a second tile landing, or a level that was cleared
    // earlier in the same frame, leaves the state as it is.
    if (gameOver_ || levelCleared_) {
        return;
    }
    gameOver_ = true;
    endTimer_ = 1000;
    // The gun steps aside for the table and the invitation below it.
    if (gun_ != nullptr) {
        gun_->removeAllModifiers();
        gun_->addModifier(new ModifierAlpha(400, gun_->getAlpha(), 0));
    }
    floatingText(L"GAME OVER", -20, 0, 3000);
    enterScore();
    showScoreTable();
    playNamed("game", "SOUND_LEVEL_LOST", 128);
}

void DialogKillerStones::enterScore() {
    // A game that lost more than it won leaves no row behind.
    if (score_ < 0) {
        return;
    }
    PlayerHook* player = getPlayerHook();
    const std::optional<std::wstring> name =
        player != nullptr ? player->getPlayerName() : std::nullopt;
    if (!name) {
        return;
    }
    if (HighScoreTable* table = getHighScoreTable(kMiniGameScoreTable, true); table != nullptr) {
        enteredPlace_ =
            table->addScore(new OrvantaScoreEntry(wideToString(*name), score_, true, level_));
    }
}

void DialogKillerStones::showScoreTable() {
    const HighScoreTable* table = getHighScoreTable(kMiniGameScoreTable, true);
    if (table == nullptr) {
        return;
    }
    const std::array<std::wstring, 3> heads{L"Name", L"Score", L"Level"};
    for (std::size_t c = 0; c < heads.size(); ++c) {
        Label* head = makeLabel("FONT_HEADER", heads.at(c), kTableColumns.at(c), kTableHeadY,
                                static_cast<int>(c == 0 ? AnchorKind::Left : AnchorKind::Center));
        head->setName("TABLE");
    }
    int y = kTableRowY;
    int place = 0;
    for (const RefPtr<HighScoreEntry>& entry : table->getEntries()) {
        const auto* row = kindCast<OrvantaScoreEntry>(entry.get());
        const std::array<std::wstring, 3> cells{
            stringToWide(entry->playername), std::to_wstring(entry->scorevalue),
            std::to_wstring((row != nullptr ? row->level : 0) + 1)};
        for (std::size_t c = 0; c < cells.size(); ++c) {
            Label* cell =
                makeLabel("FONT_GAMESCENE_BIG", cells.at(c), kTableColumns.at(c), y,
                          static_cast<int>(c == 0 ? AnchorKind::Left : AnchorKind::Center));
            cell->setName("TABLE");
            if (place == enteredPlace_) {
                cell->addModifier(new ModifierBlink(255, 90, 200, 200, 100, 300, 0));
            }
        }
        y += kTableRowStep;
        ++place;
    }
}

} // namespace orv
