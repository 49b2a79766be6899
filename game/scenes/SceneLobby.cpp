#include "game/scenes/SceneLobby.h"

#include "engine/core/AnimTree.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/TextUtil.h"
#include "engine/gui/FullScreenHandler.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/AbstractToolTip.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Messages.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/scenes/BuildingServices.h"
#include "game/scenes/LightSweep.h"
#include "game/scenes/SceneElevator.h"

#include <array>

namespace orv {

constinit const ClassRecord SceneLobby::classRecord{"SceneLobby",
                                                    parentRecords<SceneOrvanta::classRecord>};

namespace {

// Countdowns kept for the whole program (ms).
int eyeTimer = 0;
int nextBlink = 3000;
bool eyesVisible = false;
int shineElapsed = 0;
int nextShine = 0;

constexpr std::array<int, 4> kShinePauses{2000, 8000, 10000, 12500};

// Installs the tooltip of the template "DEFAULT_TOOLTIP" when the scene
// manager has none.
void installToolTip(SceneManager& manager) {
    if (manager.getToolTip() != nullptr) {
        return;
    }
    PropertyNode* definition =
        asNode(getDefinitionStore().getTemplates()->getChild("DEFAULT_TOOLTIP"));
    RefPtr<BaseObject> object(
        ObjectFactoryContainer::get().createObject(definition->getTypeName(), definition));
    if (auto* toolTip = kindCast<AbstractToolTip>(object.get())) {
        manager.setToolTip(toolTip);
    }
}

// The elevator scene, when the program has one.
SceneElevator* findElevator() {
    SceneManager* manager = SceneManager::getInstance();
    return manager != nullptr ? kindCast<SceneElevator>(manager->getScene("SCENE_ELEVATOR"))
                              : nullptr;
}

} // namespace

SceneLobby::SceneLobby(PropertyNode* definition) : SceneOrvanta(definition) {}

BaseObject* SceneLobby::createFromDefinition(PropertyNode* definition) {
    return new SceneLobby(definition);
}

void SceneLobby::setBackground() {
    setPlayerGreeting(&SceneLobby::showWelcome);
    if (SceneManager* manager = SceneManager::getInstance()) {
        installToolTip(*manager);
    }
    Scene::setBackground();
    doorLeft_ = kindCast<Sprite>(findComponent("DOOR_LEFT"));
    doorRight_ = kindCast<Sprite>(findComponent("DOOR_RIGHT"));
    if (doorLeft_ != nullptr) {
        doorLeftClosedX_ = doorLeft_->getX();
    }
    if (doorRight_ != nullptr) {
        doorRightClosedX_ = doorRight_->getX();
    }
    if (doorLeft_ != nullptr && doorRight_ != nullptr) {
        // The doors slide into the wall: each shows only inside the doorway.
        const int width = doorRightClosedX_ + doorRight_->getWidth() - doorLeftClosedX_;
        doorLeft_->setClipRect(doorLeftClosedX_, doorLeft_->getY(), width, doorLeft_->getHeight());
        doorRight_->setClipRect(doorLeftClosedX_, doorRight_->getY(), width,
                                doorRight_->getHeight());
    }
    buttonHelp_ = kindCast<Sprite>(findComponent("BUTTON_HELP"));
    buttonSettings_ = kindCast<Sprite>(findComponent("BUTTON_SETTINGS"));
    buttonTrophies_ = kindCast<Sprite>(findComponent("BUTTON_TROPHIES"));
    buttonQuit_ = kindCast<Sprite>(findComponent("BUTTON_QUIT"));
    doorMiddle_ = kindCast<Sprite>(findComponent("DOOR_MIDDLE"));

    static_cast<void>(bindComponent("BUTTON_ELEVATOR", &SceneLobby::onElevator, this));
    static_cast<void>(bindComponent("BUTTON_CHANGENAME", &SceneLobby::onChangeName, this));
    static_cast<void>(bindComponent("BUTTON_HELP", &SceneLobby::onHelp, this));
    static_cast<void>(bindComponent("BUTTON_SETTINGS", &SceneLobby::onSettings, this));
    static_cast<void>(bindComponent("BUTTON_TROPHIES", &SceneLobby::onTrophies, this));
    static_cast<void>(bindComponent("BUTTON_QUIT", &SceneLobby::onQuit, this));

    BuildingServices& services = getBuildingServices();
    services.beginSession(0, services.getPlayerCount());
}

void SceneLobby::open() {
    // The car waits at the lobby.
    if (SceneElevator* elevator = findElevator()) {
        elevator->setCurrentStop(elevator::kLobby);
    }
    if (doorLeft_ != nullptr && doorRight_ != nullptr && doorsOpen_) {
        doorLeft_->setX(doorLeftClosedX_);
        doorRight_->setX(doorRightClosedX_);
        doorsOpen_ = false;
    }
    SceneOrvanta::open();
    if (FullScreenHandler* handler = FullScreenHandler::getInstance()) {
        handler->setEnabled(true);
        FullScreenHandler::refresh(nullptr);
        const GameWindow* window = GameWindow::getInstance();
        handler->setButtonsInput(window != nullptr && window->isFullScreen());
    }
    if (firstOpen_) {
        if (SceneManager* manager = SceneManager::getInstance()) {
            if (Scene* loading = manager->getScene("SCENE_LOAD")) {
                loading->setRemovalMark(true);
            }
        }
        slideInButtons();
    } else if (SoundManager* sound = SoundManager::getInstance()) {
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            auto* music =
                kindCast<SoundStream>(resources->getLoadedObject("MUSIC_QUENBY", "music"));
            if (music != nullptr) {
                sound->playMusic(1000, 1.0F, 100, music, 600, true);
            }
        }
    }
    if (!firstOpen_) {
        dropLoadingPictures();
    }
    if (getBuildingServices().getPlayerCount() == 0) {
        showDialogNamed("DIALOG_NEWPLAYER");
    }
    showWelcome(this);
    firstOpen_ = false;
}

