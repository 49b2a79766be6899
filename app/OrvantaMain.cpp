#include "app/OrvantaMain.h"

#include "app/AppServices.h"
#include "engine/core/Log.h"
#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/TimedTaskManager.h"
#include "engine/gui/FullScreenHandler.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/LogFile.h"
#include "engine/platform/MainLoop.h"
#include "engine/platform/SettingsManager.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ImageManager.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceObject.h"
#include "engine/resources/ResourceSection.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/AbstractToolTip.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Platform.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/board/TileManager.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/dialogs/OrvantaGameSettings.h"
#include "game/minigame/MiniGameClasses.h"
#include "game/players/DataGathering.h"
#include "game/players/HighScoreManager.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerNotices.h"
#include "game/players/PlayerServices.h"
#include "game/scenes/BuildingServices.h"
#include "game/scenes/GameSceneClasses.h"
#include "game/scenes/SceneOrvanta.h"
#include "game/screen/ProfileHooks.h"
#include "game/screen/RendererDisplay.h"
#include "game/screen/SceneGame.h"
#include "game/screen/ScreenClasses.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace orv {

constinit const ClassRecord OrvantaMain::classRecord{"OrvantaMain",
                                                     parentRecords<BaseObject::classRecord>};

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kIconId = 102;
constexpr const char* kArchiveName = "media.dat";

OrvantaMain* instance = nullptr;
std::uint32_t startMs = 0;

// Logs once how long the program took from its start to its first presented
// frame (the last task of the first frame).
class FirstFrameNote : public Task {
public:
    void run(int /*elapsedMs*/) override {
        if (!noted_) {
            noted_ = true;
            std::string note = "first frame presented ";
            note += std::to_string(platform::getMilliseconds() - startMs);
            note += " ms after the start";
            logInfo(note);
        }
    }

private:
    bool noted_ = false;
};
std::function<void(std::string_view)> stepObserver;

void step(std::string_view name) {
    if (stepObserver) {
        stepObserver(name);
    }
}

constexpr std::array<const char*, 9> kDefinitionFiles{"dialogs",    "default",    "dynamic",
                                                      "commontext", "text",       "mahjong",
                                                      "places",     "trophyroom", "tutorial"};
constexpr std::array<const char*, 4> kStartSections{"splash", "music", "common", "preloading"};
constexpr std::array<const char*, 3> kBackgroundSections{"default", "lobby", "trophy"};
// Every scene start-up creates, in this order; those no one has built yet
// are logged as missing and the rest runs.
constexpr std::array<const char*, 9> kSceneNames{"SCENE_SPLASH", "SCENE_CASINO",  "SCENE_ELEVATOR",
                                                 "SCENE_GAME",   "SCENE_HALLWAY", "SCENE_LOAD",
                                                 "SCENE_LOBBY",  "SCENE_RECROOM", "SCENE_ROOF"};

void registerClasses() {
    registerPropertyClasses();
    registerNodeClasses();
    registerResourceClasses();
    registerSoundClasses();
    registerSceneClasses();
    registerGuiClasses();
    registerBoardClasses();
    registerPlayerClasses();
    registerDialogClasses();
    registerMiniGameClasses();
    registerScreenClasses();
    registerGameSceneClasses();
}

// The first of the start-up sections' resources that failed to load, as
// "section/name"; empty when all loaded.
std::string firstBrokenResource(ResourceManager& resources) {
    const platform::NamedMutexGuard guard(resources.getDataLock());
    for (const char* name : kStartSections) {
        ResourceSection* section = resources.findSection(name);
        if (section == nullptr) {
            return std::string(name) + " (no such section)";
        }
        for (const auto& [id, object] : section->getObjects()) {
            if (object && object->hasError()) {
                return std::string(name) + "/" + id;
            }
        }
    }
    return {};
}

void installToolTip() {
    SceneManager* scenes = SceneManager::getInstance();
    PropertyNode* definition =
        asNode(getDefinitionStore().getTemplates()->getChild("DEFAULT_TOOLTIP"));
    RefPtr<BaseObject> object(
        ObjectFactoryContainer::get().createObject(definition->getTypeName(), definition));
    if (auto* toolTip = kindCast<AbstractToolTip>(object.get()); toolTip != nullptr && scenes) {
        scenes->setToolTip(toolTip);
    } else {
        logWarning("the template \"DEFAULT_TOOLTIP\" builds no tooltip");
    }
}

