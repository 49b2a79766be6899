// A look at one game dialog in a real window, on the game's own data, so that
// its layout, fades and sounds can be checked by eye and on screenshots.
//
//     orvanta_dialogs DIALOG_NAME [seconds] [folder]
//
// The dialog opens over the lobby wall, filled with sample contents where it
// needs some (a question, host tip 3, a hallway room, a won casino level with
// a record, the first trophy's announcement). "DIALOG_LEVEL_END_LOST" shows
// the level end of a lost game and "DIALOG_BRASTOW_HINT_N" tip N,
// "DIALOG_HINT_N" tutorial hint N (15 to 28) over a sample playing screen,
// pointing where the game points it (a bar, a tile of the sample board, or
// nowhere), "DIALOG_NOTICE_N" the notice of kind N (see PlayerNoticeKind),
// "DIALOG_KILLER_STONES_N" the falling-tiles game with pick-up N already
// taken (its scores go to a folder under /tmp). A number of seconds ends the
// viewer by itself; closing the window ends it too. `folder` is the program
// folder (default: the build's app folder).

#include "engine/core/TimedTaskManager.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/GuiClasses.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/MainLoop.h"
#include "engine/platform/SettingsManager.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"
#include "game/board/Level.h"
#include "game/board/Tile.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogNotice.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/dialogs/OrvantaGameSettings.h"
#include "game/minigame/DialogKillerStones.h"
#include "game/minigame/MiniGameClasses.h"
#include "game/players/HighScoreManager.h"
#include "game/players/TrophyList.h"
#include "tools/support/ToolStartUp.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace orv;

// A player to fill the host's tips and the bests with.
class SamplePlayer : public PlayerHook {
public:
    std::optional<std::wstring> getPlayerName() override { return L"Robin"; }
    std::optional<bool> getShowHints() override { return showHints_; }
    void setShowHints(bool show) override { showHints_ = show; }
    BestResult getBest(const Level& /*level*/) override { return {18250, 241000}; }
    bool isBestBetweenSilverAndGold(const Level& /*level*/) override { return true; }

private:
    bool showHints_ = true;
};

// A notice of `kind` as the game would post it.
PlayerNotice sampleNotice(PlayerNoticeKind kind) {
    const std::string players = "~/.local/share/Vantrel/Games/Orvanta Mahjong/players/";
    switch (kind) {
    case PlayerNoticeKind::PlayersListSetAside:
        return {kind, {}, players + "players.plrs.!.unreadable-20240514-093012", {}};
    case PlayerNoticeKind::ProfileSetAside:
        return {kind, "Robin", players + "-52-obin.plr.!.unreadable-20240514-093012", {}};
    case PlayerNoticeKind::FileKept:
    case PlayerNoticeKind::FileOutOfReach:
        return {kind, {}, players + "-52-obin.plr.!", {}};
    case PlayerNoticeKind::ProgressNotSaved:
        return {kind, {}, "~/.local/share/Vantrel/Games/Orvanta Mahjong/players", {}};
    case PlayerNoticeKind::SavedGameUnusable:
        return {kind,
                {},
                "~/.local/share/Vantrel/Games/Orvanta Mahjong/savegames/-52-obin/1.sav.!",
                {}};
    case PlayerNoticeKind::RoomUnreadable:
        return {kind, {}, "media/levels/turtle.xml", {}};
    case PlayerNoticeKind::SettingsOutOfReach:
        return {kind,
                {},
                "~/.config/Vantrel/Games/settings.reg",
                "is a link to /home/robin/notes.txt, which is no settings store this program can "
                "read"};
    }
    return {kind, {}, {}, {}};
}

