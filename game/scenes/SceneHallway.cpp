#include "game/scenes/SceneHallway.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ModifierContainer.h"
#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundStream.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierRotation.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierVisible.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Messages.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogOrvanta.h"
#include "game/dialogs/DialogRoomPreview.h"
#include "game/dialogs/DialogTrophy.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"
#include "game/players/TrophyList.h"
#include "game/scenes/BuildingServices.h"
#include "game/scenes/SceneElevator.h"
#include "game/screen/ColourOps.h"
#include "game/screen/ProfileHooks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>

namespace orv {

constinit const ClassRecord SceneHallway::classRecord{"SceneHallway",
                                                      parentRecords<SceneOrvanta::classRecord>};

namespace {

constexpr std::string_view kHallwaySection = "hallway";
// The level file the rooms are read from, named when a room has none.
constexpr std::string_view kHallwayLevelsFile = LevelSets::kFiles[2];
// The look definition's elements: the background, then five entries per
// door (its box, preview point, medal point, number plate, knob) and the
// plant.
constexpr std::ptrdiff_t kDoorElements = 1;
constexpr std::ptrdiff_t kPreviewElements = 6;
constexpr std::ptrdiff_t kMedalElements = 11;
constexpr std::ptrdiff_t kNumberElements = 16;
constexpr std::ptrdiff_t kKnobElements = 21;
constexpr std::ptrdiff_t kPlantElement = 26;
// The host's tips after a visit: 1 the return, 2-4 chosen by a won level.
constexpr int kReturnTip = 1;
constexpr int kLandingMs = 500;
constexpr int kStarStepMs = 200;
constexpr int kStarFlashMs = 80;
constexpr int kStarFadeMs = 100;
constexpr int kStarAlpha = 160;
constexpr float kLandingScale = 10.0F;

constexpr std::array<std::string_view, 3> kMedalNames{"MEDAL_BRONZE", "MEDAL_SILVER", "MEDAL_GOLD"};

constexpr int kMusicFadeMs = 600;
constexpr int kSummaryStarGapMs = 40;
constexpr int kBurstMs = 350;
constexpr int kBurstRadius = 26;
constexpr int kBurstRadiusStep = 10;
constexpr int kWiggleSteps = 5;
// Where the floor-completed dialog's star layer sits in it: screen (0, 0)
// under a dialog centred on the screen.
constexpr int kStarLayerX = -400;
constexpr int kStarLayerY = -300;
constexpr std::array<std::size_t, 3> kFloorTrophies{5, 6, 7};
constexpr std::array<std::size_t, 2> kStarTrophies{14, 15};

// `modifier` aimed at `target` and made the last child of `parent`.
Modifier* under(Modifier* parent, Modifier* modifier, GameNode* target) {
    modifier->setTarget(target);
    return Modifier::attachTo(parent, modifier);
}

// Pops `node` in under `parent` (shown, scaled from 0 to 1 over
// `appearMs`), then rocks it by `angle` radians to either side and back,
// each swing over `wiggleMs`.
void addWiggleAnimation(Sprite* node, int appearMs, int wiggleMs, float angle, Modifier* parent) {
    node->setScale(0.0F);
    static_cast<void>(under(parent, new ModifierVisible(ModifierVisible::Show), node));
    Modifier* step = under(parent, new ModifierScale(appearMs, 0.0F, 1.0F), node);
    const std::array<float, kWiggleSteps + 1> angles{0.0F, angle, -angle, angle, -angle, 0.0F};
    for (std::size_t i = 0; i < kWiggleSteps; ++i) {
        step = under(step, new ModifierRotation(angles.at(i), angles.at(i + 1), wiggleMs), node);
    }
}

void releaseHeldBackTrophies(std::span<const std::size_t> indexes) {
    OrvantaPlayer* profile = currentProfile();
    if (profile == nullptr || !profile->trophies) {
        return;
    }
    for (const std::size_t index : indexes) {
        profile->trophies->releaseHeldBack(index);
    }
}

bool isRoom(int floor, int door) {
    return floor >= 1 && floor <= PlayerStats::kFloors && door >= 1 &&
           door <= PlayerStats::kRoomsPerFloor;
}

// The current player's record of (floor, door); an empty record without a
// player or outside the building.
RoomRecord roomRecord(int floor, int door) {
    const OrvantaPlayer* profile = currentProfile();
    if (profile == nullptr || !isRoom(floor, door)) {
        return {};
    }
    return profile->stats.getRoom(floor, door);
}

// The grade of a room's record: -1 when never won.
int recordGrade(const RoomRecord& record, const Level& level) {
    if (record.levelWinCount <= 0) {
        return -1;
    }
    return medalGrade(record.bestScore, level.getSilver(), level.getGold());
}

HallwayPoint readPoint(PropertyVector& definition, std::ptrdiff_t element) {
    PropertyNode* node = asNode(definition.at(element));
    return {node->getValue("x")->getInt(), node->getValue("y")->getInt()};
}

RefPtr<Image> hallwayImage(const std::string& name) {
    RefPtr<Image> image = widget::findImage(name, std::string(kHallwaySection));
    if (!image && !name.empty()) {
        logWarning("hallway: the image " + name + " is missing from the section \"hallway\"");
    }
    return image;
}

} // namespace

std::optional<float> doorHue(const std::array<float, SceneHallway::kHues>& hues, int gameType) {
    if (gameType < 0 || gameType >= SceneHallway::kHues) {
        return std::nullopt;
    }
    return hues.at(static_cast<std::size_t>(gameType));
}

std::string medalImage(int grade, int definition, int door) {
    return std::string(kMedalNames.at(static_cast<std::size_t>(std::clamp(grade, 0, 2)))) +
           std::to_string(definition) + std::to_string(door);
}

std::wstring floorSignText(int floor) {
    std::wstring text = getText("TEXT_HALLWAY_FLOOR");
    static_cast<void>(replaceAll(text, L"%n", intToWideString(floor), true));
    return text;
}

std::string roomNumberImage(int floor, int door) {
    return "ROOM_NUMBER" + std::to_string(floor) + std::to_string(door);
}

void releaseFloorTrophies() {
    releaseHeldBackTrophies(kFloorTrophies);
}

void releaseHallwayTrophies() {
    releaseHeldBackTrophies(kStarTrophies);
}

SceneHallway::SceneHallway(PropertyNode* definition) : SceneOrvanta(definition) {}

SceneHallway::~SceneHallway() {
    if (floorSequence_) {
        floorSequence_->setKilled(true);
    }
}

BaseObject* SceneHallway::createFromDefinition(PropertyNode* definition) {
    return new SceneHallway(definition);
}

void SceneHallway::setBackground() {
    Scene::setBackground();
    roomPreview_ = kindCast<DialogRoomPreview>(getDialog("DIALOG_ROOM_PREVIEW"));
    menuButton_ = kindCast<Button>(findComponent("BUTTON_MENU"));
    elevatorButton_ = kindCast<Button>(findComponent("BUTTON_ELEVATOR"));
    trophiesButton_ = kindCast<Button>(findComponent("BUTTON_TROPHIES"));
    customizeButton_ = kindCast<Button>(findComponent("BUTTON_CUSTOMIZE"));
    static_cast<void>(bindComponent("BUTTON_MENU", &SceneHallway::showRoomMenu, this));
    static_cast<void>(bindComponent("BUTTON_ELEVATOR", &SceneHallway::goToElevator, this));
    static_cast<void>(bindComponent("BUTTON_CUSTOMIZE", &SceneHallway::showCustomizeDialog, this));
    static_cast<void>(bindComponent("BUTTON_TROPHIES", &SceneHallway::showTrophyRoom, this));
    medals_ = findComponent("MEDALS");
    plant_ = kindCast<Sprite>(findComponent("PLANT"));
    floorSign_ = kindCast<Label>(findComponent("LABEL_FLOOR"));
    floorEndDialog_ = kindCast<Sprite>(findComponent("FLOORENDDIALOG"));
    okButton_ = kindCast<Button>(findComponent("BUTTON_OK"));
    static_cast<void>(bindComponent("BUTTON_OK", &SceneHallway::onFloorEndOk, this));
    floorCompletedLabel_ = kindCast<Sprite>(findComponent("FLOOR_COMPLETED"));
    unlockedLabel_ = kindCast<Sprite>(findComponent("UNLOCKED"));
    goodieLabel_ = kindCast<Label>(findComponent("GOODIE"));
    wellDoneLabel_ = kindCast<Sprite>(findComponent("WELL_DONE"));
    for (std::size_t i = 0; i < captionHomes_.size(); ++i) {
        const std::array<const Sprite*, 3> captions{floorCompletedLabel_, unlockedLabel_,
                                                    wellDoneLabel_};
        if (const Sprite* caption = captions.at(i)) {
            captionHomes_.at(i) = {caption->getX(), caption->getY()};
        }
    }
    if (floorEndDialog_ != nullptr && !starLayer_) {
        starLayer_ = new GameNode();
        starLayer_->setPosition(kStarLayerX, kStarLayerY);
        GameTree::appendChild(starLayer_.get(), floorEndDialog_);
    }
    for (int door = 1; door <= kDoors; ++door) {
        const auto index = static_cast<std::size_t>(door - 1);
        const std::string number = std::to_string(door);
        Button* button = kindCast<Button>(findComponent("BUTTON_DOOR" + number));
        Button* knob = kindCast<Button>(findComponent("DOORKNOB" + number));
        doorButtons_.at(index) = button;
        doorKnobs_.at(index) = knob;
        roomNumbers_.at(index) = kindCast<Sprite>(findComponent("ROOM_NUMBER" + number));
        if (button != nullptr) {
            button->setTag(door);
            static_cast<void>(bindComponent("BUTTON_DOOR" + number, &SceneHallway::onDoor, this));
        }
        if (knob != nullptr) {
            knob->setTag(door);
            static_cast<void>(bindComponent("DOORKNOB" + number, &SceneHallway::onDoor, this));
        }
    }
}

void SceneHallway::chooseFloor() {
    // The elevator has set the floor. A ride forgets a level started here
    // (the player left it for the elevator), so no medal lands for it.
    const SceneManager* manager = SceneManager::getInstance();
    const Scene* previous = manager != nullptr ? manager->getPrevious() : nullptr;
    const bool fromElevator =
        previous != nullptr && previous == manager->getScene("SCENE_ELEVATOR");
    if (fromElevator) {
        lastDoor_ = -1;
        previousGrade_ = -1;
    }
    floor_ = std::clamp(floor_, 1, PlayerStats::kFloors);
}

void SceneHallway::open() {
    chooseFloor();
    SceneOrvanta::open();
    // A landing left running by the last visit ends with the scene.
    removeAllModifiers();
    resetFloorEnd();
    logArrival();
    if (roomPreview_ != nullptr) {
        showDialog(roomPreview_);
    }
    loadFloorLook();
    recolourFloor();
    if (floorSign_ != nullptr) {
        floorSign_->setText(floorSignText(floor_));
    }
    showMedals();
}

void SceneHallway::logArrival() const {
    DataGathering* record = DataGathering::get();
    if (record == nullptr) {
        return;
    }
    RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
    event->add(new PropertyValue("floorNumber", floor_, true));
    record->addRecord(*event);
}

void SceneHallway::close() {
    // The trophy room leaves with the hallway, without calling back: the
    // player is on the way elsewhere already.
    if (auto* trophies = kindCast<DialogTrophy>(findDialog("DIALOG_TROPHY"))) {
        if (isDialogOpen("DIALOG_TROPHY")) {
            trophies->putAway();
        }
    }
    SceneOrvanta::close();
    if (roomPreview_ != nullptr) {
        closeDialog(roomPreview_);
    }
    doorsEnabled_ = false;
    hoveredDoor_ = nullptr;
}

void SceneHallway::disableDoors() {
    for (Button* button : {menuButton_, elevatorButton_, customizeButton_, trophiesButton_}) {
        if (button != nullptr) {
            button->setEnabled(false);
        }
    }
    for (int i = 0; i < kDoors; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (Button* button : {doorButtons_.at(index), doorKnobs_.at(index)}) {
            if (button != nullptr) {
                button->setEnabled(false);
            }
        }
    }
    if (roomPreview_ != nullptr) {
        roomPreview_->closePreview();
    }
    doorsEnabled_ = false;
}

void SceneHallway::enableDoors() {
    for (Button* button : {menuButton_, elevatorButton_, trophiesButton_, customizeButton_}) {
        if (button != nullptr) {
            button->setEnabled(true);
            button->setVisible(true);
        }
    }
    for (int i = 0; i < kDoors; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (Button* button : {doorButtons_.at(index), doorKnobs_.at(index)}) {
            if (button != nullptr) {
                button->setEnabled(true);
            }
        }
    }
    doorsEnabled_ = true;
}

void SceneHallway::loadFloorLook() {
    RefPtr<PropertyStore> store(new PropertyStore());
    if (!store->load(kFloorFile)) {
        logWarning(std::string(kFloorFile) + ": the floor file cannot be read; the floor is bare");
    }
    PropertyVector* hues = store->getVector("hues");
    for (int i = 0; i < kHues; ++i) {
        auto* value = kindCast<PropertyValue>(hues->at(i));
        hues_.at(static_cast<std::size_t>(i)) = value != nullptr ? value->getFloat() : 0.0F;
    }
    definitionIndex_ = PropertyValue::toInt(store->getVector("floors")->at(floor_ - 1));
    PropertyVector* definition = asVector(store->getVector("definitions")->at(definitionIndex_));
    for (int door = 1; door <= kDoors; ++door) {
        const auto index = static_cast<std::size_t>(door - 1);
        PropertyNode* box = asNode(definition->at(kDoorElements + door - 1));
        if (Button* button = doorButtons_.at(index)) {
            button->setPosition(box->getValue("x")->getInt(), box->getValue("y")->getInt());
            button->setWidth(box->getValue("width")->getInt());
            button->setHeight(box->getValue("height")->getInt());
        }
        previewPoints_.at(index) = readPoint(*definition, kPreviewElements + door - 1);
        medalPoints_.at(index) = readPoint(*definition, kMedalElements + door - 1);
        if (Sprite* plate = roomNumbers_.at(index)) {
            const HallwayPoint at = readPoint(*definition, kNumberElements + door - 1);
            plate->setPosition(at.x, at.y);
            plate->setImage(hallwayImage(roomNumberImage(floor_, door)).get());
        }
        if (Button* knob = doorKnobs_.at(index)) {
            PropertyNode* node = asNode(definition->at(kKnobElements + door - 1));
            knob->setPosition(node->getValue("x")->getInt(), node->getValue("y")->getInt());
            knob->setImage(hallwayImage(node->getValue("image")->getString()).get());
        }
    }
    const auto* background = kindCast<PropertyValue>(definition->at(0));
    floorImage_ = hallwayImage(background != nullptr ? background->getString() : std::string());
    if (plant_ != nullptr) {
        PropertyNode* node = asNode(definition->at(kPlantElement));
        plant_->setPosition(node->getValue("x")->getInt(), node->getValue("y")->getInt());
        plant_->setImage(hallwayImage(node->getValue("image")->getString()).get());
    }
}

void SceneHallway::recolourFloor() {
    if (!floorImage_) {
        return;
    }
    // Every arrival colours a fresh copy: the floor's own picture never changes.
    RefPtr<Image> copy = cloneImage(*floorImage_);
    if (!copy) {
        return;
    }
    for (int door = 1; door <= kDoors; ++door) {
        const std::string maskName =
            "HUEMASK" + std::to_string(definitionIndex_) + std::to_string(door);
        RefPtr<Image> mask = hallwayImage(maskName);
        const RefPtr<Level> level = getLevelSets().createLevel(floor_, door);
        const int gameType = level ? static_cast<int>(level->getGameType()) : -1;
        const std::optional<float> hue = doorHue(hues_, gameType);
        if (!mask || !hue) {
            continue;
        }
        if (mask->getWidth() != copy->getWidth() || mask->getHeight() != copy->getHeight()) {
            logWarning("hallway: the mask " + maskName + " is not of the background's size");
            continue;
        }
        applyHueMask(*copy, *mask, *hue);
        // Used once an arrival: kept deflated until the next one.
        static_cast<void>(mask->compress());
    }
    Dialog::setBackground(copy.get());
    setNeedsRefresh(true);
    setDirty(true);
}

void SceneHallway::showMedals() {
    Sprite* lastStar = nullptr;
    for (int door = 1; door <= kDoors; ++door) {
        auto* medal = getMedal(door);
        if (medal == nullptr) {
            continue;
        }
        medal->removeAllModifiers();
        const RoomRecord record = roomRecord(floor_, door);
        const RefPtr<Level> level =
            record.levelWinCount > 0 ? getLevelSets().createLevel(floor_, door) : nullptr;
        if (!level) {
            medal->setVisible(false);
            continue;
        }
        const int grade = recordGrade(record, *level);
        const bool changed = door == lastDoor_ && previousGrade_ != grade;
        medal->setImage(hallwayImage(medalImage(grade, definitionIndex_, door)).get());
        const HallwayPoint at = medalPoints_.at(static_cast<std::size_t>(door - 1));
        medal->setPosition(at.x, at.y);
        medal->setAlpha(255);
        medal->setScale(1.0F);
        if (changed) {
            medal->setAlpha(0);
            medal->setScale(kLandingScale);
            medal->addModifier(new ModifierAlpha(kLandingMs, 0, 255));
            medal->addModifier(holdingBack(new ModifierScale(kLandingMs, kLandingScale, 1.0F)));
            medal->addModifier(new ModifierSound(kHallwaySection, "SOUND_STAR_LANDSONDOOR", true));
            const int spacing = medal->getWidth() / 4 + 3;
            for (int k = 0; k <= grade; ++k) {
                auto* star = new AdditiveSprite(nullptr);
                star->setImage(hallwayImage("STAR_FLASH").get());
                star->setAnchorPoint(AnchorKind::Center);
                star->setPosition(medal->getWidth() / 2 + spacing * (k - 1),
                                  medal->getHeight() / 2);
                star->setAlpha(kStarAlpha);
                star->setVisible(false);
                GameTree::appendChild(star, medal);
                // Each star waits for the landing, then flashes in turn.
                star->addModifier(
                    holdingBack(new ModifierDelay(kLandingMs + (k + 1) * kStarStepMs)));
                star->addModifier(
                    new ModifierSound(kHallwaySection, "SOUND_STAR_ADDEDTODOOR", true));
                star->addModifier(new ModifierVisible(ModifierVisible::Show));
                star->addModifier(holdingBack(new ModifierDelay(kStarFlashMs)));
                lastStar = star;
                if (k == grade) {
                    break; // the last star fades below, before the ending
                }
                auto* fade = new ModifierAlpha(kStarFadeMs, kStarAlpha, 0);
                fade->setFinishFlags(Modifier::FinishRemoveTarget);
                star->addModifier(fade);
            }
        }
        medal->setVisible(true);
    }
    if (lastStar == nullptr) {
        afterMedals();
        return;
    }
    // The music makes way for the landing's sounds.
    if (SoundManager* sound = SoundManager::getInstance(); sound != nullptr && !sound->isMuted()) {
        if (SoundStream* music = sound->getCurrent()) {
            SoundManager::startFade(*music, music->getFadeLevel(), 0.0F, kMusicFadeMs);
        }
    }
    disableDoors();
    // The ending follows half a second after the last star starts to fade;
    // that star stays until then.
    lastStar->addModifier(new ModifierAlpha(kStarFadeMs, kStarAlpha, 0));
    lastStar->addModifier(holdingBack(new ModifierDelay(kLandingMs)));
    auto* ending = new ModifierFunction(&SceneHallway::onMedalsLanded, this);
    ending->setFinishFlags(Modifier::FinishRemoveTarget);
    lastStar->addModifier(ending);
}

int SceneHallway::onMedalsLanded(void* scene, void* /*modifier*/) {
    static_cast<SceneHallway*>(scene)->afterMedals();
    return 0;
}

void SceneHallway::afterMedals() {
    OrvantaPlayer* profile = currentProfile();
    // The level just won completed this floor: the player's floor moves on
    // and the floor-completed sequence plays; its OK button goes on.
    if (profile != nullptr && lastDoor_ > 0 && profile->currentFloor == floor_ &&
        profile->currentFloor < profile->floorReached) {
        profile->currentFloor = profile->floorReached;
        disableDoors();
        playFloorCompleted();
        if (SceneManager* manager = SceneManager::getInstance()) {
            if (auto* elevator = kindCast<SceneElevator>(manager->getScene("SCENE_ELEVATOR"))) {
                elevator->setLastUnlockedItem(floor_ - 1);
            }
        }
        return;
    }
    SoundManager* sound = SoundManager::getInstance();
    ResourceManager* resources = ResourceManager::getInstance();
    if (sound != nullptr && resources != nullptr) {
        if (auto* music =
                kindCast<SoundStream>(resources->getLoadedObject("MUSIC_QUENBY", "music"))) {
            sound->playMusic(1000, 1.0F, 100, music, 600, true);
        }
    }
    releaseHallwayTrophies();
    if (!DialogTrophy::open(this, &SceneHallway::onTrophiesClosed)) {
        afterTrophies();
    }
}

int SceneHallway::onTrophiesClosed(void* scene, void* /*dialog*/) {
    static_cast<SceneHallway*>(scene)->afterTrophies();
    return 0;
}

void SceneHallway::afterTrophies() {
    getComponentRoot()->setSuspended(false);
    // The host speaks on every ordinary arrival: the tip a won level chose,
    // else the return tip, each once per player.
    if (OrvantaPlayer* profile = currentProfile()) {
        const int tip = pendingTip_ >= 2 && pendingTip_ <= 4 ? pendingTip_ : kReturnTip;
        const auto flag = static_cast<std::size_t>(tip);
        if (profile->showHints && profile->hintFlags.at(flag)) {
            if (auto* dialog = kindCast<DialogBrastowHint>(getDialog("DIALOG_BRASTOW_HINT"))) {
                dialog->showTip(tip);
                showDialog(dialog);
                if (tip != kReturnTip) {
                    profile->hintFlags.at(flag) = false;
                }
            }
        }
        profile->hintFlags.at(kReturnTip) = false;
    }
    enableDoors();
    hoveredDoor_ = nullptr;
    pendingTip_ = 0;
    previousGrade_ = -1;
    lastDoor_ = -1;
}

void SceneHallway::resetFloorEnd() {
    removeAllModifiers();
    if (floorSequence_) {
        floorSequence_->setKilled(true);
        floorSequence_ = nullptr;
    }
    if (okButton_ != nullptr) {
        okButton_->setVisible(false);
        okButton_->setEnabled(false);
    }
    std::array<Sprite*, 6> parts{okButton_,    floorCompletedLabel_, unlockedLabel_,
                                 goodieLabel_, wellDoneLabel_,       floorEndDialog_};
    for (Sprite* part : parts) {
        if (part != nullptr) {
            part->setVisible(false);
            part->removeAllModifiers();
            part->unregisterAllModifiers();
        }
    }
    for (Sprite* plate : roomNumbers_) {
        if (plate != nullptr) {
            plate->unregisterAllModifiers();
            plate->setScale(1.0F);
            plate->setAnchorPoint(AnchorKind::TopLeft);
        }
    }
    if (medals_ != nullptr) {
        for (GameNode* medal = medals_->getFirstChild(); medal != nullptr;
             medal = medal->getNextSibling()) {
            medal->unregisterAllModifiers();
        }
    }
    if (starLayer_) {
        GameTree::releaseChildren(starLayer_.get());
    }
}

void SceneHallway::playFloorCompleted() {
    if (floorSequence_) {
        floorSequence_->setKilled(true);
    }
    floorSequence_ = Modifier::attachTo(getAnimTree(), new ModifierContainer());
    Modifier* root = floorSequence_.get();
    // The jingle.
    Modifier* jingle = Modifier::attachTo(root, new ModifierDelay(FLOOR_COMPLETE_JINGLE_DELAY));
    static_cast<void>(Modifier::attachTo(
        jingle, new ModifierSound(kHallwaySection, "SOUND_HALLWAY_CLEAR", true)));

    // The room numbers turn into stars and fly into a row, one after another,
    // drawn above the dialog they land on.
    Modifier* parent = root;
    for (int door = 1; door <= kDoors; ++door) {
        Sprite* plate = roomNumbers_.at(static_cast<std::size_t>(door - 1));
        if (plate == nullptr) {
            continue;
        }
        GameTree::appendChild(plate, plate->getParent());
        static_cast<void>(under(parent, new ModifierScale(STAR_MOVE_TIME, 0.4F, 1.0F), plate));
        static_cast<void>(
            under(parent, new ModifierFunction(&SceneHallway::onStarNumber, this), plate));
        static_cast<void>(
            under(parent, new ModifierSound(kHallwaySection, "SOUND_STAR_APPEARS", true), plate));
        parent = under(parent,
                       new ModifierLocationLine(plate->getX(), plate->getY(),
                                                STARS_LEFT_PADDING + STAR_WIDTH * (door - 1),
                                                STAR_Y, STAR_MOVE_TIME, false),
                       plate);
    }

    // The dialog grows in under the row.
    Modifier* grown = parent;
    if (floorEndDialog_ != nullptr) {
        static_cast<void>(
            under(parent, new ModifierVisible(ModifierVisible::Show), floorEndDialog_));
        grown = under(parent, new ModifierScale(DIALOG_APPEAR_TIME, 0.1F, 1.0F), floorEndDialog_);
    }

    // The captions slide in.
    const std::array<Sprite*, 3> captions{floorCompletedLabel_, unlockedLabel_, wellDoneLabel_};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        Sprite* label = captions.at(i);
        if (label == nullptr) {
            continue;
        }
        const HallwayPoint home = captionHomes_.at(i);
        // The reward's caption comes up from below, the others down from above.
        const int fromY = label == unlockedLabel_ ? label->getHeight() + 600 : -home.y;
        label->setPosition(home.x, fromY);
        static_cast<void>(under(
            grown, new ModifierLocationLine(home.x, fromY, home.x, home.y, LABEL_APPEAR_TIME, true),
            label));
        static_cast<void>(under(grown, new ModifierVisible(ModifierVisible::Show), label));
    }