void SceneLobby::close() {
    // The first open keeps them while the loading screen fades out under the
    // lobby; once the lobby is left they would wait, unused, for its next
    // open, and hold their memory all through the floors.
    dropLoadingPictures();
    SceneOrvanta::close();
}

void SceneLobby::dropLoadingPictures() {
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->cancelSection("preloading", true);
    }
}

void SceneLobby::slideInButtons() {
    const std::array<Sprite*, 4> buttons{buttonSettings_, buttonHelp_, buttonTrophies_,
                                         buttonQuit_};
    AnimTree* tree = getAnimTree();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        Sprite* button = buttons.at(i);
        if (button == nullptr) {
            continue;
        }
        auto* move = new ModifierLocationLine(button->getX(), 600, button->getX(), button->getY(),
                                              500, true);
        button->setY(600);
        if (i == 0) {
            button->addModifier(move);
            continue;
        }
        auto* delay = new ModifierDelay(static_cast<int>(i) * 100);
        Modifier::attachTo(tree, delay);
        move->setTarget(button);
        Modifier::attachTo(delay, move);
    }
}

std::wstring SceneLobby::welcomeText(const std::string& name) {
    std::wstring text = getText("TEXT_WELCOME_QUENBY");
    if (name.empty()) {
        // No one to greet by name: the greeting ends where the name would.
        while (!text.empty() && (text.back() == L',' || text.back() == L' ')) {
            text.pop_back();
        }
        return text;
    }
    return text + L" " + stringToWide(name);
}

void SceneLobby::showWelcome(Scene* scene) {
    auto* lobby = kindCast<SceneLobby>(scene);
    if (lobby == nullptr) {
        return;
    }
    BuildingServices& services = getBuildingServices();
    const bool hasPlayers = services.getPlayerCount() > 0;
    const std::string name = hasPlayers ? services.getCurrentPlayerName() : std::string();
    if (SceneElevator* elevator = findElevator(); elevator != nullptr && hasPlayers) {
        elevator->setLastUnlockedItem(-1);
        elevator->clearFloorsToUnlock();
        elevator->setCurrentStop(elevator::kLobby);
    }
    if (auto* label = kindCast<Label>(lobby->findComponent("LABEL_PLAYERNAME"))) {
        label->setText(welcomeText(name));
    }
    if (hasPlayers && services.takeLobbyTip()) {
        if (auto* tip = kindCast<DialogBrastowHint>(lobby->getDialog("DIALOG_BRASTOW_HINT"))) {
            tip->showTip(0);
            lobby->showDialog(tip);
        }
    }
}

void SceneLobby::showDialogNamed(std::string_view name) {
    if (Dialog* dialog = getDialog(name)) {
        showDialog(dialog);
    }
}

void SceneLobby::updateSelf(int elapsedMs) {
    SceneOrvanta::updateSelf(elapsedMs);
    updateDoors();
    updateEyes(elapsedMs);
    updateElevatorShine(elapsedMs);
}

