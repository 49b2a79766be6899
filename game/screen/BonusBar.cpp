#include "game/screen/BonusBar.h"

#include "engine/core/GameTree.h"
#include "engine/core/RandomGenerator.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFractionFunc.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierSound.h"
#include "game/board/Game.h"
#include "game/screen/PlayingScreen.h"
#include "game/screen/TimeBar.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace orv {

constinit const ClassRecord BonusBar::classRecord{"BonusBar", parentRecords<Sprite::classRecord>};

namespace {

constexpr int kIconTagBase = 100;
constexpr int kSuperHintX = 740;
constexpr int kSuperHintY = 60;

GameNode* findNode(std::string_view name) {
    PlayingScreen* screen = getPlayingScreen();
    return screen != nullptr ? screen->findComponent(name) : nullptr;
}

Sprite* findSprite(std::string_view name) {
    return kindCast<Sprite>(findNode(name));
}

// The screen position of the centre of `sprite`.
std::pair<int, int> screenCentre(const Sprite& sprite) {
    const float x = static_cast<float>(sprite.getAbsoluteX()) +
                    static_cast<float>(sprite.getWidth()) / 2.0F - sprite.getAnchorOffsetX();
    const float y = static_cast<float>(sprite.getAbsoluteY()) +
                    static_cast<float>(sprite.getHeight()) / 2.0F - sprite.getAnchorOffsetY();
    return {static_cast<int>(x), static_cast<int>(y)};
}

std::string& definitionFile() {
    static std::string path = "media/properties/bonus.xml";
    return path;
}

float squared(float t) {
    return t * t;
}

float multiplierPercentage() {
    BasicProperties* settings = BasicProperties::get();
    return settings != nullptr ? settings->getFloat("MULTIPLIER_PERCENTAGE") : 0.0F;
}

float multiplierMinimum() {
    BasicProperties* settings = BasicProperties::get();
    return settings != nullptr ? settings->getFloat("MULTIPLIER_MINIMUM") : 0.0F;
}

// The bar's place: the hallway's rules without a level.
int barPlaceOf(const Game* game) {
    return game != nullptr && game->getLevel() != nullptr
               ? static_cast<int>(game->getLevel()->getPlace())
               : 0;
}

} // namespace

BonusBar::BonusBar(PropertyNode* saved) : Sprite(0, 0, nullptr) {
    RefPtr<PropertyStore> store(new PropertyStore());
    // A file that cannot be read leaves the store empty: its "bonuses" is
    // then the shared empty vector, and every draw falls back (see
    // chooseNextBonus).
    static_cast<void>(store->load(definitionFile()));
    bonusDefinitions_ = store->getVector("bonuses");
    findParts();
    if (saved != nullptr && saved != DUMMY_NODE) {
        bonus_ = saved->getValue("bonus")->getInt();
        // A saved kind outside the table would index past the weights: it
        // reads as none chosen, and a new one is drawn.
        if (bonus_ < 0 || bonus_ >= kBonusKinds) {
            bonus_ = BonusNone;
        }
        maxPoints_ = saved->getValue("maxPoints")->getInt();
        currentPoints_ = saved->getValue("currentPoints")->getFloat();
        maxCountdown_ = saved->getValue("maxCountdown")->getInt();
        currentCountdown_ = saved->getValue("currentCountdown")->getInt();
        multiplier_ = std::clamp(saved->getValue("multiplier")->getInt(), 1, 99);
        internalMultiplier_ = std::clamp(saved->getValue("internalMultiplier")->getInt(), 1, 99);
        depletionSpeed_ = saved->getValue("depletionSpeed")->getFloat();
        superHint_ = saved->getValue("superHint")->getBool();
        if (!std::isfinite(currentPoints_)) {
            currentPoints_ = 0.0F;
        }
        if (!std::isfinite(depletionSpeed_)) {
            depletionSpeed_ = 0.0F;
        }
        if (bonus_ == BonusNone) {
            chooseNextBonus();
        }
    } else {
        chooseNextBonus();
    }
    if (sunshine_ != nullptr) {
        sunshine_->setAlpha(0);
    }
    shownFill_ = fillTarget();
    refreshFillClip();
    refreshCountdown(true);
    showBonusIcon();
    updateMultiplierLabel();
    if (sunshine_ != nullptr) {
        sunshine_->removeAllModifiers();
        sunshine_->setAlpha(0);
    }
    if (box_ != nullptr) {
        box_->removeAllModifiers();
        box_->setCurrentFrame(0);
    }
    if (bonusIcon_ != nullptr) {
        bonusIcon_->removeAllModifiers();
        bonusIcon_->setScale(1.0F);
    }
    if (multiplierLabel_ != nullptr) {
        multiplierLabel_->setText(L"x1");
    }
}

