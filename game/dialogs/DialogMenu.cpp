#include "game/dialogs/DialogMenu.h"

#include "engine/gui/Button.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogYesNo.h"

namespace orv {

constinit const ClassRecord DialogMenu::classRecord{"DialogMenu",
                                                    parentRecords<DialogOrvanta::classRecord>};
constinit const ClassRecord DialogRoomMenu::classRecord{"DialogRoomMenu",
                                                        parentRecords<DialogOrvanta::classRecord>};

namespace {

Scene* playingScreen() {
    PlayingScreenHook* screen = getPlayingScreenHook();
    return screen != nullptr ? screen->getScene() : nullptr;
}

Scene* shownScene() {
    const SceneManager* scenes = SceneManager::getInstance();
    return scenes != nullptr ? scenes->getCurrentScene() : nullptr;
}

// The game dialog that holds `node` among its components, or null.
DialogOrvanta* owningDialog(GameNode* node) {
    for (GameNode* up = node; up != nullptr; up = up->getParent()) {
        if (auto* dialog = kindCast<DialogOrvanta>(up)) {
            return dialog;
        }
    }
    return nullptr;
}

} // namespace

Dialog* showDialogIn(Scene* scene, std::string_view name) {
    if (scene == nullptr) {
        return nullptr;
    }
    Dialog* dialog = scene->getDialog(name);
    scene->showDialog(dialog);
    return dialog;
}

DialogMenu::DialogMenu(PropertyNode* definition) : DialogOrvanta(definition) {
    static_cast<void>(bindComponent("BUTTON_HELP", &DialogMenu::onHelp, this));
    static_cast<void>(bindComponent("BUTTON_SETTINGS", &DialogMenu::onSettings, this));
    static_cast<void>(bindComponent("BUTTON_STOP", &DialogMenu::onStop, this));
    static_cast<void>(bindComponent("BUTTON_RESUME", &DialogMenu::onResume, this));
    static_cast<void>(bindComponent("BUTTON_TROPHY", &DialogMenu::onTrophy, this));
}

BaseObject* DialogMenu::createFromDefinition(PropertyNode* definition) {
    return new DialogMenu(definition);
}

std::string_view DialogMenu::stopQuestionKey(const Level* level) {
    return level != nullptr && level->getPlace() == Place::Hallway ? "TEXT_MENU_STOP_QUENBY"
                                                                   : "CTEXT_MENU_STOP";
}

int DialogMenu::onHelp(void* /*menu*/, void* /*button*/) {
    showDialogIn(playingScreen(), "DIALOG_HELP");
    return 0;
}

int DialogMenu::onSettings(void* /*menu*/, void* /*button*/) {
    showDialogIn(playingScreen(), "DIALOG_SETTINGS");
    return 0;
}

int DialogMenu::onStop(void* menu, void* /*button*/) {
    Scene* screen = playingScreen();
    const Game* game = Game::getCurrent();
    DialogYesNo* question = DialogYesNo::ask(
        stopQuestionKey(game != nullptr ? game->getLevel() : nullptr), "CTEXT_MENU_STOP_HEADER",
        menu, &DialogMenu::onStopConfirmed, nullptr, nullptr, screen);
    if (question != nullptr) {
        screen->showDialog(question);
    }
    return 0;
}

int DialogMenu::onStopConfirmed(void* menu, void* button) {
    // The screen is left in the next frame and stops animating: a fade
    // would never end there, so both dialogs leave now.
    closeAtOnce(owningDialog(static_cast<GameNode*>(static_cast<Button*>(button))));
    closeAtOnce(static_cast<DialogMenu*>(menu));
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->stopLevel();
    }
    return 0;
}

int DialogMenu::onResume(void* menu, void* /*button*/) {
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->showBoard();
    }
    return justClose(menu, nullptr);
}

int DialogMenu::onTrophy(void* /*menu*/, void* /*button*/) {
    showDialogIn(playingScreen(), "DIALOG_TROPHY");
    return 0;
}

DialogRoomMenu::DialogRoomMenu(PropertyNode* definition) : DialogOrvanta(definition) {
    static_cast<void>(bindComponent("BUTTON_HELP", &DialogRoomMenu::onHelp, this));
    static_cast<void>(bindComponent("BUTTON_SETTINGS", &DialogRoomMenu::onSettings, this));
    static_cast<void>(bindComponent("BUTTON_LOBBY", &DialogRoomMenu::onLobby, this));
    static_cast<void>(bindComponent("BUTTON_RESUME", &DialogOrvanta::justClose, this));
}

BaseObject* DialogRoomMenu::createFromDefinition(PropertyNode* definition) {
    return new DialogRoomMenu(definition);
}

int DialogRoomMenu::onHelp(void* /*menu*/, void* /*button*/) {
    showDialogIn(shownScene(), "DIALOG_HELP");
    return 0;
}

int DialogRoomMenu::onSettings(void* /*menu*/, void* /*button*/) {
    showDialogIn(shownScene(), "DIALOG_SETTINGS");
    return 0;
}

int DialogRoomMenu::onLobby(void* menu, void* /*button*/) {
    closeAtOnce(static_cast<DialogRoomMenu*>(menu));
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->clearRequests();
        resources->requestSection("lobby");
    }
    if (SceneManager* scenes = SceneManager::getInstance()) {
        static_cast<void>(scenes->setTransition("TRANSITION_DEFAULT"));
        scenes->setNextScene(scenes->getScene("SCENE_LOBBY"));
    }
    return 0;
}

} // namespace orv