void setWindowIcon(GameWindow& window) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    if (auto* icon = kindCast<Image>(resources->getObject("IMAGE_ICON", "splash"))) {
        static_cast<void>(window.setIconImage(*icon));
    }
}

// What is saved only after a normal quit, then every release in its order.
void shutDown(int exitCode) {
    // The level in progress is kept for the next start, after any quit (a
    // level in play means the start did run), while everything it needs is
    // still there: the player manager writes it.
    if (SceneGame* screen = SceneGame::getInstance()) {
        screen->save();
        step("save level");
    }
    if (exitCode == 0) {
        if (Game* game = Game::getCurrent()) {
            game->closeLevelSession();
            step("close level session");
        }
        if (DataGathering* record = DataGathering::get(); record && !record->isSessionClosed()) {
            record->closeSession();
        }
        if (HighScoreManager* scores = HighScoreManager::get()) {
            static_cast<void>(scores->save());
        }
        if (PlayerManager* players = PlayerManager::get()) {
            static_cast<void>(players->savePlayers());
        }
        step("save");
        if (GameWindow* window = GameWindow::getInstance()) {
            window->destroyWindow();
            step("destroy window");
        }
    }
    auto release = [](std::string_view what, auto&& action) {
        action();
        step(std::string("release:") + std::string(what));
    };
    if (ImageManager::getInstance() != nullptr) {
        release("image manager", [] { ImageManager::destroyInstance(); });
    }
    if (FullScreenHandler::getInstance() != nullptr) {
        release("full-screen handler", [] { FullScreenHandler::destroyInstance(); });
    }
    release("timed task manager", [] { TimedTaskManager::destroyInstance(); });
    release("hint dialog", [] { DialogHint::releaseCurrent(); });
    if (SceneManager::getInstance() != nullptr) {
        release("scene manager", [] { SceneManager::destroyInstance(); });
    }
    if (PlayerManager::get() != nullptr) {
        release("player manager", [] { PlayerManager::destroyInstance(); });
    }
    setBuildingServices(nullptr);
    setPlayerHook(nullptr);
    setPlayerGreeting(nullptr);
    release("definition store", [] { destroyDefinitionStore(); });
    if (GameWindow::getInstance() != nullptr) {
        release("window", [] { GameWindow::setInstance(nullptr); });
    }
    if (SoundManager::getInstance() != nullptr) {
        release("sound manager", [] { SoundManager::destroyInstance(); });
    } else {
        // A start that ended before the sound manager existed still ends the
        // output it began to open.
        getSoundOutput().close();
    }
    if (ResourceManager::getInstance() != nullptr) {
        release("resource manager", [] { ResourceManager::destroyInstance(); });
    }
    if (HighScoreManager::get() != nullptr) {
        release("high-score manager", [] { HighScoreManager::destroyInstance(); });
    }
    if (SettingsManager* settings = SettingsManager::get()) {
        release("settings manager", [settings] {
            settings->save();
            SettingsManager::destroyInstance();
        });
    }
    release("object factory", [] { ObjectFactoryContainer::destroyInstance(); });
    release("random generator", [] { RandomGenerator::destroyInstance(); });
    // Closed even after a refused start; nothing happens without a record.
    release("usage record", [] { DataGathering::finish(); });
    release("settings tables", [] { BasicProperties::destroyInstance(); });
    release("archive", [] { FileArchive::shutDown(); });
    release("crash marker", [] { setCrashMarker(); });
    if (TileManager::get() != nullptr) {
        release("tile manager", [] { TileManager::destroyInstance(); });
    }
    release("level sets", [] { destroyLevelSets(); });
    Game::destroyCurrent();
    Game::setServices(nullptr);
    setScreenPlayer(nullptr);
    setPlayerHook(nullptr);
    setBoardDisplayFactory(nullptr);
    SceneGame::setQuitQuestion(nullptr);
    releaseInstanceLock();
}

} // namespace