BonusBar::~BonusBar() {
    if (effectsNode_ != nullptr) {
        effectsNode_->setRemovalMark(true);
    }
}

void BonusBar::setDefinitionFile(std::string_view path) {
    definitionFile() = path;
}

BaseObject* BonusBar::createFromDefinition(PropertyNode* definition) {
    return new BonusBar(definition);
}

void BonusBar::findParts() {
    filling_ = findSprite("BONUSBAR_FILLING");
    multiplierLabel_ = kindCast<Label>(findNode("BONUSBAR_MULTIPLIER"));
    timerSprite_ = findSprite("BONUSBAR_TIMER");
    bonusIcon_ = findSprite("BONUSBAR_BONUS");
    box_ = findSprite("BONUSBAR_BOX");
    sunshine_ = findSprite("BONUSBAR_SUNSHINE");
    effectsNode_ = new GameNode();
    PlayingScreen* screen = getPlayingScreen();
    if (GameNode* root = screen != nullptr ? screen->getComponentRoot() : nullptr;
        root != nullptr) {
        GameTree::appendChild(effectsNode_.get(), root);
    }
}

void BonusBar::setVisible(bool visible) {
    Sprite::setVisible(visible);
    for (GameNode* part : {static_cast<GameNode*>(filling_), static_cast<GameNode*>(box_),
                           static_cast<GameNode*>(bonusIcon_), static_cast<GameNode*>(timerSprite_),
                           static_cast<GameNode*>(multiplierLabel_),
                           static_cast<GameNode*>(sunshine_), findNode("BONUSBAR_BACKGROUND")}) {
        if (part != nullptr) {
            part->setVisible(visible);
        }
    }
}

std::int32_t BonusBar::getFullCountdown() const {
    return countdownFor(maxCountdown_,
                        multiplierFactor(multiplier_, multiplierPercentage(), multiplierMinimum()));
}

float BonusBar::fillTarget() const {
    if (filling_ == nullptr) {
        return 0.0F;
    }
    const auto height = static_cast<float>(filling_->getHeight());
    if (flyingBonus_ != nullptr) {
        return height;
    }
    // A maximum of 0 or less (broken level data) shows an empty meter.
    if (maxPoints_ <= 0) {
        return 0.0F;
    }
    return std::clamp(height * currentPoints_ / static_cast<float>(maxPoints_), 0.0F, height);
}

void BonusBar::refreshFillClip() {
    if (filling_ == nullptr || maxPoints_ == 0) {
        return;
    }
    const int h = static_cast<int>(std::clamp(shownFill_, 0.0F, 1.0e6F));
    filling_->setClipRect(filling_->getX(), filling_->getY() + filling_->getHeight() - h,
                          filling_->getWidth(), h);
}

void BonusBar::updateSelf(int elapsedMs) {
    const PlayingScreen* screen = getPlayingScreen();
    if (screen == nullptr || screen->getPauseState() != 0 || Game::getCurrent() == nullptr ||
        screen->isGameHeld()) {
        return;
    }
    const int dt = std::max(elapsedMs, 0);
    if (currentCountdown_ > 0) {
        currentCountdown_ -= dt;
        if (currentCountdown_ <= 0) {
            multiplier_ = 1;
            internalMultiplier_ = 1;
            currentCountdown_ = 0;
            updateMultiplierLabel();
        }
        refreshCountdown(false);
    }
    currentPoints_ = std::max(currentPoints_ - static_cast<float>(dt) * depletionSpeed_, 0.0F);
    approachValue(shownFill_, fillSpeed_, dt, fillTarget(), 1000.0F, 2000.0F, 2000.0F, true);
    refreshFillClip();
}

