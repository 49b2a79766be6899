#include "game/scenes/SceneOrvanta.h"

#include "engine/core/Log.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionScene.h"
#include "game/board/Game.h"
#include "game/dialogs/DialogNotice.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/players/AbstractPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerNotices.h"
#include "game/scenes/BuildingServices.h"

#include <chrono>
#include <set>
#include <string>

namespace orv {

constinit const ClassRecord SceneOrvanta::classRecord{"SceneOrvanta",
                                                      parentRecords<Scene::classRecord>};

namespace {

// Saved games that failed to resume in this run, by game mode: they are not
// offered again.
std::set<int>& failedResumes() {
    static std::set<int> modes;
    return modes;
}

// How long the quit question waits for its section before it opens anyway.
constexpr std::chrono::milliseconds kQuitSectionWait{10000};

int quitConfirmed(void* /*context*/, void* /*button*/) {
    if (Scene* scene = getShownScene()) {
        if (Dialog* question = scene->findDialog(kQuitQuestion)) {
            scene->closeDialog(question);
        }
    }
    getBuildingServices().quitGame();
    return 0;
}

} // namespace

SceneOrvanta::SceneOrvanta(PropertyNode* definition) : Scene(definition) {}

BaseObject* SceneOrvanta::createFromDefinition(PropertyNode* definition) {
    return new SceneOrvanta(definition);
}

void SceneOrvanta::open() {
    getBuildingServices().savePlayers();
    Scene::open();
    DialogNotice::showWaiting(*this);
}

void SceneOrvanta::close() {
    // A place left with its saved-game question still open takes the
    // question away: its answer would act on a scene no longer shown.
    if (Dialog* question = findDialog(kSavedGameQuestion)) {
        closeDialog(question);
    }
    Scene::close();
}

void SceneOrvanta::onQuitRequest() {
    showQuitDialog();
}

bool SceneOrvanta::hasSavedGame(int gameMode) {
    return getBuildingServices().hasSavedGame(gameMode);
}

void SceneOrvanta::offerSavedGame(int gameMode, Scene& scene) {
    SceneManager* manager = SceneManager::getInstance();
    if (manager == nullptr) {
        return;
    }
    const Scene* previous = manager->getPrevious();
    if (previous == nullptr || (previous != manager->getScene("SCENE_ELEVATOR") &&
                                previous != manager->getScene("SCENE_LOBBY"))) {
        return;
    }
    if (failedResumes().contains(gameMode) || !hasSavedGame(gameMode)) {
        return;
    }
    scene.setTag(gameMode);
    Dialog* question = askQuestion(scene, kSavedGameQuestion, "CTEXT_SAVEGAME_HEADER",
                                   &SceneOrvanta::resumeSavedGame, &scene);
    if (question == nullptr) {
        return;
    }
    if (auto* yes = kindCast<Sprite>(question->findComponent("BUTTON_YES"))) {
        yes->setToolTip(getText("CTOOLTIP_SAVEGAME_YES"));
    }
    if (auto* no = kindCast<Sprite>(question->findComponent("BUTTON_NO"))) {
        no->setToolTip(getText("CTOOLTIP_SAVEGAME_NO"));
    }
    scene.showDialog(question);
}

int SceneOrvanta::resumeSavedGame(void* scene, void* /*button*/) {
    auto* self = static_cast<Scene*>(scene);
    if (Dialog* question = self->findDialog(kSavedGameQuestion)) {
        self->closeDialog(question);
    }
    getBuildingServices().releaseSavedGame();
    const int gameMode = self->getTag();
    if (!Game::resumeSaved(gameMode)) {
        logWarning("the saved game of game mode " + std::to_string(gameMode) +
                   " cannot be resumed; it is not offered again");
        failedResumes().insert(gameMode);
        std::string file;
        if (const PlayerManager* players = PlayerManager::get();
            players != nullptr && players->getCurrentPlayer() != nullptr) {
            file = describeFileForPlayer(players->getSavedGameFile(
                players->getCurrentPlayer()->getName(), std::to_string(gameMode)));
        }
        postPlayerNotice({PlayerNoticeKind::SavedGameUnusable, {}, file, {}});
        DialogNotice::showWaiting(*self);
        return 0;
    }
    switchScene("game", "TRANSITION_DEFAULT", "SCENE_GAME");
    return 0;
}

void SceneOrvanta::clearFailedResumes() {
    failedResumes().clear();
}

void switchScene(std::string_view section, std::string_view transition,
                 std::string_view sceneName) {
    SceneManager* manager = SceneManager::getInstance();
    if (manager == nullptr) {
        return;
    }
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->clearRequests();
        if (!section.empty()) {
            resources->requestSection(section);
        }
    }
    if (!transition.empty()) {
        static_cast<void>(manager->setTransition(transition));
    }
    Scene* next = manager->getScene(sceneName);
    if (next == nullptr) {
        logWarning("scene '" + std::string(sceneName) + "' does not exist yet");
        return;
    }
    manager->setNextScene(next);
}

Scene* getShownScene() {
    SceneManager* manager = SceneManager::getInstance();
    return manager != nullptr ? manager->getCurrentScene() : nullptr;
}

Dialog* askQuestion(Scene& scene, std::string_view messageKey, std::string_view headerKey,
                    GuiFunction yes, void* yesContext) {
    return DialogYesNo::ask(messageKey, headerKey, yesContext, yes, nullptr, nullptr, &scene);
}

void tellRoomUnreadable(Scene& scene, std::string_view file) {
    postPlayerNotice({PlayerNoticeKind::RoomUnreadable, {}, std::string(file), {}});
    DialogNotice::showWaiting(scene);
}

void showQuitDialog() {
    Scene* scene = getShownScene();
    if (scene == nullptr || scene->isDialogOpen(kQuitQuestion)) {
        return;
    }
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->requestSection("default");
        if (!resources->waitForRequests(kQuitSectionWait)) {
            logWarning("the section \"default\" did not load for the quit question");
        }
    }
    if (Dialog* question =
            askQuestion(*scene, kQuitQuestion, "CTEXT_QUIT_HEADER", &quitConfirmed, nullptr)) {
        scene->showDialog(question);
    }
}

} // namespace orv