OrvantaMain* OrvantaMain::getInstance() {
    return instance;
}

void OrvantaMain::refuse(const std::string& reason) {
    exitCode_ = kRefusedExitCode;
    std::fprintf(stderr, "orvanta: %s\n", reason.c_str());
    std::fflush(stderr);
    if (SoundManager::getInstance() == nullptr) {
        // The message box runs in a process of its own: no audio probe may be
        // half-way through SDL's start-up on another thread when it forks.
        getSoundOutput().close();
    }
    const std::string title =
        getGameName().empty() ? std::string("Orvanta Mahjong") : getGameName();
    platform::showMessageBox(platform::MessageBoxKind::Error, title, reason);
    step("refused");
}

bool OrvantaMain::startEngine() {
    startMs = platform::getMilliseconds();
    platform::keepLargeBlocksApart();
    registerClasses();
    static_cast<void>(LogFile::getInstance(0, 2));
    FileArchive::setUp(ArchiveMode::File, "");
    const std::string folder = platform::getCurrentFolder();
    if (!platform::pathExists(kArchiveName)) {
        refuse("The game's data file media.dat is missing from " + folder +
               ".\nPlease install the game again.");
        return false;
    }
    if (FileArchive::getGlobalMode() != ArchiveMode::Zip) {
        refuse("The game's data file media.dat in " + folder +
               " is damaged and cannot be opened.\nPlease install the game again.");
        return false;
    }
    step("archive");
    // The audio driver's probe is slow without a sound card; it runs while
    // the property files are read, and the sound manager takes its result.
    getSoundOutput().prepare();
    BasicProperties::create();
    DefinitionStore& store = getDefinitionStore();
    store.setConstantsHook(new GameConstants());
    for (const char* name : kDefinitionFiles) {
        store.addFile(std::string("media/properties/") + name + ".xml");
    }
    store.load();
    if (getGameName().empty()) {
        refuse("The game's data file media.dat in " + folder +
               " is damaged: its settings cannot be read.\nPlease install the game again.");
        return false;
    }
    step("definitions");
    if (isAnotherInstanceRunning()) {
        exitCode_ = kRefusedExitCode;
        step("another instance");
        return false;
    }
    ImageManager* images = ImageManager::create();
    images->setAutoCompress(BasicProperties::get()->getBoolean("AUTO_COMPRESS"));
    CrashMarker::create();
    LogFile::getInstance(0, 2).open();
    RandomGenerator::createInstance(platform::getMilliseconds(), 0);
    std::srand(platform::getMilliseconds());
    SceneManager::create();
    SettingsManager& settings = SettingsManager::create(std::make_unique<OrvantaGameSettings>());
    if (const std::string problem = platform::getSettingsStoreProblem(); !problem.empty()) {
        postPlayerNotice({PlayerNoticeKind::SettingsOutOfReach,
                          {},
                          describeFileForPlayer(platform::getSettingsStorePath()),
                          problem});
    }
    SoundManager* sound = SoundManager::create(44100, 0, 32);
    if (platform::isAudioEnabled()) {
        sound->setMusicVolume(static_cast<std::uint8_t>(settings.getSettings().getMusicVolume()));
        sound->setSfxVolume(static_cast<std::uint8_t>(settings.getSettings().getSoundVolume()));
    }
    step("sound");
    return true;
}

bool OrvantaMain::openWindow() {
    SettingsManager& settings = *SettingsManager::get();
    // The window itself goes full screen on a desktop no larger than it.
    GameWindow* window = createGameWindow(getGameName(), kWidth, kHeight,
                                          settings.getSettings().getFullScreen(), 0, kIconId);
    if (window->hasFailed()) {
        exitCode_ = kWindowFailureExitCode;
        step("window failed");
        return false;
    }
    window->setCursor(1);
    connectCloseRequest(*window);
    // The usage record asks for the desktop's mode: with the window open that
    // query shares its video connection instead of opening one of its own.
    DataGathering::start();
    step("window");
    return true;
}

