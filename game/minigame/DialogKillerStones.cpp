// The falling-tiles game's dialog: building it (the wait for its pictures,
// the playfield, the gun and the counters), opening it, its texts and
// sounds, and the player's input. The frame and the rules' effects are in
// DialogKillerStones_play.cpp.

#include "game/minigame/DialogKillerStones.h"

#include "engine/core/GameTree.h"
#include "engine/core/RandomGenerator.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/resources/Sound.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierStretch.h"
#include "engine/scene/ModifierVisible.h"
#include "engine/system/Platform.h"
#include "game/minigame/KillerStonesRules.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numbers>

namespace orv {

constinit const ClassRecord DialogKillerStones::classRecord{
    "DialogKillerStones", parentRecords<DialogOrvanta::classRecord>};

namespace {

using Rules = KillerStonesRules;

constexpr int kEscapeKey = 27;
constexpr int kPollMs = 20;
// The sections the game draws from; "minigame" holds its own pictures.
constexpr std::array<std::string_view, 6> kStoneSections{"default", "trophy", "elevator",
                                                         "hallway", "game",   "minigame"};
// What the screen is cleared to under the playfield picture: night blue.
constexpr std::uint32_t kStoneClearColour = 0xFF0B1020U;
// The counters' alpha while no special weapon is armed.
constexpr int kIdleCounterAlpha = 100;

DialogKillerStones::SoundObserver stoneSoundObserver = nullptr;

template <class T>
RefPtr<T> findStoneObject(std::string_view name, std::string_view section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    // Held while the reference is taken: the loader thread changes the maps.
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<T>(kindCast<T>(resources->getObject(name, section)));
}

// The image `name` of `section`, or the game's own `fallback` of section
// "minigame" when the section has none.
RefPtr<Image> findStoneImage(std::string_view name, std::string_view section,
                             std::string_view fallback) {
    RefPtr<Image> image = findStoneObject<Image>(name, section);
    return image != nullptr ? image : findStoneObject<Image>(fallback, "minigame");
}

// True while one of the game's sections still has an object to load.
bool hasPendingStoneSection(ResourceManager& resources) {
    const platform::NamedMutexGuard guard(resources.getDataLock());
    return std::any_of(kStoneSections.begin(), kStoneSections.end(), [&](std::string_view name) {
        const ResourceSection* section = resources.findSection(name);
        return section != nullptr && section->hasUnloadedObject();
    });
}

// Pops `label` in after `delayMs`: hidden until then, then three quick
// stretches from nothing to a little wider, a little taller and its size.
void popStoneText(Label& label, int delayMs) {
    const int w = label.getWidth();
    const int h = label.getHeight();
    label.setVisible(false);
    label.addModifier(new ModifierDelay(delayMs));
    label.addModifier(new ModifierVisible(ModifierVisible::Show));
    label.addModifier(new ModifierStretch(150, 0, 0, w + 25, h - 10))
        ->setFinishFlags(Modifier::FinishHoldBack);
    label.addModifier(new ModifierStretch(100, w + 25, h - 10, w - 15, h + 10))
        ->setFinishFlags(Modifier::FinishHoldBack);
    label.addModifier(new ModifierStretch(100, w - 15, h + 10, w, h))
        ->setFinishFlags(Modifier::FinishHoldBack);
}

// A sprite drawn additively (sparks, flashes) showing `image` at (x, y).
Sprite* makeGlowSprite(int x, int y, Image* image) {
    auto* glow = new AdditiveSprite(nullptr);
    glow->setImage(image);
    glow->setPosition(x, y);
    return glow;
}

} // namespace

DialogKillerStones::DialogKillerStones(PropertyNode* definition)
    : DialogOrvanta(definition), floats_(static_cast<std::uint64_t>(Random::nextInt(0, INT_MAX))) {
    setDarkenBackground(false);
    setMovable(false);
    setPosition(0, 0);
    setSize(Rules::kScreenWidth, Rules::kScreenHeight);
    loaded_ = waitForSections();
    buildPlayfield();
    if (loaded_) {
        takeResources();
        buildHud();
    }
}

DialogKillerStones::~DialogKillerStones() = default;

BaseObject* DialogKillerStones::createFromDefinition(PropertyNode* definition) {
    return new DialogKillerStones(definition);
}

void DialogKillerStones::setSoundObserver(SoundObserver observer) {
    stoneSoundObserver = observer;
}

// ---- construction ----------------------------------------------------------------------------

bool DialogKillerStones::waitForSections() {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return false;
    }
    for (const std::string_view section : kStoneSections) {
        if (const platform::NamedMutexGuard guard(resources->getDataLock());
            resources->findSection(section) == nullptr) {
            continue;
        }
        resources->requestSection(section);
    }
    // A bounded wait: a section that never finishes loading (a broken
    // archive, a stopped loader) must not hang the game.
    const std::uint32_t start = platform::getMilliseconds();
    while (hasPendingStoneSection(*resources)) {
        if (platform::getMilliseconds() - start >= static_cast<std::uint32_t>(kLoadLimitMs)) {
            return false;
        }
        resources->resumeLoader();
        platform::sleepMilliseconds(kPollMs);
    }
    return true;
}