    // Each room's summary stars, one room after the other.
    parent = grown;
    addSummaryStars(parent);

    // The OK button, and the reward text wiggling in.
    if (okButton_ != nullptr) {
        okButton_->setEnabled(true);
        static_cast<void>(under(parent, new ModifierVisible(ModifierVisible::Show), okButton_));
        static_cast<void>(
            under(parent, new ModifierScale(BUTTON_OK_APPEAR_TIME, 0.0F, 1.0F), okButton_));
    }
    if (goodieLabel_ != nullptr) {
        goodieLabel_->setText(getText("TEXT_UNLOCK" + std::to_string(floor_)));
        goodieLabel_->relayout();
        static_cast<void>(under(parent, new ModifierVisible(ModifierVisible::Show), goodieLabel_));
        static_cast<void>(under(parent,
                                new ModifierSound(kHallwaySection, "SOUND_UNLOCK_ITEM_TEXT", true),
                                goodieLabel_));
        BasicProperties* settings = BasicProperties::get();
        const float angle = settings != nullptr ? settings->getFloat("GOODIE_WIGGLE_ANGLE") : 0.0F;
        addWiggleAnimation(goodieLabel_, GOODIE_APPEAR_TIME, GOODIE_WIGGLE_TIME, angle, parent);
    }
}

