#include "game/scenes/SceneElevator.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/RandomGenerator.h"
#include "engine/graphics/TextLine.h"
#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/Sound.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundNode.h"
#include "engine/resources/SoundStream.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierClipRect.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFractionFunc.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "game/dialogs/DialogSounds.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/scenes/LightSweep.h"
#include "game/scenes/SceneHallway.h"
#include "game/scenes/ScenePlace.h"
#include "game/screen/ProfileHooks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

namespace orv {

constinit const ClassRecord SceneElevator::classRecord{"SceneElevator",
                                                       parentRecords<SceneOrvanta::classRecord>};

namespace {

// Countdowns kept for the whole program (ms): the host talks once per visit
// after talkDelay of time spent in the car, and his eyes blink on the screen.
int talkTimer = 0;
int talkDelay = -1;
int screenEyeTimer = 0;
int nextScreenBlink = 1250;
bool screenEyesVisible = false;

constexpr std::array<std::string_view, 4> kPlaceButtons{"BUTTON_LOBBY", "BUTTON_CASINO",
                                                        "BUTTON_RECROOM", "BUTTON_ROOF"};
// Pixels of each door that stay in view when the doors stand open.
constexpr int kDoorEdge = 20;
constexpr int kBubbleOpenMs = 400;
constexpr int kTypeCharMs = 28;
constexpr int kShineBand = 90;
// The car's shake while it travels: pixels up and down, across, and its pace.
constexpr double kShakeY = 2.0;
constexpr double kShakeX = 1.0;
constexpr double kShakeHz = 11.0;
constexpr double kShakeEaseMs = 150.0;

// The items whose completion opens each place (the usage record notes that
// the player went to look at it).
constexpr std::array<int, 5> kCasinoInterest{0, 1, 4, 7, 10};
constexpr std::array<int, 5> kRecRoomInterest{3, 5, 8, 11, 12};
constexpr std::array<int, 1> kRoofInterest{19};

Modifier* held(Modifier* modifier) {
    modifier->setFinishFlags(Modifier::FinishHoldBack);
    return modifier;
}

template <std::size_t N>
bool contains(const std::array<int, N>& items, int item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

void logInterest(int item) {
    DataGathering* record = DataGathering::get();
    if (record == nullptr) {
        return;
    }
    RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
    event->add(new PropertyValue("playerInterestedinItem", item, false));
    record->addRecord(*event);
}

} // namespace

SceneElevator::SceneElevator(PropertyNode* definition) : SceneOrvanta(definition) {}

SceneElevator::~SceneElevator() = default;

BaseObject* SceneElevator::createFromDefinition(PropertyNode* definition) {
    return new SceneElevator(definition);
}

void SceneElevator::setBackground() {
    Scene::setBackground();
    for (std::size_t k = 0; k < kPlaceButtons.size(); ++k) {
        static_cast<void>(bindComponent(kPlaceButtons.at(k), &SceneElevator::onDestination, this));
        placeButtons_.at(k) = kindCast<Button>(findComponent(kPlaceButtons.at(k)));
        if (placeButtons_.at(k) != nullptr) {
            placeButtons_.at(k)->setTag(elevator::kPlaceStops.at(k));
        }
    }
    for (int floor = 1; floor <= elevator::kFloors; ++floor) {
        const std::string name = "BUTTON_FLOOR_" + std::to_string(floor);
        static_cast<void>(bindComponent(name, &SceneElevator::onDestination, this));
        Button* button = kindCast<Button>(findComponent(name));
        floorButtons_.at(static_cast<std::size_t>(floor - 1)) = button;
        if (button != nullptr) {
            button->setTag(floor);
            button->setHitMaskThreshold(Button::kHitMaskThreshold);
        }
    }
    floorNumbers_ = kindCast<Sprite>(findComponent("FLOOR_NUMBERS_SPRITE"));
    floorDisplay_ = kindCast<Sprite>(findComponent("FLOOR_DISPLAY_SPRITE"));
    if (floorNumbers_ != nullptr && floorDisplay_ != nullptr) {
        floorNumbers_->setClipRect(floorDisplay_->getX(), floorDisplay_->getY(),
                                   floorDisplay_->getWidth(), floorDisplay_->getHeight());
    }
    unlockEffect_ = kindCast<Sprite>(findComponent("FLOOR_UNLOCK_EFFECT"));
    talkBubble_ = kindCast<Sprite>(findComponent("TEXT_STREEP"));
    talkText_ = kindCast<Label>(findComponent("TEXT"));
    snapFingers_ = kindCast<Sprite>(findComponent("SNAPFINGERS_SPRITE"));
    if (snapFingers_ != nullptr) {
        snapFingers_->setCurrentFrame(0);
    }
    screenEyes_ = kindCast<Sprite>(findComponent("SCREEN_EYES_SPRITE"));
    doorLeft_ = kindCast<Sprite>(findComponent("LDOOR_SPRITE"));
    doorRight_ = kindCast<Sprite>(findComponent("RDOOR_SPRITE"));
}

void SceneElevator::open() {
    ResourceManager* resources = ResourceManager::getInstance();
    if (SoundManager* sound = SoundManager::getInstance(); sound != nullptr && resources) {
        auto* music = kindCast<SoundStream>(resources->getLoadedObject("MUSIC_ELEVATOR", "music"));
        if (music != nullptr) {
            sound->playMusic(1000, 1.0F, 100, music, 600, true);
        }
    }
    SceneOrvanta::open();
    if (resources != nullptr) {
        resources->requestSection("hallway");
        auto* moving =
            kindCast<Sound>(resources->getLoadedObject("SOUND_ELEVATOR_MOVING", "elevator"));
        movingSound_ = moving != nullptr ? RefPtr<SoundNode>(new SoundNode(moving)) : nullptr;
    }
    if (OrvantaPlayer* player = currentProfile()) {
        if (player->floorReached == 0) {
            setFloorToUnlock(1);
            player->floorReached = 1;
        }
    }
    placeStrip(currentStop_);
    resetTalk();
    openDoors();
    updateButtons();
    showPendingUnlocks();
}

void SceneElevator::close() {
    SceneOrvanta::close();
    std::array<GameNode*, 7> nodes{getComponentRoot(), talkBubble_, snapFingers_, floorNumbers_,
                                   unlockEffect_,      doorLeft_,   doorRight_};
    for (GameNode* node : nodes) {
        if (node != nullptr) {
            node->removeAllModifiers();
        }
    }
    if (GameNode* root = getComponentRoot()) {
        root->setPosition(0, 0);
    }
    if (snapFingers_ != nullptr) {
        snapFingers_->setCurrentFrame(0);
    }
    if (unlockEffect_ != nullptr) {
        unlockEffect_->setAlpha(0);
    }
    if (movingSound_) {
        static_cast<void>(movingSound_->stop(true));
        movingSound_ = nullptr;
    }
}

void SceneElevator::setFloorToUnlock(int floor) {
    floorsToUnlock_.assign(1, floor);
}

void SceneElevator::setCurrentStop(int stop) {
    if (stop < 0 || stop >= elevator::kStops) {
        logWarning("elevator: no stop " + std::to_string(stop));
        return;
    }
    currentStop_ = stop;
}

bool SceneElevator::placeExists(std::size_t place) const {
    const SceneManager* manager = SceneManager::getInstance();
    return manager != nullptr && manager->getScene(elevator::kPlaceScenes.at(place)) != nullptr;
}

void SceneElevator::updateButtons() {
    const OrvantaPlayer* player = currentProfile();
    const int floorReached = player != nullptr ? player->floorReached : 0;
    const std::array<int, 4> modes =
        player != nullptr ? player->modesUnlocked
                          : std::array<int, 4>{OrvantaPlayer::kOpen, OrvantaPlayer::kLocked,
                                               OrvantaPlayer::kLocked, OrvantaPlayer::kLocked};
    std::array<bool, 4> exists{};
    for (std::size_t k = 0; k < exists.size(); ++k) {
        exists.at(k) = placeExists(k);
    }
    const elevator::ButtonStates states =
        elevator::buttonStates(floorReached, floorsToUnlock_, modes, exists);
    // A locked destination shows its button's disabled frame and says that
    // it is locked instead of offering the ride.
    for (std::size_t i = 0; i < floorButtons_.size(); ++i) {
        if (Button* button = floorButtons_.at(i)) {
            button->setEnabled(states.floors.at(i));
            button->setState(Button::kNormal);
            button->setToolTip(getText(states.floors.at(i) ? "CTOOLTIP_ELEVATOR_FLOOR"
                                                           : "CTOOLTIP_ELEVATOR_FLOOR_LOCKED"));
        }
    }
    static constexpr std::array<std::string_view, 4> kPlaceTips{
        "CTOOLTIP_ELEVATOR_LOBBY", "CTOOLTIP_ELEVATOR_CASINO", "CTOOLTIP_ELEVATOR_RECROOM",
        "CTOOLTIP_ELEVATOR_ROOF"};
    for (std::size_t k = 0; k < placeButtons_.size(); ++k) {
        if (Button* button = placeButtons_.at(k)) {
            button->setEnabled(states.places.at(k));
            button->setState(Button::kNormal);
            button->setToolTip(
                getText(states.places.at(k) ? kPlaceTips.at(k) : "CTOOLTIP_ELEVATOR_PLACE_LOCKED"));
        }
    }
}

void SceneElevator::placeStrip(int stop) {
    if (floorNumbers_ == nullptr || floorDisplay_ == nullptr) {
        return;
    }
    floorNumbers_->setY(elevator::stripY(floorDisplay_->getY(), floorDisplay_->getHeight(),
                                         floorNumbers_->getHeight(), stop));
}

// ---- doors and the unlock show ---------------------------------------------------

void SceneElevator::openDoors() {
    doorsMoving_ = true;
    updateButtons();
    for (Sprite* sprite : {doorLeft_, doorRight_, unlockEffect_}) {
        if (sprite != nullptr) {
            sprite->removeAllModifiers();
        }
    }
    if (unlockEffect_ != nullptr) {
        unlockEffect_->setAlpha(0);
    }
    if (doorLeft_ == nullptr || doorRight_ == nullptr) {
        onDoorsOpened(this, nullptr);
        return;
    }
    const int width = getWidth();
    doorLeft_->setPosition(0, 0);
    doorRight_->setPosition(width - doorRight_->getWidth(), 0);
    doorLeft_->addModifier(new ModifierLocationLine(0, 0, kDoorEdge - doorLeft_->getWidth(), 0,
                                                    DOOR_ANIM_DELAY, true));
    doorRight_->addModifier(held(new ModifierLocationLine(
        width - doorRight_->getWidth(), 0, width - kDoorEdge, 0, DOOR_ANIM_DELAY, true)));
    doorRight_->addModifier(new ModifierFunction(&SceneElevator::onDoorsOpened, this));
    playDialogSound("elevator", "SOUND_ELEVATOR_DOOR_OPEN");
}

int SceneElevator::onDoorsOpened(void* scene, void* /*argument*/) {
    auto* self = static_cast<SceneElevator*>(scene);
    self->doorsMoving_ = false;
    self->updateButtons();
    self->startUnlockShow();
    return 0;
}

void SceneElevator::startUnlockShow() {
    const OrvantaPlayer* player = currentProfile();
    bool pending = !floorsToUnlock_.empty();
    for (std::size_t k = 0; player != nullptr && k < player->modesUnlocked.size(); ++k) {
        pending = pending ||
                  (player->modesUnlocked.at(k) == OrvantaPlayer::kNewlyOpened && placeExists(k));
    }
    if (!pending) {
        return;
    }
    if (snapFingers_ == nullptr) {
        onUnlockNow(this, nullptr);
        return;
    }
    snapFingers_->removeAllModifiers();
    snapFingers_->setCurrentFrame(0);
    snapFingers_->addModifier(held(new ModifierFrame(1, 100)));
    snapFingers_->addModifier(new ModifierDelay(1000));
    snapFingers_->addModifier(new ModifierFunction(&SceneElevator::onUnlockNow, this));
    snapFingers_->addModifier(new ModifierDelay(600));
    snapFingers_->addModifier(new ModifierFunction(&SceneElevator::onSnapDone, this));
}

int SceneElevator::onSnapDone(void* scene, void* /*argument*/) {
    auto* self = static_cast<SceneElevator*>(scene);
    if (self->snapFingers_ != nullptr) {
        self->snapFingers_->setCurrentFrame(0);
    }
    return 0;
}

int SceneElevator::onUnlockNow(void* scene, void* /*argument*/) {
    auto* self = static_cast<SceneElevator*>(scene);
    playDialogSound("elevator", "SOUND_BUTTON_UNLOCKED");
    for (const int floor : self->floorsToUnlock_) {
        if (floor < 1 || floor > elevator::kFloors) {
            continue;
        }
        Button* button = self->floorButtons_.at(static_cast<std::size_t>(floor - 1));
        if (button == nullptr) {
            continue;
        }
        if (Sprite* effect = self->unlockEffect_) {
            effect->setPosition(button->getX() + button->getWidth() / 2,
                                button->getY() + button->getHeight() / 2);
            effect->removeAllModifiers();
            effect->addModifier(new ModifierAlpha(500, effect->getAlpha(), 190));
            effect->addModifier(new ModifierFrame(-1, 100));
        }
        self->shineButton(*button);
    }
    if (OrvantaPlayer* player = currentProfile()) {
        for (std::size_t k = 0; k < player->modesUnlocked.size(); ++k) {
            Button* button = self->placeButtons_.at(k);
            if (player->modesUnlocked.at(k) != OrvantaPlayer::kNewlyOpened ||
                !self->placeExists(k)) {
                continue;
            }
            player->modesUnlocked.at(k) = OrvantaPlayer::kOpen;
            if (button != nullptr) {
                self->shineButton(*button);
            }
        }
    }
    self->floorsToUnlock_.clear();
    self->updateButtons();
    return 0;
}

// Three passes of light over the button, half a second apart; the light
// falls only on the button's face (its mask is named by the button's tag:
// floors and places differ).
void SceneElevator::shineButton(Button& button) {
    button.removeAllModifiers();
    button.addModifier(new ModifierDelay(500));
    for (int pass = 0; pass < 3; ++pass) {
        button.addModifier(new ModifierDelay(500));
        button.addModifier(held(new ModifierFunction(&SceneElevator::onShine, this)));
    }
}

int SceneElevator::onShine(void* /*scene*/, void* argument) {
    auto* modifier = static_cast<Modifier*>(argument);
    auto* button = modifier != nullptr ? kindCast<Button>(modifier->getTarget()) : nullptr;
    ResourceManager* resources = ResourceManager::getInstance();
    GameNode* parent = button != nullptr ? button->getParent() : nullptr;
    if (resources == nullptr || parent == nullptr) {
        return 0;
    }
    const bool floor = button->getTag() >= 1 && button->getTag() <= elevator::kFloors;
    LightSweep sweep;
    sweep.image = kindCast<Image>(resources->getObject("SHINE", "default"));
    sweep.mask = kindCast<Image>(
        resources->getObject(floor ? "SHINE_MASK_FLOOR" : "SHINE_MASK_GAMEMODE", "elevator"));
    if (sweep.image == nullptr) {
        return 0;
    }
    const int height = sweep.image->getHeight();
    sweep.alpha = 220;
    sweep.fromX = button->getX() - kShineBand;
    sweep.toX = button->getX() + button->getWidth() + kShineBand;
    sweep.fromY = button->getY() + button->getHeight() / 2 - height / 2;
    sweep.toY = sweep.fromY;
    sweep.durationMs = 500;
    sweep.clip = Rect{button->getX(), button->getY(), button->getWidth(), button->getHeight()};
    sweep.maskX = button->getX();
    sweep.maskY = button->getY();
    static_cast<void>(startLightSweep(*parent, sweep, button->getNextSibling()));
    return 0;
}

void SceneElevator::showPendingUnlocks() {
    std::vector<Button*> pending;
    for (const int floor : floorsToUnlock_) {
        if (floor >= 1 && floor <= elevator::kFloors) {
            pending.push_back(floorButtons_.at(static_cast<std::size_t>(floor - 1)));
        }
    }
    if (const OrvantaPlayer* player = currentProfile()) {
        for (std::size_t k = 0; k < player->modesUnlocked.size(); ++k) {
            if (player->modesUnlocked.at(k) == OrvantaPlayer::kNewlyOpened && placeExists(k)) {
                pending.push_back(placeButtons_.at(k));
            }
        }
    }
    for (Button* button : pending) {
        if (button == nullptr || button->getImage() == nullptr) {
            continue;
        }
        auto* cover = new Sprite(0, 0, button->getImage());
        cover->setFrameLayout(4, false);
        cover->setCurrentFrame(Button::kDisabledFrame);
        GameTree::appendChild(cover, button);
        cover->addModifier(new ModifierDelay(1000));
        auto* fade = new ModifierAlpha(1000, 255, 0);
        fade->setFinishFlags(Modifier::FinishRemoveTarget);
        cover->addModifier(fade);
    }
}

// ---- the ride ---------------------------------------------------------------------

int SceneElevator::onDestination(void* scene, void* button) {
    auto* self = static_cast<SceneElevator*>(scene);
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->clearRequests();
    }
    const auto* pressed = static_cast<Button*>(button);
    self->getListenerContainer().setInputEnabled(false);
    self->travelTo(pressed != nullptr ? pressed->getTag() : self->currentStop_);
    return 0;
}

void SceneElevator::travelTo(int destination) {
    if (destination < 0 || destination >= elevator::kStops) {
        logWarning("elevator: no stop " + std::to_string(destination));
        getListenerContainer().setInputEnabled(true);
        return;
    }
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        for (const std::string_view section : elevator::sectionsFor(destination)) {
            resources->requestSection(section);
        }
    }
    if (destination == currentStop_ || floorNumbers_ == nullptr) {
        currentStop_ = destination;
        arrive();
        return;
    }
    rideFrom_ = currentStop_;
    travelTime_ = elevator::travelTime(currentStop_, destination);
    currentStop_ = destination;
    Sprite& strip = *floorNumbers_;
    strip.removeAllModifiers();
    if (!doorsMoving_) {
        strip.addModifier(new ModifierDelay(800));
        strip.addModifier(new ModifierFunction(&SceneElevator::onRideStart, this));
        const int x = strip.getX();
        const int height = strip.getHeight();
        const int displayY = floorDisplay_ != nullptr ? floorDisplay_->getY() : 0;
        const int displayHeight = floorDisplay_ != nullptr ? floorDisplay_->getHeight() : 0;
        strip.addModifier(held(new ModifierLocationLine(
            x, elevator::stripY(displayY, displayHeight, height, rideFrom_), x,
            elevator::stripY(displayY, displayHeight, height, destination), travelTime_, true)));
        strip.addModifier(new ModifierFunction(&SceneElevator::onRideEnd, this));
    } else {
        placeStrip(destination);
    }
    strip.addModifier(new ModifierSound("elevator", "SOUND_ELEVATOR_ARRIVED", true));
    if (!doorsMoving_) {
        strip.addModifier(new ModifierDelay(1000));
    }
    strip.addModifier(new ModifierFunction(&SceneElevator::onArrive, this));
}