void DialogKillerStones::takeResources() {
    shotImage_ = findStoneImage("HIGHSCORE_ANIM_LIGHT", "default", "MINIGAME_SHOT");
    tileImage_ = findStoneObject<Image>("TILE", "default");
    bombImage_ = findStoneImage("TROPHY_STAR", "default", "MINIGAME_BOMB_STAR");
    barImage_ = findStoneImage("HIGHSCORE_ANIM_BAR", "default", "MINIGAME_SHIELD_BAR");
    starImage_ = findStoneObject<Image>("BONUS_STAR", "default");
    flashImage_ = findStoneObject<Image>("STAR_FLASH", "hallway");
    sparkImage_ = findStoneObject<Image>("MINIGAME_SPARK", "minigame");
    // The face sheet lives in a section the game lets go of below: it is
    // loaded here if needed and held, so that every tile drawn later still
    // has its faces.
    if (ResourceManager* resources = ResourceManager::getInstance(); resources != nullptr) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        symbols_ = kindCast<Image>(resources->getLoadedObject("SYMBOLS1", "manual"));
    }
    if (ResourceManager* resources = ResourceManager::getInstance(); resources != nullptr) {
        resources->unloadSection("manual");
    }
    shotSound_ = findStoneObject<Sound>("SOUND_BUTTON", "default");
    hitSound_ = findStoneObject<Sound>("SOUND_DIALOG_SHOW", "default");
    fragSound_ = findStoneObject<Sound>("SOUND_TROPHY_ARRIVES", "trophy");
    laserSound_ = findStoneObject<Sound>("SOUND_TILE_HOVER", "game");
    pickupSound_ = findStoneObject<Sound>("SOUND_STUCK", "game");
    shieldSound_ = findStoneObject<Sound>("SOUND_USE_SHUFFLE", "game");
    bombSound_ = findStoneObject<Sound>("SOUND_ELEVATOR_DOOR_OPEN", "elevator");
}

void DialogKillerStones::buildPlayfield() {
    // In the display's format: a picture of the other depth draws nothing
    // on the window's back buffer (a 16-bit display would show the game on
    // black).
    screen_ = createDisplayImage(Rules::kScreenWidth, Rules::kScreenHeight);
    if (screen_ != nullptr) {
        // Opaque: the fills below leave the alpha channel as it is.
        screen_->setUseAlphaChannel(false);
        if (const RefPtr<Graphics> canvas = createGraphics(*screen_)) {
            canvas->setColor(kStoneClearColour);
            canvas->clear();
            if (const RefPtr<Image> field =
                    loaded_ ? findStoneObject<Image>("MINIGAME_BACKGROUND", "minigame") : nullptr) {
                canvas->drawImage(*field, 0, 0);
            }
        }
        setBackground(screen_.get());
    }
    auto* field = new GameNode("FIELD");
    auto* effects = new GameNode("EFFECTS");
    auto* texts = new GameNode("TEXTS");
    addComponent(field);
    addComponent(effects);
    addComponent(texts);
    field_ = field;
    effects_ = effects;
    texts_ = texts;
}

