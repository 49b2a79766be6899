// A look at the engine with one's own eyes, on the game's own data, started
// the way the game starts: from the program folder that holds media.dat, with
// the start-up property files, the resource definitions and sound at
// 44,100 Hz. It shows the demo's scene (tools/demo/demo.xml, read after the
// game's files): headings in the game's fonts over the lobby wall, a dialog
// framed by the game's dialog painter (PAINTER_DIALOG) whose button plays
// SOUND_BUTTON, a ring of tiles animated by modifiers, and the lobby music
// looping.
//
//     orvanta_demo [folder] [seconds]
//
// `folder` is the program folder (default: the build's app folder); a number
// of seconds ends the demo by itself after that time. Escape, the dialog's
// "Leave" button or closing the window ends it too. At the end it prints the
// frames run per second.

#include "engine/core/GameTree.h"
#include "engine/core/Modifier.h"
#include "engine/core/TimedTaskManager.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/MainLoop.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundStream.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"
#include "tools/support/ToolStartUp.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace orv;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTileCount = 10;
constexpr float kTwoPi = 6.28318530F;

// The sections the demo shows from, loaded before the first frame.

std::uint32_t mix(std::uint32_t a, std::uint32_t b, float t) {
    auto channel = [&](int shift) {
        const auto ca = static_cast<float>((a >> shift) & 0xFFU);
        const auto cb = static_cast<float>((b >> shift) & 0xFFU);
        return static_cast<std::uint32_t>(ca + (cb - ca) * t) << shift;
    };
    return 0xFF000000U | channel(16) | channel(8) | channel(0);
}

// An image painted pixel by pixel by `paint(x, y)`.
template <class Paint>
RefPtr<Image> paintImage(int width, int height, const Paint& paint) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    if (!image || !image->lock()) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image->getPixels() + y * image->getPitch());
        for (int x = 0; x < width; ++x) {
            row[x] = paint(x, y);
        }
    }
    image->unlock();
    return image;
}

// An ivory tile with a border, a shadow edge and a coloured mark; the tile
// faces proper come with the board.
RefPtr<Image> makeTile(std::uint32_t markColour) {
    constexpr int w = 40;
    constexpr int h = 52;
    return paintImage(w, h, [&](int x, int y) {
        if (x >= w - 4 || y >= h - 4) {
            return 0xFFC9BC9CU; // side of the tile
        }
        if (x == 0 || y == 0 || x == w - 5 || y == h - 5) {
            return 0xFF2B0E07U;
        }
        const int dx = x - (w - 4) / 2;
        const int dy = y - (h - 4) / 2;
        if (dx * dx + dy * dy < 90) {
            return markColour;
        }
        return mix(0xFFFBF5E6U, 0xFFE6D8B8U, static_cast<float>(x + y) / (w + h));
    });
}

// Four frames side by side: a gold bead going round a square.
RefPtr<Image> makeSpinner() {
    constexpr int size = 40;
    return paintImage(size * 4, size, [](int x, int y) {
        const int frame = x / size;
        const int lx = x % size;
        const std::array<std::array<int, 2>, 4> centres{{{10, 10}, {30, 10}, {30, 30}, {10, 30}}};
        const int dx = lx - centres.at(static_cast<std::size_t>(frame))[0];
        const int dy = y - centres.at(static_cast<std::size_t>(frame))[1];
        if (dx * dx + dy * dy < 50) {
            return 0xFFD9A441U;
        }
        return (lx == 0 || y == 0 || lx == size - 1 || y == size - 1) ? 0xFFFFE7A3U : 0xFF5E1A10U;
    });
}

// Moves its target round a circle, for ever.
class Orbit : public Modifier {
public:
    Orbit(float radius, float phase, float turnsPerSecond)
        : radius_(radius), angle_(phase), speed_(turnsPerSecond * kTwoPi / 1000.0F) {}
    void update(int dtMs) override {
        angle_ += speed_ * static_cast<float>(dtMs);
        if (GameNode* node = getTarget()) {
            node->setPosition(static_cast<int>(std::lround(radius_ * std::cos(angle_))),
                              static_cast<int>(std::lround(radius_ * std::sin(angle_))));
        }
    }

private:
    float radius_;
    float angle_;
    float speed_;
};

// Steps its sprite's frames at a fixed pace, for ever.
class FrameStepper : public Modifier {
public:
    explicit FrameStepper(int frameMs) : frameMs_(frameMs) {}
    void update(int dtMs) override {
        elapsed_ += dtMs;
        auto* sprite = kindCast<Sprite>(getTarget());
        for (; elapsed_ >= frameMs_ && sprite != nullptr; elapsed_ -= frameMs_) {
            sprite->nextFrame();
        }
    }

private:
    int frameMs_;
    int elapsed_ = 0;
};

// The play button's callback: counts the clicks (the button plays its own
// click sound).
int onPlay(void* context, void* /*button*/) {
    auto* dialog = static_cast<Dialog*>(context);
    static int clicks = 0;
    ++clicks;
    if (auto* label = kindCast<Label>(dialog->findComponent("CLICKS"))) {
        label->setText(L"Clicks: " + std::to_wstring(clicks));
    }
    return 0;
}

// The leave button's callback: the same close request as the window's.
int onLeave(void* /*context*/, void* /*button*/) {
    platform::postMessage({platform::WM_CLOSE, 0, 0});
    return 0;
}