int SceneElevator::onRideStart(void* scene, void* /*argument*/) {
    auto* self = static_cast<SceneElevator*>(scene);
    if (self->movingSound_) {
        self->movingSound_->play(self->movingSound_->getVolume(), self->movingSound_->getPanning(),
                                 true, true);
    }
    if (AnimTree* tree = self->getAnimTree()) {
        Modifier::attachTo(
            tree, new ModifierFractionFunc(self->travelTime_, &SceneElevator::onShake, self, 0));
    }
    return 0;
}

int SceneElevator::onRideEnd(void* scene, void* /*argument*/) {
    auto* self = static_cast<SceneElevator*>(scene);
    if (self->movingSound_) {
        static_cast<void>(self->movingSound_->stop(false));
    }
    if (GameNode* root = self->getComponentRoot()) {
        root->setPosition(0, 0);
    }
    return 0;
}

// The car trembles while it moves: a small fast wobble that eases in and out.
int SceneElevator::onShake(void* scene, void* argument) {
    auto* self = static_cast<SceneElevator*>(scene);
    auto* shake = static_cast<ModifierFraction*>(static_cast<Modifier*>(argument));
    GameNode* root = self->getComponentRoot();
    if (root == nullptr || shake == nullptr) {
        return 0;
    }
    const double fraction = shake->getFraction();
    const double ms = fraction * self->travelTime_;
    const double ease = std::clamp(std::min(ms, self->travelTime_ - ms) / kShakeEaseMs, 0.0, 1.0);
    const double phase = 2.0 * std::numbers::pi * kShakeHz * ms / 1000.0;
    root->setPosition(static_cast<int>(std::lround(kShakeX * ease * std::sin(phase * 0.5))),
                      static_cast<int>(std::lround(kShakeY * ease * std::sin(phase))));
    return 0;
}