void BonusBar::addPoints(int points) {
    if (isSuspended()) {
        return;
    }
    currentPoints_ += static_cast<float>(points) * static_cast<float>(internalMultiplier_);
    raiseMultiplier();
    if (currentPoints_ < static_cast<float>(maxPoints_)) {
        return;
    }
    Game* game = Game::getCurrent();
    if (game != nullptr) {
        game->getCounters().lastBonusTime = game->getCounters().timeSinceLastRestart;
    }
    if (filling_ != nullptr) {
        filling_->removeAllModifiers();
    }
    refreshFillClip();
    currentPoints_ = 0.0F;
    internalMultiplier_ = 1;
    awardBonus();
    startClaimAnimation();
    chooseNextBonus();
    showBonusIcon();
    if (game != nullptr && barPlaceOf(game) != static_cast<int>(Place::RecRoom)) {
        if (game->getCounters().realTime < 5000) {
            game->awardTrophy(3);
        }
        if (game->getCounters().bonusesClaimed == 10) {
            game->awardTrophy(4);
        }
    }
}

void BonusBar::raiseMultiplier() {
    ++multiplier_;
    ++internalMultiplier_;
    if (Game* game = Game::getCurrent(); game != nullptr) {
        game->getCounters().highestMultiplier =
            std::max(game->getCounters().highestMultiplier, multiplier_);
    }
    multiplier_ = std::min(multiplier_, 99);
    internalMultiplier_ = std::min(internalMultiplier_, 99);
    currentCountdown_ = std::max(getFullCountdown(), 0);
    refreshCountdown(false);
    updateMultiplierLabel();
    if (multiplier_ == TROPHY_COMBO_FRENZY_MULTIPLIER) {
        if (Game* game = Game::getCurrent(); game != nullptr) {
            game->awardTrophy(12);
        }
    }
    getScreenPlayer().noteCombo(multiplier_);
}

void BonusBar::awardBonus() {
    Game* game = Game::getCurrent();
    if (game != nullptr) {
        ++game->getCounters().bonusesClaimed;
        getScreenPlayer().noteBonus(game->getCounters().bonusesClaimed);
    }
    ScreenPlayer& player = getScreenPlayer();
    switch (bonus_) {
    case BonusTime: {
        PlayingScreen* screen = getPlayingScreen();
        if (TimeBar* bar = screen != nullptr ? screen->getTimeBar() : nullptr; bar != nullptr) {
            bar->getTime().add(TIME_BONUS);
        }
        break;
    }
    case BonusShuffle:
        player.getShuffleTokens().add(1);
        break;
    case Bonus2500:
    case Bonus5000:
    case Bonus10000: {
        const int points = bonus_ == Bonus2500 ? 2500 : bonus_ == Bonus5000 ? 5000 : 10000;
        if (game != nullptr) {
            game->addScore(points);
            game->getCounters().bonusScore += points;
        }
        break;
    }
    case BonusHint:
        player.getHintTokens().add(1);
        break;
    case BonusSuperHint:
        superHint_ = true;
        break;
    default:
        break;
    }
    if (game != nullptr && player.getHintTokens().getValue() == MAX_NUM_HINTS &&
        player.getShuffleTokens().getValue() == MAX_NUM_SHUFFLES) {
        game->awardTrophy(19);
    }
}