void DialogKillerStones::buildHud() {
    if (const RefPtr<Image> gunImage = findStoneObject<Image>("TROPHY_GOLD", "trophy")) {
        gunY_ = Rules::kScreenHeight + 25 - gunImage->getHeight() / 2;
        gun_ = new Sprite(static_cast<int>(gunX_), gunY_, gunImage.get());
    } else {
        gun_ = new Sprite(static_cast<int>(gunX_), gunY_, 0, 0);
    }
    gun_->setName("GUN");
    gun_->setAnchorPoint(AnchorKind::Center);
    GameTree::appendChild(gun_.get(), field_);
    scoreLabel_ =
        makeLabel("FONT_GAMESCENE_BIG", L"", 10, 10, static_cast<int>(AnchorKind::TopLeft));
    specialLabel_ =
        makeLabel("FONT_GAMESCENE_BIG", L"", 10, 590, static_cast<int>(AnchorKind::BottomLeft));
    specialLabel_->setAlpha(kIdleCounterAlpha);
    bombLabel_ =
        makeLabel("FONT_GAMESCENE_BIG", L"", 790, 590, static_cast<int>(AnchorKind::BottomRight));
    updateScoreLabel();
    updateSpecialLabel();
    updateBombLabel();
}

void DialogKillerStones::showLoadFailure() {
    Label* message = makeLabel("FONT_HEADER", getText("CTEXT_MINIGAME_UNAVAILABLE"), 400, 280,
                               static_cast<int>(AnchorKind::Center));
    message->setName("LOAD_FAILURE");
    continueLabel_ = makeLabel("FONT_GAMESCENE_BIG", getText("CTEXT_CLICK_TO_CONTINUE"), 400, 340,
                               static_cast<int>(AnchorKind::Center));
}

// ---- opening ---------------------------------------------------------------------------------

void DialogKillerStones::open() {
    DialogOrvanta::open();
    if (!loaded_) {
        showLoadFailure();
        return;
    }
    playNamed("game", "SOUND_LEVEL_START", 128);
    floatingText(L"Welcome to", -88, 500, 3000);
    floatingText(L"the invasion of", -64, 1000, 3000);
    floatingText(L"THE MAHJONG TILES", -40, 1500, 3000);
    showLevelBanner(3500);
    spawnTimer_ = 4500;
    if (const GameWindow* window = GameWindow::getInstance(); window != nullptr) {
        gunX_ = static_cast<float>(window->getCursorPosition().x);
    }
    gunTargetX_ = gunX_;
    if (gun_ != nullptr) {
        gun_->setX(static_cast<int>(gunX_));
    }
}

// ---- input -----------------------------------------------------------------------------------

bool DialogKillerStones::onKeyDown(int key) {
    if (key != kEscapeKey) {
        return false;
    }
    DialogOrvanta::closeAtOnce(this);
    return true;
}

bool DialogKillerStones::onMouseMove(int x, int /*y*/, int /*flags*/) {
    if (!gameOver_ && !levelCleared_) {
        gunTargetX_ = static_cast<float>(x);
    }
    return false;
}

bool DialogKillerStones::onLeftButtonDown(int /*x*/, int /*y*/, int /*flags*/,
                                          bool /*doubleClick*/) {
    if (!loaded_) {
        DialogOrvanta::close(this);
        return true;
    }
    if (gameOver_ || levelCleared_) {
        if (endTimer_ > 0) {
            return true;
        }
        if (gameOver_) {
            DialogOrvanta::close(this);
        } else {
            startNextLevel();
        }
        return true;
    }
    fire();
    return true;
}

bool DialogKillerStones::onRightButtonDown(int /*x*/, int /*y*/, int /*flags*/,
                                           bool /*doubleClick*/) {
    if (!loaded_) {
        DialogOrvanta::close(this);
        return true;
    }
    if (!gameOver_ && !levelCleared_) {
        fireBomb();
    }
    return true;
}

