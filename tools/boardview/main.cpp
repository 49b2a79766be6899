// A look at the board in a real window, on the game's own data: a level of
// the level files is dealt onto the board renderer over the lobby wall, so
// that the tile art, the layers and the effects can be checked by eye and on
// screenshots.
//
//     orvanta_boardview [--set N] [--floor F] [--room R] [--seed S]
//                       [--seconds T] [--folder DIR]
//
// N is the tile set 1 to 4 (default 1); F and R name the hallway level
// (default floor 1, room 1); S seeds the deal (default 1). The tile under
// the mouse takes the hover tint when it is free; tiles that are not free
// are darkened, one free pair pulses as a hint, one free tile is selected,
// and every 2.5 seconds a free pair fades out and leaves the board. T ends
// the viewer by itself; closing the window ends it too. DIR is the program
// folder (default: the build's app folder).

#include "engine/core/GameTree.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/TimedTaskManager.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/MainLoop.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundClasses.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Platform.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/TileManager.h"
#include "game/screen/LayoutRenderer.h"
#include "tools/support/ToolStartUp.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace orv;

constexpr int kRemovalEveryMs = 2500;

struct Options {
    std::string folder = ORVANTA_BOARDVIEW_APP_DIR;
    int set = 1;
    int floor = 1;
    int room = 1;
    std::uint32_t seed = 1;
    int seconds = 0;
};

// Two free tiles that match, skipping the tiles of `skip`; false when none.
bool freePair(const Layout& layout, const std::set<const Tile*>& skip, Tile*& a, Tile*& b) {
    TileList free;
    layout.getFreeTiles(free);
    std::map<int, Tile*> seen;
    for (const RefPtr<Tile>& tile : free) {
        if (skip.count(tile.get()) != 0) {
            continue;
        }
        const auto [it, fresh] = seen.emplace(tile->matchKey(), tile.get());
        if (!fresh) {
            a = it->second;
            b = tile.get();
            return true;
        }
    }
    return false;
}

// Builds the board once the scene is shown, then plays the effects.
class Director : public Task {
public:
    Director(Scene& scene, Layout& layout, int tileSet, int limitMs)
        : scene_(scene), layout_(layout), tileSet_(tileSet), limitMs_(limitMs) {}

    void run(int elapsedMs) override {
        if (!renderer_ && scene_.getState() == SceneState::Current) {
            build();
        }
        elapsed_ += elapsedMs;
        if (renderer_) {
            hover();
            sinceRemoval_ += elapsedMs;
            if (sinceRemoval_ >= kRemovalEveryMs) {
                sinceRemoval_ = 0;
                removePair();
            }
        }
        if (limitMs_ > 0 && elapsed_ >= limitMs_ && !posted_) {
            platform::postMessage({platform::WM_CLOSE, 0, 0});
            posted_ = true;
        }
    }

    void release() {
        if (renderer_) {
            // The tree hands its reference over on detaching: give it back.
            GameTree::detach(renderer_.get());
            renderer_->release();
            renderer_ = nullptr;
        }
    }

private:
    void build() {
        renderer_ = new LayoutRenderer(tileSet_);
        renderer_->build(layout_, TileList());
        // Centred on the screen, the layers' shift up and left included.
        const BoardMetrics& m = renderer_->getLook().getMetrics();
        const int shiftX = (renderer_->getNumLayers() - 1) * m.layerOffsetX;
        const int shiftY = (renderer_->getNumLayers() - 1) * m.layerOffsetY;
        renderer_->setPosition((800 - renderer_->getWidth() + shiftX) / 2,
                               (600 - renderer_->getHeight() + shiftY) / 2);
        renderer_->setVisible(true);
        GameTree::appendChild(renderer_.get(),
                              scene_.getComponentRoot() != nullptr
                                  ? static_cast<GameNode*>(scene_.getComponentRoot())
                                  : &scene_);
        Tile* a = nullptr;
        Tile* b = nullptr;
        if (freePair(layout_, busy_, a, b)) {
            renderer_->startTileEffectC(*a);
            renderer_->startTileEffectC(*b);
            busy_.insert(a);
            busy_.insert(b);
        }
        TileList free;
        layout_.getFreeTiles(free);
        for (const RefPtr<Tile>& tile : free) {
            if (busy_.count(tile.get()) == 0) {
                renderer_->startTileSelect(*tile);
                busy_.insert(tile.get());
                break;
            }
        }
        darkenBlocked();
    }

    void darkenBlocked() {
        layout_.forEachTile([this](Tile& tile) {
            const bool free = layout_.isTileFree(tile);
            if (!free && dark_.insert(&tile).second) {
                renderer_->startTileSwell(tile);
            } else if (free && dark_.erase(&tile) != 0) {
                renderer_->startTileLighten(tile);
            }
        });
    }