// The tutorial hints look for the scene they open on through the playing
// screen's hook: the viewer's scene stands in for it.
class SampleScreen : public PlayingScreenHook {
public:
    explicit SampleScreen(Scene& scene) : scene_(scene) {}
    Scene* getScene() override { return &scene_; }
    void dialogOpened(Dialog* /*dialog*/) override {}
    void dialogClosed(Dialog* /*dialog*/) override {}
    void showBoard() override {}
    void startLevel() override {}
    void stopLevel() override {}
    bool isRoomInfoState() override { return false; }
    GameNode* getEffectLayer() override { return nullptr; }
    void showStarBurst(Sprite* /*target*/) override {}

private:
    Scene& scene_;
};

// The sample board of the hint viewer: a block of tiles on the cloth, each a
// tile body with a face of the first tile set, as the board draws them.
constexpr int kBoardColumns = 7;
constexpr int kBoardRows = 4;
constexpr int kBoardX = 196;
constexpr int kBoardY = 170;

Rect sampleTileRect(int column, int row) {
    return Rect{kBoardX + column * RENDERER_TILE_FACE_WIDTH,
                kBoardY + row * RENDERER_TILE_FACE_HEIGHT, TILE_WIDTH, TILE_HEIGHT};
}

void addSampleBoard(Scene& scene) {
    // Rows from the back, so that each row's edges lie under the next one.
    for (int row = 0; row < kBoardRows; ++row) {
        for (int column = kBoardColumns - 1; column >= 0; --column) {
            // Flowers (suit 5) in the top corners, seasons (suit 6) in the bottom ones, the
            // ordinary suits between them.
            const bool corner =
                (column == 0 || column == kBoardColumns - 1) && (row == 0 || row == kBoardRows - 1);
            const int suit = corner ? (row == 0 ? 5 : 6) : (column + row) % 5;
            const int idx = corner ? column % 4 : (column * 3 + row) % (suit >= 3 ? 3 : 9);
            const RefPtr<Image> picture = makeTilePicture(suit, idx);
            if (picture == nullptr) {
                return;
            }
            const Rect place = sampleTileRect(column, row);
            const RefPtr<Sprite> tile(new Sprite(place.x, place.y, picture.get()));
            scene.addComponent(tile.get());
        }
    }
}

// Where the game points tutorial hint `hint` on the sample screen: the bars
// of the console, a tile of the sample board, or nowhere (centred).
std::optional<Rect> sampleHintAnchor(int hint) {
    const Rect bonusFill{702, 300, 24, 212};
    const Rect timeTube{750, 292, 40, 228};
    switch (hint) {
    case 15:
        return bonusFill;
    case 16:
        return timeTube;
    case 17:
        return Rect{bonusFill.x, bonusFill.y + bonusFill.height / 2, bonusFill.width, 1};
    case 18:
        return sampleTileRect(0, 0);
    case 19:
        return sampleTileRect(kBoardColumns - 1, kBoardRows - 1);
    case 22:
        return sampleTileRect(2, 1);
    case 24:
        return sampleTileRect(4, 2);
    case 25:
        return sampleTileRect(5, 1);
    case 26:
        return sampleTileRect(1, 2);
    case 27: {
        const Rect first = sampleTileRect(1, 0);
        const Rect second = sampleTileRect(3, 0);
        return Rect{first.x, first.y, second.x + second.width - first.x, first.height};
    }
    case 28:
        return sampleTileRect(3, 3);
    default:
        return std::nullopt;
    }
}