void DialogKillerStones::fire() {
    const bool rapid = currentPickup_ == Rules::kRapidFire;
    if (fireCooldown_ > 0) {
        if (weapon_ != kNormal) {
            return;
        }
        if (!rapid) {
            triggerHeld_ = true;
            return;
        }
    }
    // The weapon of this shot: the last special shot still fires as one.
    const int weapon = weapon_;
    if (weapon_ != kNormal && !rapid) {
        --specialShots_;
        updateSpecialLabel();
        if (specialShots_ <= 0) {
            specialShots_ = 0;
            weapon_ = kNormal;
            specialLabel_->removeAllModifiers();
            specialLabel_->addModifier(
                new ModifierAlpha(300, specialLabel_->getAlpha(), kIdleCounterAlpha));
            jolt(*specialLabel_);
        }
    }
    fireCooldown_ = pace_.getFireInterval();
    if (gun_ != nullptr) {
        gun_->removeAllModifiers();
        gun_->setScale(1.0F);
        gun_->addModifier(new ModifierScale(60, 1.0F, 1.1F))
            ->setFinishFlags(Modifier::FinishHoldBack);
        gun_->addModifier(new ModifierScale(90, 1.1F, 1.0F));
    }
    flashGun();
    if (weapon == kLaser) {
        fireLaser();
    } else {
        fireShot(weapon);
    }
}

void DialogKillerStones::fireShot(int weapon) {
    const int x = static_cast<int>(gunX_);
    const int y = gunY_ + 10;
    const bool frag = weapon == kFrag;
    Sprite* shot = addShot(shotImage_.get(), x, y, frag ? Rules::kFragShot : Rules::kShot, false);
    shots_.emplace_back(shot);
    const int drift = Random::nextInt(-40, 40);
    const int height = shot->getHeight();
    shot->addModifier(new ModifierBlink(255, 150, 40, 40, 20, 20, 0));
    shot->addModifier(new ModifierLocationLine(x, y, x + drift, -height, frag ? 1200 : 800, false))
        ->setFinishFlags(Modifier::FinishHoldBack);
    shot->addModifier(new ModifierFunction(&DialogKillerStones::onShotDone, this));
    if (frag) {
        for (const int side : {-10, 10}) {
            auto* spark = new Sprite(side, 15, sparkImage_.get());
            spark->setAnchorPoint(AnchorKind::Center);
            GameTree::appendChild(spark, shot);
        }
        play(fragSound_.get(), "SOUND_TROPHY_ARRIVES", Rules::panFor(x));
    } else {
        play(shotSound_.get(), "SOUND_BUTTON", Rules::panFor(x));
    }
}

void DialogKillerStones::fireLaser() {
    const int x = static_cast<int>(gunX_);
    for (int y = 10; y < 538; y += 22) {
        Sprite* shot = addShot(shotImage_.get(), x, y, Rules::kShot, false);
        shots_.emplace_back(shot);
        shot->addModifier(new ModifierDelay(300));
        shot->addModifier(new ModifierFunction(&DialogKillerStones::onShotDone, this));
    }
    play(laserSound_.get(), "SOUND_TILE_HOVER", Rules::panFor(x));
}

void DialogKillerStones::fireBomb() {
    if (bombs_ <= 0) {
        bombLabel_->addModifier(new ModifierBlink(255, 40, 0, 0, 100, 100, 3));
        playNamed("game", "SOUND_TILE_BLOCKED", 128);
        return;
    }
    --bombs_;
    updateBombLabel();
    jolt(*bombLabel_);
    const int x = static_cast<int>(gunX_);
    play(bombSound_.get(), "SOUND_ELEVATOR_DOOR_OPEN", Rules::panFor(x));
    for (int i = 0; i < 25; ++i) {
        Sprite* piece = addShot(bombImage_.get(), x, gunY_, Rules::kBombPiece, true);
        shots_.emplace_back(piece);
        const double angle = std::numbers::pi / 2.0 + i * 0.04 * std::numbers::pi;
        auto* move =
            new ModifierLocationLine(x, gunY_, x + static_cast<int>(360.0 * std::sin(angle)),
                                     gunY_ + static_cast<int>(360.0 * std::cos(angle)), 800, false);
        move->setEasing(&KillerStonesRules::easeOut);
        piece->addModifier(move)->setFinishFlags(Modifier::FinishHoldBack);
        piece->addModifier(new ModifierDelay(400));
        piece->addModifier(new ModifierAlpha(400, 255, 0))
            ->setFinishFlags(Modifier::FinishHoldBack);
        piece->addModifier(new ModifierFunction(&DialogKillerStones::onShotDone, this));
    }
}