    void hover() {
        Tile* tile = renderer_->tileAt(layout_, getLastMouseX(), getLastMouseY());
        if (tile != nullptr && (!layout_.isTileFree(*tile) || busy_.count(tile) != 0)) {
            tile = nullptr;
        }
        if (tile == hovered_) {
            return;
        }
        if (hovered_ != nullptr) {
            renderer_->startTilePlain(*hovered_);
        }
        hovered_ = tile;
        if (tile != nullptr) {
            renderer_->startTileHover(*tile);
        }
    }

    void removePair() {
        Tile* a = nullptr;
        Tile* b = nullptr;
        if (!freePair(layout_, busy_, a, b)) {
            return;
        }
        for (Tile* tile : {a, b}) {
            if (tile == hovered_) {
                hovered_ = nullptr;
            }
            renderer_->startTileFade(*tile, 1);
            dark_.erase(tile);
            layout_.removeTile(tile);
        }
        darkenBlocked();
    }

    Scene& scene_;
    Layout& layout_;
    int tileSet_;
    int limitMs_;
    int elapsed_ = 0;
    int sinceRemoval_ = 0;
    bool posted_ = false;
    RefPtr<LayoutRenderer> renderer_;
    std::set<const Tile*> busy_;
    std::set<const Tile*> dark_;
    Tile* hovered_ = nullptr;
};

bool startUp(const Options& options) {
    tools::startDefinitions(
        {registerResourceClasses, registerSoundClasses, registerGuiClasses, registerBoardClasses},
        ORVANTA_BOARDVIEW_DEFINITIONS);
    TileManager::create();
    RandomGenerator::createInstance(options.seed, 0);
    ShuffleRandom::seed(options.seed);
    return tools::loadResources("boardview", {"splash", "music", "common", "preloading", "default",
                                              "lobby", "game", "manual"});
}

void shutDown() {
    Game::destroyCurrent();
    destroyLevelSets();
    TileManager::destroyInstance();
    SceneManager::destroyInstance();
    ResourceManager::destroyInstance();
    TimedTaskManager::destroyInstance();
    tools::stopDefinitions();
    GameWindow::setInstance(nullptr);
}

int view(const Options& options) {
    if (!platform::setCurrentFolder(options.folder)) {
        std::fprintf(stderr, "boardview: cannot enter %s\n", options.folder.c_str());
        return EXIT_FAILURE;
    }
    GameWindow* window = startUp(options) ? createGameWindow(getGameName() + " - board viewer", 800,
                                                             600, false, 0, 0)
                                          : nullptr;
    if (window == nullptr || window->hasFailed()) {
        shutDown();
        return EXIT_FAILURE;
    }
    const RefPtr<Level> level = getLevelSets().createLevel(options.floor, options.room);
    Game* game = level ? Game::create(level->getGameType()) : nullptr;
    if (game == nullptr || !game->setLevel(level.get()) || game->getLayout() == nullptr) {
        std::fprintf(stderr, "boardview: floor %d, room %d cannot be dealt\n", options.floor,
                     options.room);
        shutDown();
        return EXIT_FAILURE;
    }
    SceneManager* scenes = SceneManager::create();
    Scene* scene = scenes->addScene("SCENE_BOARD_VIEWER");
    if (scene == nullptr) {
        shutDown();
        return EXIT_FAILURE;
    }
    scenes->setNextScene(scene);
    connectCloseRequest(*window);
    RefPtr<InputHandler> input(new InputHandler());
    window->getMessageHandler()->addHook(input.get());
    TimedTaskManager& frames = TimedTaskManager::getInstance();
    frames.setFrameRate(60);
    RefPtr<Director> director(
        new Director(*scene, *game->getLayout(), options.set - 1, options.seconds * 1000));
    frames.addTask(input.get());
    frames.addTask(scenes);
    frames.addTask(director.get());
    frames.addTask(window);
    const int exitCode = runMainLoop(*window, frames);
    director->release();
    window->getMessageHandler()->removeHook(input.get());
    shutDown();
    return exitCode;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        const int number = std::atoi(value.c_str());
        if (key == "--set" && number >= 1 && number <= 4) {
            options.set = number;
        } else if (key == "--floor") {
            options.floor = number;
        } else if (key == "--room") {
            options.room = number;
        } else if (key == "--seed") {
            options.seed = static_cast<std::uint32_t>(number);
        } else if (key == "--seconds") {
            options.seconds = number;
        } else if (key == "--folder") {
            options.folder = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: orvanta_boardview [--set N] [--floor F] [--room R] "
                             "[--seed S] [--seconds T] [--folder DIR]\n");
        return EXIT_FAILURE;
    }
    return view(options);
}