// Opens the dialog once the scene is shown and ends the viewer after its time.
class Director : public Task {
public:
    Director(Scene& scene, std::string name, int limitMs)
        : scene_(scene), name_(std::move(name)), limitMs_(limitMs) {}
    void run(int elapsedMs) override {
        if (!shown_ && scene_.getState() == SceneState::Current) {
            shown_ = true;
            show();
        }
        elapsed_ += elapsedMs;
        if (limitMs_ > 0 && elapsed_ >= limitMs_ && !posted_) {
            platform::postMessage({platform::WM_CLOSE, 0, 0});
            posted_ = true;
        }
    }

private:
    void show() {
        const std::string tipPrefix = "DIALOG_BRASTOW_HINT_";
        const std::string hintPrefix = "DIALOG_HINT_";
        const std::string noticePrefix = std::string(DialogNotice::kName) + "_";
        if (name_.rfind(hintPrefix, 0) == 0 || name_ == "DIALOG_HINT") {
            const int hint = name_.size() > hintPrefix.size()
                                 ? std::atoi(name_.c_str() + hintPrefix.size())
                                 : DialogHint::kFirstHint;
            addSampleBoard(scene_);
            if (!DialogHint::showHint(sampleHintAnchor(hint), hint, true, nullptr)) {
                std::fprintf(stderr, "dialogs: no tutorial hint %d\n", hint);
            }
        } else if (name_ == "DIALOG_YESNO") {
            scene_.showDialog(DialogYesNo::ask("CTEXT_MENU_STOP", "CTEXT_MENU_STOP_HEADER", nullptr,
                                               nullptr, nullptr, nullptr, &scene_));
        } else if (name_.rfind(tipPrefix, 0) == 0 || name_ == "DIALOG_BRASTOW_HINT") {
            const int tip =
                name_.size() > tipPrefix.size() ? std::atoi(name_.c_str() + tipPrefix.size()) : 3;
            auto* dialog = kindCast<DialogBrastowHint>(scene_.getDialog("DIALOG_BRASTOW_HINT"));
            if (dialog != nullptr) {
                dialog->showTip(tip);
            }
            scene_.showDialog(dialog);
        } else if (name_.rfind(noticePrefix, 0) == 0 || name_ == DialogNotice::kName) {
            const int kind = name_.size() > noticePrefix.size()
                                 ? std::atoi(name_.c_str() + noticePrefix.size())
                                 : 0;
            postPlayerNotice(sampleNotice(static_cast<PlayerNoticeKind>(kind)));
            DialogNotice::showWaiting(scene_);
        } else if (name_ == "DIALOG_LEVEL_INFO") {
            const RefPtr<PropertyNode> definition(new PropertyNode("Level", "level"));
            definition->add(new PropertyValue("gameType", std::string_view("Split")));
            const RefPtr<Level> level(new Level(definition.get()));
            level->setPlace(Place::Hallway);
            level->setFloor(12);
            level->setRoom(3);
            auto* dialog = kindCast<DialogLevelInfo>(scene_.getDialog("DIALOG_LEVEL_INFO"));
            if (dialog != nullptr) {
                dialog->setInfo(*level);
            }
            scene_.showDialog(dialog);
        } else if (name_ == "DIALOG_LEVEL_END" || name_ == "DIALOG_LEVEL_END_LOST") {
            const bool lost = name_ == "DIALOG_LEVEL_END_LOST";
            DialogLevelEnd::setPreviousBest({18250, 241000});
            auto* dialog = kindCast<DialogLevelEnd>(scene_.getDialog("DIALOG_LEVEL_END"));
            if (dialog != nullptr) {
                dialog->setResult({Place::Casino, !lost, lost ? 9400 : 23675, 0});
            }
            scene_.showDialog(dialog);
        } else if (name_ == "DIALOG_TROPHY_INFO") {
            // The first trophy, as the playing screen announces it; its
            // picture comes from the section "trophy".
            if (ResourceManager* resources = ResourceManager::getInstance()) {
                resources->requestSection("trophy");
                static_cast<void>(resources->waitForRequests(std::chrono::seconds(10)));
            }
            auto* box = kindCast<DialogTrophyInfo>(scene_.getDialog("DIALOG_TROPHY_INFO"));
            const RefPtr<TrophyList> trophies(new TrophyList());
            if (box != nullptr) {
                box->setTrophy(trophies->get(0));
            }
            scene_.showDialog(box);
        } else if (name_.rfind(DialogKillerStones::kName, 0) == 0) {
            auto* game = kindCast<DialogKillerStones>(scene_.getDialog(DialogKillerStones::kName));
            scene_.showDialog(game);
            if (game != nullptr && name_.size() > DialogKillerStones::kName.size() + 1) {
                game->grantPickup(std::atoi(name_.c_str() + DialogKillerStones::kName.size() + 1));
            }
        } else {
            scene_.showDialog(scene_.getDialog(name_));
        }
    }