void SceneHallway::addSummaryStars(Modifier*& parent) {
    for (int door = 1; door <= kDoors; ++door) {
        const int i = door - 1;
        const RoomRecord record = roomRecord(floor_, door);
        const RefPtr<Level> level = getLevelSets().createLevel(floor_, door);
        const bool won = record.levelWinCount > 0;
        const bool silverOrBetter = won && level && record.bestScore >= level->getSilver();
        const bool gold = silverOrBetter && record.bestScore >= level->getGold();
        const std::array<bool, 3> full{won, silverOrBetter, gold};
        RefPtr<Image> fullImage = hallwayImage("STAR_FULL");
        RefPtr<Image> emptyImage = hallwayImage("STAR_EMPTY");
        const int w = fullImage ? fullImage->getWidth() : 0;
        if (Sprite* medal = getMedal(door)) {
            static_cast<void>(under(parent, new ModifierVisible(ModifierVisible::Hide), medal));
        }
        for (int k = 0; k < 3; ++k) {
            auto* star = new Sprite(nullptr);
            star->setImage((full.at(static_cast<std::size_t>(k)) ? fullImage : emptyImage).get());
            star->setAnchorPoint(AnchorKind::Center);
            star->setPosition(STARS_LEFT_PADDING + STAR_WIDTH * i + w * (k - 1), SMALL_STAR_Y);
            star->setVisible(false);
            star->setTag(k);
            star->setScale(0.0F);
            GameTree::appendChild(star, starLayer_.get());
            static_cast<void>(under(parent, new ModifierVisible(ModifierVisible::Show), star));
            if (full.at(static_cast<std::size_t>(k))) {
                static_cast<void>(
                    under(parent, new ModifierFunction(&SceneHallway::onStarBurst, this), star));
            }
            Modifier* pop =
                under(parent, new ModifierScale(SMALL_STAR_APPEAR_TIME, 0.0F, 1.0F), star);
            parent = Modifier::attachTo(pop, new ModifierDelay(kSummaryStarGapMs));
        }
    }
}