// ---- pictures and texts ----------------------------------------------------------------------

Sprite* DialogKillerStones::addShot(Image* image, int x, int y, int tag, bool additive) {
    Sprite* shot = additive ? makeGlowSprite(x, y, image) : new Sprite(x, y, image);
    if (image == nullptr) {
        shot->setSize(0, 0);
    }
    shot->setName("SHOT");
    shot->setTag(tag);
    shot->setAnchorPoint(AnchorKind::Center);
    if (gun_ != nullptr && gun_->getParent() == field_) {
        GameTree::insertBefore(shot, gun_.get());
    } else {
        GameTree::appendChild(shot, field_);
    }
    return shot;
}

Label* DialogKillerStones::makeLabel(const std::string& fontName, const std::wstring& text, int x,
                                     int y, int anchor) {
    const std::string section = fontName == "FONT_HEADER" ? "common" : "default";
    const RefPtr<Font> font = findStoneObject<Font>(fontName, section);
    auto* label = new Label(font.get(), x, y, 0, 0, Label::kAutoWidth);
    label->setText(text);
    label->setAnchorPoint(static_cast<AnchorKind>(anchor));
    label->relayout();
    GameTree::appendChild(label, texts_);
    return label;
}

Label* DialogKillerStones::floatingText(const std::wstring& text, int offset, int delayMs,
                                        int durationMs) {
    Label* label = popText(text, offset, delayMs);
    const int y = 300 + offset;
    label->addModifier(new ModifierLocationLine(400, y, 400, y - 24, durationMs, false));
    label->addModifier(new ModifierDelay(durationMs));
    label->addModifier(new ModifierAlpha(400, 255, 0))
        ->setFinishFlags(Modifier::FinishRemoveTarget | Modifier::FinishHoldBack);
    return label;
}

Label* DialogKillerStones::popText(const std::wstring& text, int offset, int delayMs) {
    Label* label =
        makeLabel("FONT_HEADER", text, 400, 300 + offset, static_cast<int>(AnchorKind::Center));
    label->setName("FLOATING_TEXT");
    popStoneText(*label, delayMs);
    return label;
}

void DialogKillerStones::showLevelBanner(int delayMs) {
    floatingText(getText("TEXT_LEVEL") + L" " + std::to_wstring(level_ + 1), 24, delayMs, 1000);
}

void DialogKillerStones::showPoints(int x, int y, int points, int multiplier) {
    Label* floater = makeLabel("FONT_SCORE_FLOATER1", std::to_wstring(points), x, y - 30,
                               static_cast<int>(AnchorKind::Center));
    floater->setName("POINTS");
    floater->addModifier(new ModifierLocationLine(x, y - 30, x, y - 90, 750, false))
        ->setFinishFlags(Modifier::FinishHoldBack);
    floater->addModifier(new ModifierAlpha(250, 255, 0))
        ->setFinishFlags(Modifier::FinishRemoveTarget | Modifier::FinishHoldBack);
    if (multiplier > 1) {
        floatingText(L"x" + std::to_wstring(multiplier), -140, 0, 750);
    }
}