    Scene& scene_;
    std::string name_;
    int limitMs_;
    int elapsed_ = 0;
    bool shown_ = false;
    bool posted_ = false;
};

bool startUp() {
    tools::startDefinitions({registerResourceClasses, registerSoundClasses, registerGuiClasses,
                             registerDialogClasses, registerMiniGameClasses},
                            ORVANTA_DIALOGS_DEFINITIONS);
    SettingsManager::create(std::make_unique<OrvantaGameSettings>());
    // The falling-tiles game enters its scores: into a folder of the viewer's own.
    // The tutorial's bubble and hint texts: a file the game reads at start-up too.
    DefinitionStore& store = getDefinitionStore();
    store.addFile("media/properties/tutorial.xml");
    store.load();
    HighScoreManager::create(false, "").setDataFolder(
        (std::filesystem::temp_directory_path() / "orvanta_dialogs").string());
    return tools::loadResources("dialogs", {"splash", "music", "common", "preloading", "default",
                                            "lobby", "game", "manual"});
}

void shutDown() {
    setPlayerHook(nullptr);
    setPlayingScreenHook(nullptr);
    DialogHint::releaseCurrent();
    SceneManager::destroyInstance();
    HighScoreManager::destroyInstance();
    SoundManager::destroyInstance();
    ResourceManager::destroyInstance();
    TimedTaskManager::destroyInstance();
    SettingsManager::destroyInstance();
    tools::stopDefinitions();
    GameWindow::setInstance(nullptr);
}

int view(const std::string& name, const std::string& folder, int seconds) {
    if (!platform::setCurrentFolder(folder)) {
        std::fprintf(stderr, "dialogs: cannot enter %s\n", folder.c_str());
        return EXIT_FAILURE;
    }
    SamplePlayer player;
    setPlayerHook(&player);
    GameWindow* window =
        startUp() ? createGameWindow(getGameName() + " - " + name, 800, 600, false, 0, 0) : nullptr;
    if (window == nullptr || window->hasFailed()) {
        shutDown();
        return EXIT_FAILURE;
    }
    SoundManager* sound = SoundManager::create(44100, 0, 32);
    SceneManager* scenes = SceneManager::create();
    // A tutorial hint opens over a sample playing screen, every other dialog over the lobby.
    const bool hint = name.rfind("DIALOG_HINT", 0) == 0;
    Scene* scene = scenes->addScene(hint ? "SCENE_HINT_VIEWER" : "SCENE_DIALOG_VIEWER");
    if (scene == nullptr) {
        shutDown();
        return EXIT_FAILURE;
    }
    scenes->setNextScene(scene);
    SampleScreen screen(*scene);
    setPlayingScreenHook(&screen);
    connectCloseRequest(*window);
    TimedTaskManager& frames = TimedTaskManager::getInstance();
    frames.setFrameRate(60);
    RefPtr<Director> director(new Director(*scene, name, seconds * 1000));
    frames.addTask(scenes);
    frames.addTask(director.get());
    frames.addTask(window);
    frames.addTask(sound);
    const int exitCode = runMainLoop(*window, frames);
    shutDown();
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvanta_dialogs DIALOG_NAME [seconds] [folder]\n");
        return EXIT_FAILURE;
    }
    std::string folder = ORVANTA_DIALOGS_APP_DIR;
    int seconds = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!argument.empty() && argument.find_first_not_of("0123456789") == std::string::npos) {
            seconds = std::atoi(argument.c_str());
        } else {
            folder = argument;
        }
    }
    return view(argv[1], folder, seconds);
}