int SceneHallway::onStarNumber(void* scene, void* modifier) {
    auto* self = static_cast<SceneHallway*>(scene);
    const GameNode* target = static_cast<Modifier*>(modifier)->getTarget();
    for (int door = 1; door <= kDoors; ++door) {
        Sprite* plate = self->roomNumbers_.at(static_cast<std::size_t>(door - 1));
        if (plate != nullptr && plate == target) {
            plate->setImage(
                hallwayImage("STAR_NUMBER" + std::to_string(self->floor_) + std::to_string(door))
                    .get());
            // The star flies by its middle, in line with the small stars.
            plate->setAnchorPoint(AnchorKind::Center);
        }
    }
    return 0;
}

// A burst of 4 x (2n + 1) sparks thrown evenly round the star (n its tag).
int SceneHallway::onStarBurst(void* scene, void* modifier) {
    auto* self = static_cast<SceneHallway*>(scene);
    const GameNode* target = static_cast<Modifier*>(modifier)->getTarget();
    if (target == nullptr || !self->starLayer_) {
        return 0;
    }
    const RefPtr<Image> spark = widget::findImage("BONUS_STAR", "default");
    const int count = 4 * (2 * target->getTag() + 1);
    const int radius = kBurstRadius + kBurstRadiusStep * target->getTag();
    for (int n = 0; n < count; ++n) {
        const double angle = 2.0 * std::numbers::pi * n / count;
        auto* star = new AdditiveSprite(nullptr);
        star->setImage(spark.get());
        star->setFrameLayout(4, true);
        star->setAnchorPoint(AnchorKind::Center);
        star->setPosition(target->getX(), target->getY());
        GameTree::appendChild(star, self->starLayer_.get());
        star->addModifier(new ModifierLocationLine(
            target->getX(), target->getY(),
            target->getX() + static_cast<int>(std::lround(radius * std::cos(angle))),
            target->getY() + static_cast<int>(std::lround(radius * std::sin(angle))), kBurstMs,
            false));
        auto* fade = new ModifierAlpha(kBurstMs, 255, 0);
        fade->setFinishFlags(Modifier::FinishRemoveTarget);
        star->addModifier(fade);
    }
    return 0;
}