int SceneElevator::onArrive(void* scene, void* /*argument*/) {
    static_cast<SceneElevator*>(scene)->arrive();
    return 0;
}

void SceneElevator::arrive() {
    if (movingSound_) {
        static_cast<void>(movingSound_->stop(false));
    }
    std::string_view next;
    if (currentStop_ >= 1 && currentStop_ <= elevator::kFloors) {
        // The hallway shows the chosen floor; the player's own floor moves
        // only when a floor is completed there.
        const SceneManager* scenes = SceneManager::getInstance();
        if (auto* hallway = scenes != nullptr
                                ? kindCast<SceneHallway>(scenes->getScene("SCENE_HALLWAY"))
                                : nullptr) {
            hallway->setFloor(currentStop_);
        }
        next = "SCENE_HALLWAY";
    } else {
        const auto place = static_cast<std::size_t>(
            std::find(elevator::kPlaceStops.begin(), elevator::kPlaceStops.end(), currentStop_) -
            elevator::kPlaceStops.begin());
        next = elevator::kPlaceScenes.at(place);
        const bool interested =
            (currentStop_ == elevator::kCasino && contains(kCasinoInterest, lastUnlockedItem_)) ||
            (currentStop_ == elevator::kRecRoom && contains(kRecRoomInterest, lastUnlockedItem_)) ||
            (currentStop_ == elevator::kRoof && contains(kRoofInterest, lastUnlockedItem_));
        if (interested) {
            logInterest(lastUnlockedItem_);
        }
    }
    lastUnlockedItem_ = -1;
    SceneManager* manager = SceneManager::getInstance();
    Scene* target = manager != nullptr ? manager->getScene(next) : nullptr;
    if (target == nullptr) {
        // Nowhere to go: the car stays and takes presses again.
        logWarning("elevator: no scene " + std::string(next));
        getListenerContainer().setInputEnabled(true);
        return;
    }
    // A place is entered with nothing chosen yet.
    if (auto* place = kindCast<ScenePlace>(target)) {
        place->setGameType(ScenePlace::kNothingChosen);
    }
    manager->setTransition("TRANSITION_DEFAULT");
    manager->setNextScene(target);
}