BonusDrawContext BonusBar::drawContext() const {
    BonusDrawContext context;
    context.previous = bonus_;
    context.superHintHeld = superHint_;
    const PlayingScreen* screen = getPlayingScreen();
    context.superHintRunning = screen != nullptr && screen->isSuperHintRunning();
    ScreenPlayer& player = getScreenPlayer();
    context.floorReached = player.getFloorReached();
    context.hintsFull = player.getHintTokens().getValue() == MAX_NUM_HINTS;
    context.shufflesFull = player.getShuffleTokens().getValue() == MAX_NUM_SHUFFLES;
    const Game* game = Game::getCurrent();
    context.place = barPlaceOf(game);
    context.gameType = game != nullptr ? static_cast<int>(game->getGameType()) : 0;
    return context;
}

void BonusBar::chooseNextBonus() {
    for (int i = 0; i < kBonusKinds; ++i) {
        const PropertyNode* entry =
            bonusDefinitions_ != nullptr && static_cast<std::size_t>(i) < bonusDefinitions_->size()
                ? asNode(bonusDefinitions_->at(i))
                : DUMMY_NODE;
        chances_[static_cast<std::size_t>(i)] = entry->getValue("chance")->getInt();
    }
    const std::array<int, kBonusKinds> weights = bonusWeights(chances_, drawContext());
    std::int64_t total = 0;
    for (int weight : weights) {
        total += weight;
    }
    // Nothing left to draw from (every weight 0, or no bonus file): a points
    // bonus, which every place and player can take, and never the one just
    // paid.
    if (total <= 0 || total > 0x7FFFFFFF) {
        bonus_ = bonus_ == Bonus2500 ? Bonus5000 : Bonus2500;
        return;
    }
    bonus_ = bonusForDraw(weights, Random::nextInt(0, static_cast<int>(total)));
}

void BonusBar::showBonusIcon() {
    if (bonusIcon_ == nullptr || bonusDefinitions_ == nullptr || bonus_ < 0 ||
        static_cast<std::size_t>(bonus_) >= bonusDefinitions_->size()) {
        return;
    }
    const std::string name = asNode(bonusDefinitions_->at(bonus_))->getValue("image")->getString();
    if (RefPtr<Image> image = widget::findImage(name, "game"); image != nullptr) {
        const int x = bonusIcon_->getX();
        const int y = bonusIcon_->getY();
        bonusIcon_->setImage(image.get());
        bonusIcon_->setPosition(x, y);
    }
}

void BonusBar::updateMultiplierLabel() {
    if (multiplierLabel_ != nullptr) {
        multiplierLabel_->setText(L"x" + std::to_wstring(multiplier_));
    }
}

void BonusBar::refreshCountdown(bool force) {
    RefPtr<Image> threshold = widget::findImage("IMAGE_COUNTDOWNTHRESHOLD", "game");
    RefPtr<Image> timer = widget::findImage("IMAGE_COUNTDOWNTIMER", "game");
    const int level = countdownLevel(currentCountdown_, getFullCountdown());
    if (threshold == nullptr || timer == nullptr || timerSprite_ == nullptr) {
        lastCountdownLevel_ = level;
        return;
    }
    if (countdownImage_ == nullptr) {
        const int width = threshold->getWidth();
        const int height = threshold->getHeight();
        countdownImage_ = getDisplayBytesPerPixel() == 2
                              ? createImage(width, height, kFormatRgb565)
                              : createImage(width, height, kFormatArgb32);
        if (countdownImage_ == nullptr) {
            return;
        }
        timerSprite_->setImage(countdownImage_.get());
    }
    if (level == lastCountdownLevel_ && !force) {
        return;
    }
    lastCountdownLevel_ = level;
    Image& out = *countdownImage_;
    const int width = std::min({out.getWidth(), threshold->getWidth(), timer->getWidth()});
    const int height = std::min({out.getHeight(), threshold->getHeight(), timer->getHeight()});
    if (!out.lock() || !threshold->lock() || !timer->lock()) {
        return;
    }
    // The threshold map is grey: its value is read from whatever format the
    // loader gave it (an alpha map, a 16-bit or a 32-bit picture).
    auto thresholdAt = [&threshold](int x, int y) -> int {
        const Image& map = *threshold;
        if (map.getFormat() == kFormatAlpha || map.getPixels() == nullptr) {
            return map.getAlpha() != nullptr ? map.getAlpha()[y * map.getWidth() + x] : 0;
        }
        if (map.getFormat() == kFormatRgb565) {
            std::uint16_t p = 0;
            std::memcpy(&p, map.getPixels() + y * map.getPitch() + x * 2, 2);
            return (p & 0x1F) << 3;
        }
        std::uint32_t p = 0;
        std::memcpy(&p, map.getPixels() + y * map.getPitch() + x * 4, 4);
        return static_cast<int>(p & 0xFFU);
    };
    const bool sameFormat = timer->getFormat() == out.getFormat();
    for (int y = 0; y < height && sameFormat; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool shown = thresholdAt(x, y) < level;
            if (out.getFormat() == kFormatArgb32) {
                std::uint32_t p = 0;
                if (shown) {
                    std::memcpy(&p, timer->getPixels() + y * timer->getPitch() + x * 4, 4);
                }
                std::memcpy(out.getPixels() + y * out.getPitch() + x * 4, &p, 4);
            } else if (out.getFormat() == kFormatRgb565) {
                std::uint16_t p = 0;
                std::uint8_t a = 0;
                if (shown) {
                    std::memcpy(&p, timer->getPixels() + y * timer->getPitch() + x * 2, 2);
                    a = timer->getAlpha()[y * timer->getWidth() + x];
                }
                std::memcpy(out.getPixels() + y * out.getPitch() + x * 2, &p, 2);
                out.getAlpha()[y * out.getWidth() + x] = a;
            }
        }
    }
    static_cast<void>(timer->unlock());
    static_cast<void>(threshold->unlock());
    static_cast<void>(out.unlock());
    timerSprite_->setDirty(true);
}