int SceneHallway::onFloorEndOk(void* scene, void* /*button*/) {
    auto* self = static_cast<SceneHallway*>(scene);
    self->resetFloorEnd();
    releaseFloorTrophies();
    releaseHallwayTrophies();
    if (!DialogTrophy::open(self, &SceneHallway::goToElevator)) {
        goToElevator(self, nullptr);
    }
    self->enableDoors();
    self->hoveredDoor_ = nullptr;
    self->pendingTip_ = 0;
    self->previousGrade_ = -1;
    self->lastDoor_ = -1;
    return 0;
}

bool SceneHallway::onMouseMove(int x, int y, int flags) {
    static_cast<void>(SceneOrvanta::onMouseMove(x, y, flags));
    if (!doorsEnabled_) {
        hoveredDoor_ = nullptr;
        return false;
    }
    Button* hit = nullptr;
    int hitIndex = -1;
    for (int i = 0; i < kDoors && hit == nullptr; ++i) {
        Button* door = doorButtons_.at(static_cast<std::size_t>(i));
        if (door != nullptr && x >= door->getX() && y >= door->getY() &&
            x < door->getX() + door->getWidth() && y < door->getY() + door->getHeight()) {
            hit = door;
            hitIndex = i;
        }
    }
    if (hit == nullptr) {
        hoveredDoor_ = nullptr;
        return false;
    }
    if (hit != hoveredDoor_ && roomPreview_ != nullptr) {
        const RefPtr<Level> level = getLevelSets().createLevel(floor_, hit->getTag());
        roomPreview_->setStatistics(level.get());
        const HallwayPoint at = previewPoints_.at(static_cast<std::size_t>(hitIndex));
        roomPreview_->setPosition(at.x, at.y);
        roomPreview_->openPreview();
    }
    hoveredDoor_ = hit;
    return false;
}