// ---- the host ---------------------------------------------------------------------

void SceneElevator::resetTalk() {
    if (talkText_ != nullptr) {
        talkText_->setVisible(false);
    }
    if (talkBubble_ != nullptr) {
        talkBubble_->removeAllModifiers();
        talkBubble_->setVisible(false);
        talkBubble_->setClipRect(talkBubble_->getX(), talkBubble_->getY(), 0, 0);
    }
    talked_ = false;
    talk_.clear();
    typedChars_ = -1;
}

void SceneElevator::updateSelf(int elapsedMs) {
    SceneOrvanta::updateSelf(elapsedMs);
    if (talkDelay < 0) {
        talkDelay = BRASTOW_TIP_FIRST_DELAY;
    }
    talkTimer += elapsedMs;
    if (!doorsMoving_ && talkTimer > talkDelay && !talked_) {
        talk();
        talked_ = true;
        talkTimer = 0;
    }
    typeTalk(elapsedMs);
    updateHostScreen(elapsedMs);
}

void SceneElevator::talk() {
    OrvantaPlayer* player = currentProfile();
    if (player == nullptr) {
        return;
    }
    talk_ = elevator::chooseTalk(*player, floorsToUnlock_, RandomGenerator::getInstance(),
                                 elevator::TalkSettings::fromConstants());
    if (talk_.empty() || talkText_ == nullptr) {
        return;
    }
    // Lay the whole sentence out once and type it with its line breaks, so
    // that a word never jumps to the next line while it is being typed.
    talkText_->setText(talk_);
    talkText_->relayout();
    typedText_.clear();
    for (const TextLine& line : talkText_->getLines()) {
        if (!typedText_.empty()) {
            typedText_ += L'\n';
        }
        typedText_ += line.text;
    }
    talkText_->setText(L"");
    typedChars_ = -1;
    if (talkBubble_ == nullptr) {
        onBubbleOpen(this, nullptr);
        return;
    }
    const int x = talkBubble_->getX();
    const int y = talkBubble_->getY();
    const int w = talkBubble_->getWidth();
    const int h = talkBubble_->getHeight();
    talkBubble_->setVisible(true);
    // The bubble grows from its lower left corner, where its tail points at
    // the host.
    talkBubble_->addModifier(
        held(new ModifierClipRect(kBubbleOpenMs, Rect{x, y + h, 0, 0}, Rect{x, y, w, h})));
    talkBubble_->addModifier(new ModifierFunction(&SceneElevator::onBubbleOpen, this));
}