void BonusBar::startClaimAnimation() {
    std::pair<int, int> destination{kSuperHintX, kSuperHintY};
    PlayingScreen* screen = getPlayingScreen();
    if (bonus_ != BonusSuperHint) {
        const Sprite* target = nullptr;
        switch (bonus_) {
        case BonusTime:
            target = findSprite("TIMEBAR_BACKGROUND");
            break;
        case BonusShuffle:
            target = findSprite("BUTTON_SHUFFLE");
            break;
        case BonusHint:
            target = screen != nullptr ? screen->getHintButton() : nullptr;
            break;
        default:
            target = findSprite("SCORE_TICKER");
            if (target == nullptr) {
                if (GameNode* ticker = findNode("SCORE_TICKER"); ticker != nullptr) {
                    destination = {ticker->getAbsoluteX(), ticker->getAbsoluteY()};
                }
            }
            break;
        }
        if (target != nullptr) {
            destination = screenCentre(*target);
        }
        if (bonus_ == BonusTime && screen != nullptr && screen->getTimeBar() != nullptr) {
            destination.second = static_cast<int>(screen->getTimeBar()->fillTopY());
        }
    }

    if (sunshine_ != nullptr) {
        sunshine_->removeAllModifiers();
        sunshine_->addModifier(new ModifierSound("game", "SOUND_BONUS_CLAIMED", true));
        sunshine_->addModifier(new ModifierAlpha(BONUS_ANIM_SHINE_FADE_TIME, sunshine_->getAlpha(),
                                                 BONUS_ANIM_SHINE_ALPHA));
        sunshine_->addModifier(new ModifierFrame(-1, BONUS_ANIM_SHINE_MSPF));
        sunshine_->addModifier(new ModifierDelay(BONUS_ANIM_SHINE_TIME));
        sunshine_->addModifier(
            new ModifierAlpha(BONUS_ANIM_SHINE_FADE_TIME, BONUS_ANIM_SHINE_ALPHA, 0));
    }
    if (box_ != nullptr) {
        box_->removeAllModifiers();
        Modifier* flash =
            box_->addModifier(new ModifierFrame(BONUS_ANIM_FLASH_COUNT, BONUS_ANIM_FLASH_MSPF));
        flash->setFinishFlags(Modifier::FinishHoldBack);
        box_->addModifier(new ModifierFunction(
            [](void* /*bar*/, void* modifier) {
                if (auto* box = kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget())) {
                    box->setCurrentFrame(0);
                }
                return 0;
            },
            this));
    }
    if (bonusIcon_ == nullptr || effectsNode_ == nullptr) {
        return;
    }
    bonusIcon_->removeAllModifiers();
    auto* flying = new Sprite(*bonusIcon_);
    flying->setScale(1.0F);
    flying->setTag(kIconTagBase + bonus_);
    const int startX = bonusIcon_->getAbsoluteX() - effectsNode_->getAbsoluteX();
    const int startY = bonusIcon_->getAbsoluteY() - effectsNode_->getAbsoluteY();
    flying->setPosition(startX, startY);
    bonusIcon_->setScale(0.0F);
    GameTree::appendChild(flying, effectsNode_.get());
    flyingBonus_ = flying;
    // The icon's own point is its anchor; the destination is a centre.
    const int offsetX = static_cast<int>(flying->getAnchorOffsetX()) - flying->getWidth() / 2;
    const int offsetY = static_cast<int>(flying->getAnchorOffsetY()) - flying->getHeight() / 2;
    const int endX = destination.first + offsetX - effectsNode_->getAbsoluteX();
    const int endY = destination.second + offsetY - effectsNode_->getAbsoluteY();

    flying->addModifier(new ModifierDelay(BONUS_ANIM_BONUS_DELAY));
    flying->addModifier(new ModifierFunction(&BonusBar::onFlyStart, this));
    flying->addModifier(new ModifierSound("game", "SOUND_BONUS_DETACHED", true));
    flying->addModifier(new ModifierFractionFunc(BONUS_ANIM_FLY_TIME, &BonusBar::onTrailStar, this,
                                                 std::max(BONUS_ANIM_STAR_INTERVAL, 1)));
    if (bonus_ != BonusSuperHint) {
        flying->addModifier(new ModifierScale(BONUS_ANIM_FLY_TIME, 1.0F, 0.6F));
    }
    auto* line = new ModifierLocationLine(startX, startY, endX, endY, BONUS_ANIM_FLY_TIME, false);
    line->setEasing(&squared);
    line->setFinishFlags(Modifier::FinishHoldBack);
    flying->addModifier(line);
    if (bonus_ == BonusTime) {
        flying->addModifier(new ModifierSound("game", "SOUND_BONUS_TIME_ARRIVES", true));
    } else if (bonus_ >= Bonus2500 && bonus_ <= Bonus10000) {
        flying->addModifier(new ModifierSound("game", "SOUND_BONUS_SCORE_ARRIVES", true));
    } else if (bonus_ == BonusSuperHint) {
        flying->addModifier(new ModifierSound("game", "SOUND_SUPER_HINT_ARRIVES", true));
    }
    flying->addModifier(new ModifierFunction(&BonusBar::onStarBurst, this));
    // The arrival is paid when the icon lands; the icon then fades before it
    // is taken away, so that the fade can be seen.
    flying->addModifier(new ModifierFunction(&BonusBar::onArrive, this));
    if (bonus_ != BonusSuperHint) {
        Modifier* fade = flying->addModifier(new ModifierAlpha(1000, 255, 0));
        fade->setFinishFlags(Modifier::FinishRemoveTarget);
    }

    bonusIcon_->addModifier(new ModifierDelay(BONUS_ANIM_SCALE_DELAY));
    bonusIcon_->addModifier(new ModifierScale(500, bonusIcon_->getScale(), 1.0F));
}