bool OrvantaMain::requestStartSections() {
    ResourceManager* resources = ResourceManager::create();
    resources->addDefinitionFile("media/properties/resources.xml");
    if (!resources->loadDefinitions()) {
        refuse("The game's data file media.dat in " + platform::getCurrentFolder() +
               " is damaged: its list of pictures and sounds cannot be read.\nPlease install the "
               "game again.");
        return false;
    }
    resources->setStarted(true);
    for (const char* section : kStartSections) {
        resources->requestSection(section);
    }
    return true;
}

bool OrvantaMain::loadStartSections() {
    ResourceManager* resources = ResourceManager::getInstance();
    if (!resources->waitForRequests(std::chrono::milliseconds(kStartSectionsLimitMs))) {
        refuse("The game's data could not be read from media.dat within " +
               std::to_string(kStartSectionsLimitMs / 1000) + " seconds.");
        return false;
    }
    if (const std::string broken = firstBrokenResource(*resources); !broken.empty()) {
        refuse("The game's data file media.dat is damaged: " + broken +
               " cannot be read.\nPlease install the game again.");
        return false;
    }
    resources->clearRequests();
    for (const char* section : kBackgroundSections) {
        resources->requestSection(section);
    }
    if (GameWindow* window = GameWindow::getInstance()) {
        setWindowIcon(*window);
    }
    step("start sections");
    return true;
}

void OrvantaMain::createScenes() {
    SceneManager* scenes = SceneManager::getInstance();
    for (const char* name : kSceneNames) {
        if (scenes->addScene(name) == nullptr) {
            logInfo(std::string("scene ") + name + " is missing: it is not built yet");
        }
    }
    scenes->setNextScene(scenes->getScene("SCENE_SPLASH"));
    installToolTip();
    step("scenes");
}

int OrvantaMain::run() {
    exitCode_ = 0;
    if (!startEngine() || !requestStartSections() || !openWindow() || !loadStartSections()) {
        return exitCode_;
    }
    HighScoreManager::create(true, "").load();
    PlayerManager::create(true, "").loadPlayers();
    static PlayerServices playerServices;
    Game::setServices(&playerServices);
    static ProfileScreenPlayer screenPlayer;
    setScreenPlayer(&screenPlayer);
    static ProfilePlayerHook playerHook;
    setPlayerHook(&playerHook);
    setBoardDisplayFactory(&RendererDisplay::create);
    SceneGame::setQuitQuestion(&showQuitDialog);
    step("players");
    createScenes();
    TimedTaskManager& frames = TimedTaskManager::getInstance();
    frames.setFrameRate(60);
    frames.addTask(SceneManager::getInstance());
    frames.addTask(GameWindow::getInstance());
    frames.addTask(ImageManager::getInstance());
    frames.addTask(SoundManager::getInstance());
    if (FullScreenHandler* handler = FullScreenHandler::create("DEFAULT_FSH")) {
        handler->setPosition(kWidth, 0);
    }
    TileManager::create();
    // Last, after the full-screen handler's own task: the frame is presented.
    const RefPtr<FirstFrameNote> firstFrame(new FirstFrameNote());
    frames.addTask(firstFrame.get());
    step("main loop");
    return runMainLoop(*GameWindow::getInstance(), frames);
}

int OrvantaMain::quit(void* /*context*/, void* /*argument*/) {
    if (Game* game = Game::getCurrent()) {
        if (RefPtr<PropertyNode> event = game->logCustomEvent()) {
            event->addNamedBool("gameQuit", true, false);
        }
    }
    platform::postQuitMessage(0);
    return 0;
}

void setStepObserver(std::function<void(std::string_view step)> observer) {
    stepObserver = std::move(observer);
}

int runProgram(const std::string& folder) {
    if (!platform::setCurrentFolder(folder)) {
        std::fprintf(stderr, "orvanta: cannot enter the program's folder %s\n", folder.c_str());
        return OrvantaMain::kRefusedExitCode;
    }
    AppServices services;
    setBuildingServices(&services);
    RefPtr<OrvantaMain> main(new OrvantaMain());
    instance = main.get();
    const int exitCode = main->run();
    instance = nullptr;
    main = nullptr;
    shutDown(exitCode);
    return exitCode;
}

} // namespace orv