int SceneElevator::onBubbleOpen(void* scene, void* /*argument*/) {
    auto* self = static_cast<SceneElevator*>(scene);
    if (self->talkText_ != nullptr) {
        self->talkText_->setVisible(true);
    }
    self->typedChars_ = 0;
    self->typeElapsed_ = 0;
    return 0;
}

void SceneElevator::typeTalk(int elapsedMs) {
    if (typedChars_ < 0 || talkText_ == nullptr ||
        typedChars_ >= static_cast<int>(typedText_.size())) {
        return;
    }
    typeElapsed_ += elapsedMs;
    const int chars = std::min(static_cast<int>(typedText_.size()), typeElapsed_ / kTypeCharMs);
    if (chars != typedChars_) {
        typedChars_ = chars;
        talkText_->setText(typedText_.substr(0, static_cast<std::size_t>(chars)));
    }
}

void SceneElevator::updateHostScreen(int elapsedMs) {
    screenEyeTimer += elapsedMs;
    if (screenEyeTimer > nextScreenBlink) {
        if (screenEyes_ != nullptr) {
            screenEyes_->addModifier(new ModifierFrame(1, kHostEyeFrameMs));
        }
        nextScreenBlink = kHostBlinkPauses.at(static_cast<std::size_t>(Random::nextInt(0, 4)));
        screenEyeTimer = 0;
        screenEyesVisible = true;
    } else if (screenEyeTimer > 3 * kHostEyeFrameMs) {
        screenEyesVisible = false;
    }
    if (screenEyes_ != nullptr) {
        screenEyes_->setVisible(screenEyesVisible);
    }
}

} // namespace orv