int BonusBar::onFlyStart(void* bar, void* /*modifier*/) {
    static_cast<BonusBar*>(bar)->flyingBonus_ = nullptr;
    return 0;
}

int BonusBar::onTrailStar(void* /*bar*/, void* modifier) {
    auto* icon = kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget());
    if (icon == nullptr || icon->getParent() == nullptr) {
        return 0;
    }
    RefPtr<Image> image = widget::findImage("BONUS_STAR", "default");
    if (image == nullptr) {
        return 0;
    }
    auto* star = new Sprite(0, 0, image.get());
    star->setAnchorPoint(AnchorKind::Center);
    const int dx = Random::nextInt(-20, 20);
    const int dy = Random::nextInt(-20, 20);
    const auto [cx, cy] = screenCentre(*icon);
    star->setPosition(cx - icon->getParentX() + dx, cy - icon->getParentY() + dy);
    GameTree::insertBefore(star, icon);
    star->addModifier(new ModifierFrame(1, 60));
    star->addModifier(new ModifierDelay(180));
    Modifier* fade = star->addModifier(new ModifierAlpha(420, 255, 0));
    fade->setFinishFlags(Modifier::FinishRemoveTarget);
    return 0;
}

int BonusBar::onStarBurst(void* /*bar*/, void* modifier) {
    auto* icon = kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget());
    if (PlayingScreen* screen = getPlayingScreen(); screen != nullptr && icon != nullptr) {
        const auto [x, y] = screenCentre(*icon);
        screen->showStarBurst(x, y);
    }
    return 0;
}