// Each frame after the scene manager: opens the dialog once the scene is
// shown, counts frames and ends the demo after its time.
class Director : public Task {
public:
    Director(Scene& scene, int limitMs) : scene_(scene), limitMs_(limitMs) {}
    void run(int elapsedMs) override {
        ++frames_;
        if (!dialogShown_ && scene_.getState() == SceneState::Current) {
            showDialog();
            dialogShown_ = true;
        }
        elapsed_ += elapsedMs;
        if (limitMs_ > 0 && elapsed_ >= limitMs_ && !posted_) {
            platform::postMessage({platform::WM_CLOSE, 0, 0});
            posted_ = true;
        }
    }
    [[nodiscard]] int getFrames() const { return frames_; }

private:
    void showDialog() {
        Dialog* dialog = scene_.getDialog("DIALOG_DEMO");
        if (dialog == nullptr) {
            return;
        }
        (void)dialog->bindComponent("BUTTON_PLAY", &onPlay, dialog);
        (void)dialog->bindComponent("BUTTON_QUIT", &onLeave, nullptr);
        scene_.showDialog(dialog);
    }

    Scene& scene_;
    int limitMs_;
    int elapsed_ = 0;
    int frames_ = 0;
    bool dialogShown_ = false;
    bool posted_ = false;
};

// A ring of tiles going round a spinning frame animation, on the left.
void addTiles(Scene& scene) {
    auto* ring = new GameNode("ring");
    ring->setPosition(205, 330);
    scene.addComponent(ring);
    const std::array<std::uint32_t, 4> marks{0xFFC8432AU, 0xFF1D5E44U, 0xFF2A4AA0U, 0xFFD9A441U};
    for (int i = 0; i < kTileCount; ++i) {
        auto* tile = new Sprite(0, 0, makeTile(marks.at(static_cast<std::size_t>(i % 4))).get());
        tile->setAnchorPoint(AnchorKind::Center);
        GameTree::appendChild(tile, ring);
        tile->addModifier(new Orbit(140.0F, kTwoPi * static_cast<float>(i) / kTileCount, 0.08F));
    }
    auto* spinner = new Sprite(0, 0, makeSpinner().get());
    spinner->setFrameLayout(4, true);
    spinner->setAnchorPoint(AnchorKind::Center);
    spinner->addModifier(new FrameStepper(150));
    GameTree::appendChild(spinner, ring);
}

// Start-up as the game does it, up to the first frame. False when the data
// cannot be read.
bool startUp() {
    tools::startDefinitions({registerResourceClasses, registerSoundClasses, registerGuiClasses},
                            ORVANTA_DEMO_DEFINITIONS);
    if (getGameName().empty()) {
        std::fprintf(stderr, "demo: no GAME_NAME: the start-up property files were not read\n");
        return false;
    }
    return true;
}

void playMusic(ResourceManager& resources, SoundManager& sound) {
    auto* lobby = kindCast<SoundStream>(resources.getLoadedObject("MUSIC_LOBBY", "music"));
    if (lobby == nullptr) {
        std::fprintf(stderr, "demo: MUSIC_LOBBY is missing\n");
        return;
    }
    sound.playMusic(0, 1.0F, 1500, lobby, 0, true);
}

// The window's icon from the game's icon picture, as start-up sets it.
void setWindowIcon(GameWindow& window, ResourceManager& resources) {
    const platform::NamedMutexGuard guard(resources.getDataLock());
    if (auto* icon = kindCast<Image>(resources.getObject("IMAGE_ICON", "splash"))) {
        (void)window.setIconImage(*icon);
    }
}

void shutDown() {
    SceneManager::destroyInstance();
    SoundManager::destroyInstance();
    ResourceManager::destroyInstance();
    TimedTaskManager::destroyInstance();
    tools::stopDefinitions();
    GameWindow::setInstance(nullptr);
}

int runDemo(const std::string& folder, int seconds) {
    if (!platform::setCurrentFolder(folder)) {
        std::fprintf(stderr, "demo: cannot enter %s\n", folder.c_str());
        return EXIT_FAILURE;
    }
    if (!startUp()) {
        shutDown();
        return EXIT_FAILURE;
    }
    GameWindow* window =
        createGameWindow(getGameName() + " - engine demo", kWidth, kHeight, false, 0, 0);
    if (window->hasFailed()) {
        shutDown();
        return kWindowFailureExitCode;
    }
    SoundManager* sound = SoundManager::create(44100, 0, 32);
    if (!tools::loadResources("demo", {"splash", "music", "common", "preloading", "lobby"})) {
        shutDown();
        return EXIT_FAILURE;
    }

    setWindowIcon(*window, *ResourceManager::getInstance());

    SceneManager* scenes = SceneManager::create();
    Scene* scene = scenes->addScene("SCENE_DEMO");
    if (scene == nullptr) {
        shutDown();
        return EXIT_FAILURE;
    }
    addTiles(*scene);
    scenes->setNextScene(scene);
    connectCloseRequest(*window);

    TimedTaskManager& frames = TimedTaskManager::getInstance();
    frames.setFrameRate(60);
    RefPtr<Director> director(new Director(*scene, seconds * 1000));
    frames.addTask(scenes);
    frames.addTask(director.get());
    frames.addTask(window);
    frames.addTask(sound);
    playMusic(*ResourceManager::getInstance(), *sound);

    const std::uint32_t started = platform::getMilliseconds();
    const int exitCode = runMainLoop(*window, frames);
    const std::uint32_t ranMs = platform::getMilliseconds() - started;
    std::printf("%d frames in %u ms: %.1f frames per second\n", director->getFrames(), ranMs,
                ranMs > 0 ? 1000.0 * director->getFrames() / ranMs : 0.0);
    std::fflush(stdout);

    shutDown();
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = ORVANTA_DEMO_APP_DIR;
    int seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!argument.empty() && argument.find_first_not_of("0123456789") == std::string::npos) {
            seconds = std::atoi(argument.c_str());
        } else {
            folder = argument;
        }
    }
    return runDemo(folder, seconds);
}