void SceneLobby::updateDoors() {
    if (doorLeft_ == nullptr || doorRight_ == nullptr) {
        return;
    }
    const int x = getLastMouseX();
    const int y = getLastMouseY();
    const bool onDoors = doorLeft_->hitTest(x, y) || doorRight_->hitTest(x, y);
    if (onDoors && getOpenDialogs().empty()) {
        if (doorsOpening_) {
            return;
        }
        doorsOpening_ = true;
        doorLeft_->removeAllModifiers();
        doorRight_->removeAllModifiers();
        const int opening = ELEVATOR_OPENING_SIZE;
        doorLeft_->addModifier(new ModifierLocationLine(doorLeftClosedX_, doorLeft_->getY(),
                                                        doorLeftClosedX_ - opening,
                                                        doorLeft_->getY(), 100, false));
        auto* move =
            new ModifierLocationLine(doorRightClosedX_, doorRight_->getY(),
                                     doorRightClosedX_ + opening, doorRight_->getY(), 100, false);
        move->setFinishFlags(Modifier::FinishHoldBack);
        doorRight_->addModifier(move);
        doorRight_->addModifier(new ModifierFunction(&SceneLobby::onDoorsOpened, this));
        return;
    }
    doorLeft_->removeAllModifiers();
    doorRight_->removeAllModifiers();
    doorLeft_->setX(doorLeftClosedX_);
    doorRight_->setX(doorRightClosedX_);
    if (doorMiddle_ != nullptr) {
        doorMiddle_->setVisible(false);
    }
    doorsOpening_ = false;
    doorsOpen_ = false;
}

bool SceneLobby::onKeyUp(int key) {
    if (key != static_cast<int>(platform::VK_ESCAPE)) {
        return SceneOrvanta::onKeyUp(key);
    }
    showQuitDialog();
    return true;
}

int SceneLobby::onDoorsOpened(void* scene, void* /*argument*/) {
    static_cast<SceneLobby*>(scene)->doorsOpen_ = true;
    return 0;
}

void SceneLobby::updateEyes(int elapsedMs) {
    auto* eyes = kindCast<Sprite>(findComponent("EYES"));
    eyeTimer += elapsedMs;
    if (eyeTimer > nextBlink) {
        if (eyes != nullptr) {
            eyes->addModifier(new ModifierFrame(1, kHostEyeFrameMs));
        }
        nextBlink = kHostBlinkPauses.at(static_cast<std::size_t>(Random::nextInt(0, 4)));
        eyeTimer = 0;
        eyesVisible = true;
    } else if (eyeTimer > 3 * kHostEyeFrameMs) {
        eyesVisible = false;
    }
    if (eyes != nullptr) {
        eyes->setVisible(eyesVisible);
    }
}

void SceneLobby::updateElevatorShine(int elapsedMs) {
    if (doorsOpen_ || !getOpenDialogs().empty() || doorLeft_ == nullptr || doorRight_ == nullptr) {
        return;
    }
    shineElapsed += elapsedMs;
    if (shineElapsed <= nextShine) {
        return;
    }
    shineElapsed = 0;
    nextShine = kShinePauses.at(static_cast<std::size_t>(Random::nextInt(0, 4)));
    ResourceManager* resources = ResourceManager::getInstance();
    GameNode* parent = doorLeft_->getParent();
    if (resources == nullptr || parent == nullptr) {
        return;
    }
    auto* band = kindCast<Image>(resources->getObject("ELEVATOR_SHINE", "lobby"));
    if (band == nullptr) {
        return;
    }
    LightSweep sweep;
    sweep.image = band;
    sweep.alpha = 180;
    sweep.anchor = AnchorKind::TopRight;
    sweep.fromX = doorLeft_->getX();
    sweep.fromY = doorLeft_->getY() + doorLeft_->getHeight();
    sweep.toX = doorLeft_->getX() + 2 * doorLeft_->getWidth() + band->getWidth();
    sweep.toY = doorLeft_->getY() - band->getHeight();
    sweep.durationMs = 1200;
    // The doorway: from the left door's corner to the right door's far
    // corner, as a width and a height.
    sweep.clip = Rect{doorLeft_->getX(), doorLeft_->getY(),
                      doorRight_->getX() + doorRight_->getWidth() - doorLeft_->getX(),
                      doorRight_->getY() + doorRight_->getHeight() - doorLeft_->getY()};
    static_cast<void>(startLightSweep(*parent, sweep, doorMiddle_));
}

int SceneLobby::onElevator(void* /*scene*/, void* /*button*/) {
    switchScene("elevator", "TRANSITION_ELEVATOR", "SCENE_ELEVATOR");
    return 0;
}

int SceneLobby::onChangeName(void* scene, void* /*button*/) {
    static_cast<SceneLobby*>(scene)->showDialogNamed("DIALOG_PLAYERSELECT");
    return 0;
}

int SceneLobby::onHelp(void* scene, void* /*button*/) {
    static_cast<SceneLobby*>(scene)->showDialogNamed("DIALOG_HELP");
    return 0;
}

int SceneLobby::onSettings(void* scene, void* /*button*/) {
    static_cast<SceneLobby*>(scene)->showDialogNamed("DIALOG_SETTINGS");
    return 0;
}

int SceneLobby::onTrophies(void* scene, void* /*button*/) {
    static_cast<SceneLobby*>(scene)->showDialogNamed("DIALOG_TROPHY");
    return 0;
}

int SceneLobby::onQuit(void* /*scene*/, void* /*button*/) {
    showQuitDialog();
    return 0;
}

} // namespace orv