void SceneHallway::updateSelf(int elapsedMs) {
    SceneOrvanta::updateSelf(elapsedMs);
    if (hoveredDoor_ != nullptr || !doorsEnabled_) {
        previewCloseTimer_ = kPreviewCloseMs;
        return;
    }
    if (previewCloseTimer_ > 0) {
        previewCloseTimer_ -= elapsedMs;
        if (previewCloseTimer_ <= 0 && roomPreview_ != nullptr) {
            roomPreview_->closePreview();
        }
    }
}

bool SceneHallway::onKeyUp(int key) {
    if (key != static_cast<int>(platform::VK_ESCAPE)) {
        return SceneOrvanta::onKeyUp(key);
    }
    showQuitDialog();
    return true;
}

int SceneHallway::onDoor(void* scene, void* button) {
    auto* self = static_cast<SceneHallway*>(scene);
    const int door = static_cast<GameNode*>(static_cast<Button*>(button))->getTag();
    const int floor = self->floor_;
    OrvantaPlayer* profile = currentProfile();
    if (profile != nullptr && floor >= 1 && floor <= PlayerStats::kFloors) {
        int& firstDoor = profile->stats.firstDoorClicked.at(static_cast<std::size_t>(floor - 1));
        if (firstDoor == -1) {
            if (DataGathering* record = DataGathering::get()) {
                RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
                event->add(new PropertyValue("playerName", profile->getName(), true));
                event->add(new PropertyValue("currentFloor", floor, true));
                event->add(new PropertyValue("firstDoor", door, true));
                record->addRecord(*event);
            }
            firstDoor = door;
        }
    }
    const RefPtr<Level> level = getLevelSets().createLevel(floor, door);
    if (!level) {
        tellRoomUnreadable(*self, kHallwayLevelsFile);
        return 0;
    }
    level->setPlace(Place::Hallway);
    if (level->getLayout() == nullptr) {
        level->loadLayout();
    }
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level.get())) {
        // The room cannot be played: the player stays in the hallway, told.
        logWarning("hallway: floor " + std::to_string(floor) + ", room " + std::to_string(door) +
                   " cannot be played");
        tellRoomUnreadable(*self, level->getLayoutName().empty() ? std::string(kHallwayLevelsFile)
                                                                 : level->getLayoutName());
        return 0;
    }
    self->lastDoor_ = door;
    self->previousGrade_ = recordGrade(roomRecord(floor, door), *level);
    getBuildingServices().releaseSavedGame();
    switchScene("game", "TRANSITION_DEFAULT", "SCENE_GAME");
    return 0;
}