void DialogKillerStones::starBurst(int x, int y) {
    if (starImage_ == nullptr) {
        return;
    }
    constexpr int kStars = 10;
    for (int i = 0; i < kStars; ++i) {
        Sprite* star = makeGlowSprite(x, y, starImage_.get());
        // The star's picture is a column of square frames: it twinkles.
        if (const int frames = starImage_->getHeight() / std::max(1, starImage_->getWidth());
            frames > 1) {
            star->setFrameLayout(frames, false);
            star->addModifier(new ModifierFrame(-1, 60));
        }
        star->setAnchorPoint(AnchorKind::Center);
        GameTree::appendChild(star, effects_);
        const double angle = 2.0 * std::numbers::pi * i / kStars;
        const int distance = 40 + (i % 2) * 25;
        auto* move =
            new ModifierLocationLine(x, y, x + static_cast<int>(distance * std::cos(angle)),
                                     y + static_cast<int>(distance * std::sin(angle)), 400, false);
        move->setEasing(&KillerStonesRules::easeOut);
        star->addModifier(move);
        star->addModifier(new ModifierAlpha(400, 255, 0))
            ->setFinishFlags(Modifier::FinishRemoveTarget);
    }
}

void DialogKillerStones::flashGun() {
    if (flashImage_ == nullptr || gun_ == nullptr) {
        return;
    }
    const int x = static_cast<int>(gunX_);
    const int y = gun_->getTop() + 6;
    for (int k = 0; k < 3; ++k) {
        Sprite* flash = makeGlowSprite(x, y, flashImage_.get());
        flash->setAnchorPoint(AnchorKind::Center);
        flash->setAlpha(220);
        flash->setRotation(static_cast<float>(k) * std::numbers::pi_v<float> / 3.0F);
        flash->setScale(0.5F);
        GameTree::appendChild(flash, effects_);
        flash->addModifier(new ModifierScale(150, 0.5F, 0.9F));
        flash->addModifier(new ModifierAlpha(150, 220, 0))
            ->setFinishFlags(Modifier::FinishRemoveTarget);
    }
}

void DialogKillerStones::jolt(Label& label) {
    const int homeX = label.getX();
    const int homeY = label.getY();
    int x = homeX;
    int y = homeY;
    for (int round = 0; round < 3; ++round) {
        for (int step = 0; step < 4; ++step) {
            const bool last = step == 3;
            const int toX = last ? homeX : homeX + Random::nextInt(-9, 10);
            const int toY = last ? homeY : homeY + Random::nextInt(-9, 10);
            label.addModifier(new ModifierLocationLine(x, y, toX, toY, 30, false))
                ->setFinishFlags(Modifier::FinishHoldBack);
            x = toX;
            y = toY;
        }
    }
}

void DialogKillerStones::updateScoreLabel() {
    if (scoreLabel_ != nullptr) {
        scoreLabel_->setText(L"Score: " + std::to_wstring(score_));
    }
}

void DialogKillerStones::updateSpecialLabel() {
    if (specialLabel_ != nullptr) {
        specialLabel_->setText(L"Bullets: " + std::to_wstring(specialShots_));
    }
}

void DialogKillerStones::updateBombLabel() {
    if (bombLabel_ != nullptr) {
        bombLabel_->setText(L"Bombs: " + std::to_wstring(bombs_));
    }
}

// ---- sounds ----------------------------------------------------------------------------------

void DialogKillerStones::play(Sound* sound, std::string_view name, int pan) {
    if (stoneSoundObserver != nullptr) {
        stoneSoundObserver(name, pan);
    }
    if (sound != nullptr) {
        static_cast<void>(sound->play(255, pan, false));
    }
}

bool DialogKillerStones::playNamed(std::string_view section, std::string_view name, int pan) {
    const RefPtr<Sound> sound = findStoneObject<Sound>(name, section);
    play(sound.get(), name, pan);
    return sound != nullptr;
}

// ---- callbacks -------------------------------------------------------------------------------

int DialogKillerStones::onShotDone(void* dialog, void* modifier) {
    auto* self = static_cast<DialogKillerStones*>(dialog);
    GameNode* node = static_cast<Modifier*>(modifier)->getTarget();
    if (node == nullptr) {
        return 0;
    }
    node->setRemovalMark(true);
    auto& shots = self->shots_;
    const auto it = std::find_if(shots.begin(), shots.end(),
                                 [node](const RefPtr<Sprite>& shot) { return shot.get() == node; });
    if (it != shots.end()) {
        shots.erase(it);
    }
    return 0;
}

} // namespace orv
