#include "game/scenes/SceneHallway.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
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
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"
#include "game/scenes/BuildingServices.h"
#include "game/screen/ColourOps.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv {

constinit const ClassRecord SceneHallway::classRecord{"SceneHallway",
                                                      parentRecords<SceneOrvanta::classRecord>};

namespace {

constexpr std::string_view kSection = "hallway";
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

Modifier* holding(Modifier* modifier) {
    modifier->setFinishFlags(modifier->getFinishFlags() | Modifier::FinishHoldBack);
    return modifier;
}

OrvantaPlayer* currentProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
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
    RefPtr<Image> image = widget::findImage(name, std::string(kSection));
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

std::string roomNumberImage(int floor, int door) {
    return "ROOM_NUMBER" + std::to_string(floor) + std::to_string(door);
}

SceneHallway::SceneHallway(PropertyNode* definition) : SceneOrvanta(definition) {}

SceneHallway::~SceneHallway() = default;

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
    // The elevator leaves the chosen floor in the player's profile. Back
    // from a level started here, the hallway stays on the level's floor.
    const SceneManager* manager = SceneManager::getInstance();
    const Scene* previous = manager != nullptr ? manager->getPrevious() : nullptr;
    const bool fromElevator =
        previous != nullptr && previous == manager->getScene("SCENE_ELEVATOR");
    if (fromElevator) {
        lastDoor_ = -1;
        previousGrade_ = -1;
    }
    if (lastDoor_ > 0) {
        return;
    }
    if (const OrvantaPlayer* profile = currentProfile()) {
        floor_ = std::clamp(profile->currentFloor, 1, PlayerStats::kFloors);
    }
}

void SceneHallway::open() {
    chooseFloor();
    SceneOrvanta::open();
    // A landing left running by the last visit ends with the scene.
    removeAllModifiers();
    logArrival();
    if (roomPreview_ != nullptr) {
        showDialog(roomPreview_);
    }
    loadFloorLook();
    recolourFloor();
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
    if (Dialog* trophies = findDialog("DIALOG_TROPHY")) {
        closeDialog(trophies);
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
            medal->addModifier(holding(new ModifierScale(kLandingMs, kLandingScale, 1.0F)));
            medal->addModifier(new ModifierSound(kSection, "SOUND_STAR_LANDSONDOOR", true));
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
                star->addModifier(holding(new ModifierDelay(kLandingMs + (k + 1) * kStarStepMs)));
                star->addModifier(new ModifierSound(kSection, "SOUND_STAR_ADDEDTODOOR", true));
                star->addModifier(new ModifierVisible(ModifierVisible::Show));
                star->addModifier(holding(new ModifierDelay(kStarFlashMs)));
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
    disableDoors();
    // The ending follows half a second after the last star starts to fade;
    // that star stays until then.
    lastStar->addModifier(new ModifierAlpha(kStarFadeMs, kStarAlpha, 0));
    lastStar->addModifier(holding(new ModifierDelay(kLandingMs)));
    auto* ending = new ModifierFunction(&SceneHallway::onMedalsLanded, this);
    ending->setFinishFlags(Modifier::FinishRemoveTarget);
    lastStar->addModifier(ending);
}

int SceneHallway::onMedalsLanded(void* scene, void* /*modifier*/) {
    static_cast<SceneHallway*>(scene)->afterMedals();
    return 0;
}

void SceneHallway::afterMedals() {
    if (OrvantaPlayer* profile = currentProfile()) {
        // The level just won completed this floor: the next one is the
        // player's floor from now on.
        if (lastDoor_ > 0 && profile->currentFloor == floor_ &&
            profile->currentFloor < profile->floorReached) {
            profile->currentFloor = profile->floorReached;
        }
    }
    SoundManager* sound = SoundManager::getInstance();
    ResourceManager* resources = ResourceManager::getInstance();
    if (sound != nullptr && resources != nullptr) {
        if (auto* music =
                kindCast<SoundStream>(resources->getLoadedObject("MUSIC_QUENBY", "music"))) {
            sound->playMusic(1000, 1.0F, 100, music, 600, true);
        }
    }
    afterTrophies();
}

void SceneHallway::afterTrophies() {
    getComponentRoot()->setSuspended(false);
    OrvantaPlayer* profile = currentProfile();
    // The host speaks when the player comes back from a room: the tip a won
    // level chose, else the return tip.
    if (profile != nullptr && lastDoor_ > 0) {
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