int BonusBar::onArrive(void* bar, void* modifier) {
    if (auto* icon = kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget())) {
        static_cast<BonusBar*>(bar)->applyArrival(*icon);
    }
    return 0;
}

void BonusBar::applyArrival(Sprite& icon) {
    const int kind = icon.getTag() - kIconTagBase;
    if (kind < 0 || kind >= kBonusKinds) {
        return;
    }
    icon.setTag(0);
    PlayingScreen* screen = getPlayingScreen();
    Game* game = Game::getCurrent();
    switch (kind) {
    case BonusTime:
        if (TimeBar* bar = screen != nullptr ? screen->getTimeBar() : nullptr; bar != nullptr) {
            bar->getTime().commit(TIME_BONUS);
        }
        break;
    case BonusShuffle:
        getScreenPlayer().getShuffleTokens().commit(1);
        if (screen != nullptr) {
            screen->refreshCounterLabels();
        }
        break;
    case Bonus2500:
    case Bonus5000:
    case Bonus10000:
        if (game != nullptr) {
            game->commitScore(kind == Bonus2500 ? 2500 : kind == Bonus5000 ? 5000 : 10000);
        }
        break;
    case BonusHint:
        getScreenPlayer().getHintTokens().commit(1);
        if (screen != nullptr) {
            screen->refreshCounterLabels();
        }
        break;
    case BonusSuperHint:
        if (screen != nullptr) {
            screen->startSuperHint(&icon);
        }
        break;
    default:
        break;
    }
}

void BonusBar::finishEffects() {
    flyingBonus_ = nullptr;
    if (effectsNode_ != nullptr) {
        for (GameNode* child = effectsNode_->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            child->removeAllModifiers();
            auto* sprite = kindCast<Sprite>(child);
            if (sprite == nullptr) {
                child->setRemovalMark(true);
                continue;
            }
            Modifier* fade = sprite->addModifier(new ModifierAlpha(400, sprite->getAlpha(), 0));
            fade->setFinishFlags(Modifier::FinishRemoveTarget);
            if (sprite->getTag() >= 10) {
                applyArrival(*sprite);
            }
        }
    }
    if (bonusIcon_ != nullptr) {
        bonusIcon_->removeAllModifiers();
        bonusIcon_->setScale(1.0F);
    }
}

void BonusBar::save(PropertyNode& node) const {
    node.add(new PropertyValue("bonus", bonus_));
    node.add(new PropertyValue("maxPoints", maxPoints_));
    node.add(new PropertyValue("currentPoints", currentPoints_));
    node.add(new PropertyValue("maxCountdown", static_cast<int>(maxCountdown_)));
    node.add(new PropertyValue("currentCountdown", static_cast<int>(currentCountdown_)));
    node.add(new PropertyValue("multiplier", multiplier_));
    node.add(new PropertyValue("internalMultiplier", internalMultiplier_));
    node.add(new PropertyValue("depletionSpeed", depletionSpeed_));
    node.addNamedBool("superHint", superHint_, false);
}

} // namespace orv