int SceneHallway::goToElevator(void* /*scene*/, void* /*button*/) {
    switchScene("elevator", "TRANSITION_DEFAULT", "SCENE_ELEVATOR");
    return 0;
}

namespace {

void showDialogOfShownScene(std::string_view name) {
    Scene* scene = getShownScene();
    if (scene == nullptr) {
        return;
    }
    if (Dialog* dialog = scene->getDialog(name)) {
        scene->showDialog(dialog);
    }
}

} // namespace

int SceneHallway::showCustomizeDialog(void* /*scene*/, void* /*button*/) {
    showDialogOfShownScene("DIALOG_SELECT_BACKGROUND");
    return 0;
}

int SceneHallway::showRoomMenu(void* scene, void* /*button*/) {
    auto* self = static_cast<Scene*>(scene);
    if (Dialog* menu = self->getDialog("DIALOG_ROOM_MENU")) {
        self->showDialog(menu);
    }
    return 0;
}

int SceneHallway::showTrophyRoom(void* /*scene*/, void* /*button*/) {
    showDialogOfShownScene("DIALOG_TROPHY");
    return 0;
}

Button* SceneHallway::getDoorButton(int door) const {
    return door >= 1 && door <= kDoors ? doorButtons_.at(static_cast<std::size_t>(door - 1))
                                       : nullptr;
}

Sprite* SceneHallway::getMedal(int door) const {
    if (medals_ == nullptr) {
        return nullptr;
    }
    for (GameNode* child = medals_->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (child->getName() == "MEDAL" + std::to_string(door)) {
            return kindCast<Sprite>(child);
        }
    }
    return nullptr;
}

Sprite* SceneHallway::getRoomNumber(int door) const {
    return door >= 1 && door <= kDoors ? roomNumbers_.at(static_cast<std::size_t>(door - 1))
                                       : nullptr;
}

int SceneHallway::getHoveredDoor() const {
    return hoveredDoor_ != nullptr ? hoveredDoor_->getTag() : 0;
}

float SceneHallway::getHue(int gameType) const {
    return doorHue(hues_, gameType).value_or(0.0F);
}

HallwayPoint SceneHallway::getPreviewPoint(int door) const {
    return door >= 1 && door <= kDoors ? previewPoints_.at(static_cast<std::size_t>(door - 1))
                                       : HallwayPoint{};
}

HallwayPoint SceneHallway::getMedalPoint(int door) const {
    return door >= 1 && door <= kDoors ? medalPoints_.at(static_cast<std::size_t>(door - 1))
                                       : HallwayPoint{};
}

} // namespace orv
