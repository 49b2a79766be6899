// A small look at the engine's frame with one's own eyes: an 800 x 600 window
// running frames at 60 per second, drawing a node tree of sprites into the
// back buffer, animated by modifiers, with mouse and keyboard handed to a
// listener.
//
//     orvanta_demo [seconds]
//
// Moving the pointer over a tile shows the hand; clicking a tile removes it;
// Space pauses the orbit; Alt+Enter switches full screen; Escape or closing
// the window ends the demo. With a number of seconds it also ends by itself
// after that time. At the end it prints the frames run per second.

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/Modifier.h"
#include "engine/core/MoveTask.h"
#include "engine/core/PurgeTask.h"
#include "engine/core/TimedTaskManager.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/MainLoop.h"
#include "engine/platform/Platform.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/Sprite.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace orv;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTileCount = 12;
constexpr float kTwoPi = 6.28318530F;

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

RefPtr<Image> makeBackground() {
    return paintImage(kWidth, kHeight, [](int x, int y) {
        const float t = static_cast<float>(y) / kHeight;
        const bool grid = (x % 40 == 0) || (y % 40 == 0);
        return grid ? 0xFF24405AU : mix(0xFF102A3CU, 0xFF1F5A4AU, t);
    });
}

// An ivory tile with a border, a shadow edge and a coloured mark.
RefPtr<Image> makeTile(std::uint32_t markColour) {
    constexpr int w = 48;
    constexpr int h = 64;
    return paintImage(w, h, [&](int x, int y) {
        if (x >= w - 4 || y >= h - 4) {
            return 0xFF6B5A3EU; // side of the tile
        }
        if (x == 0 || y == 0 || x == w - 5 || y == h - 5) {
            return 0xFF3A3024U;
        }
        const int dx = x - (w - 4) / 2;
        const int dy = y - (h - 4) / 2;
        if (dx * dx + dy * dy < 120) {
            return markColour;
        }
        return mix(0xFFFFF8E6U, 0xFFE6D8B8U, static_cast<float>(x + y) / (w + h));
    });
}

// Four frames side by side: a dot going round a square.
RefPtr<Image> makeSpinner() {
    constexpr int size = 40;
    return paintImage(size * 4, size, [](int x, int y) {
        const int frame = x / size;
        const int lx = x % size;
        const std::array<std::array<int, 2>, 4> centres{{{10, 10}, {30, 10}, {30, 30}, {10, 30}}};
        const int dx = lx - centres.at(static_cast<std::size_t>(frame))[0];
        const int dy = y - centres.at(static_cast<std::size_t>(frame))[1];
        if (dx * dx + dy * dy < 50) {
            return 0xFFFFD040U;
        }
        return (lx == 0 || y == 0 || lx == size - 1 || y == size - 1) ? 0xFFFFFFFFU : 0xFF303040U;
    });
}

// Moves its target round a circle, for ever.
class Orbit : public Modifier {
public:
    Orbit(int centreX, int centreY, float radius, float phase, float turnsPerSecond)
        : centreX_(centreX), centreY_(centreY), radius_(radius), angle_(phase),
          speed_(turnsPerSecond * kTwoPi / 1000.0F) {}
    void update(int dtMs) override {
        angle_ += speed_ * static_cast<float>(dtMs);
        if (GameNode* node = getTarget()) {
            node->setPosition(centreX_ + static_cast<int>(std::lround(radius_ * std::cos(angle_))),
                              centreY_ + static_cast<int>(std::lround(radius_ * std::sin(angle_))));
        }
    }

private:
    int centreX_;
    int centreY_;
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

// Slides its target left and right inside a band.
class Slide : public Modifier {
public:
    Slide(int from, int to, int periodMs) : from_(from), to_(to), periodMs_(periodMs) {}
    void update(int dtMs) override {
        elapsed_ = (elapsed_ + dtMs) % periodMs_;
        const float t = 0.5F - 0.5F * std::cos(kTwoPi * static_cast<float>(elapsed_) /
                                               static_cast<float>(periodMs_));
        if (GameNode* node = getTarget()) {
            node->setX(from_ + static_cast<int>(static_cast<float>(to_ - from_) * t));
        }
    }

private:
    int from_;
    int to_;
    int periodMs_;
    int elapsed_ = 0;
};

// The demo's listener: hover, click and keys.
class DemoInput : public iInputListener {
public:
    DemoInput(std::vector<Sprite*> tiles, Modifier* orbits)
        : tiles_(std::move(tiles)), orbits_(orbits) {}

    bool onMouseMove(int x, int y, int /*flags*/) override {
        hoverCount = tileAt(x, y) != nullptr ? 1 : 0;
        return false;
    }
    bool onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) override {
        if (Sprite* tile = tileAt(x, y)) {
            tile->setRemovalMark(true); // the purge lets go of it after this frame
            std::erase(tiles_, tile);
            hoverCount = 0;
            return true;
        }
        return false;
    }
    bool onKeyDown(int key) override {
        if (key == static_cast<int>(platform::VK_ESCAPE)) {
            platform::postMessage({platform::WM_CLOSE, 0, 0});
            return true;
        }
        if (key == static_cast<int>(platform::VK_SPACE)) {
            orbits_->setPaused(!orbits_->isPaused());
            return true;
        }
        return false;
    }
    void reset() override {}

private:
    Sprite* tileAt(int x, int y) const {
        // The tile drawn last is on top.
        for (auto it = tiles_.rbegin(); it != tiles_.rend(); ++it) {
            if ((*it)->hitTest(x, y)) {
                return *it;
            }
        }
        return nullptr;
    }

    std::vector<Sprite*> tiles_;
    Modifier* orbits_;
};

// What a scene does each frame: input, update, drawing, purge.
class DemoFrame : public Task {
public:
    DemoFrame(InputHandler& input, GameNode* root, Modifier* animTree)
        : input_(input), move_(new MoveTask(root, animTree)), render_(new RenderTask(root)),
          purge_(new PurgeTask(root, animTree)) {}
    void run(int elapsedMs) override {
        input_.run(elapsedMs);
        move_->run(elapsedMs);
        render_->run(elapsedMs);
        purge_->run(elapsedMs);
        ++frames_;
    }
    [[nodiscard]] int getFrames() const { return frames_; }

private:
    InputHandler& input_;
    RefPtr<MoveTask> move_;
    RefPtr<RenderTask> render_;
    RefPtr<PurgeTask> purge_;
    int frames_ = 0;
};

// Ends the demo after a given time.
class Timer : public Task {
public:
    explicit Timer(int limitMs) : limitMs_(limitMs) {}
    void run(int elapsedMs) override {
        elapsed_ += elapsedMs;
        if (limitMs_ > 0 && elapsed_ >= limitMs_ && !posted_) {
            platform::postMessage({platform::WM_CLOSE, 0, 0});
            posted_ = true;
        }
    }

private:
    int limitMs_;
    int elapsed_ = 0;
    bool posted_ = false;
};

int runDemo(int seconds) {
    GameWindow* window = createGameWindow("Orvanta engine demo", kWidth, kHeight, false, 0, 0);
    if (window->hasFailed()) {
        GameWindow::setInstance(nullptr);
        return kWindowFailureExitCode;
    }

    RefPtr<GameTree> root(new GameTree());
    RefPtr<AnimTree> animTree(new AnimTree("demo"));
    GameTree::appendChild(new Sprite(0, 0, makeBackground().get()), root.get());

    // A ring of tiles going round the centre; a group node places them.
    auto* ring = new GameNode("ring");
    GameTree::appendChild(ring, root.get());
    ring->setPosition(kWidth / 2, kHeight / 2 - 20);
    const std::array<std::uint32_t, 4> marks{0xFFC0302AU, 0xFF2A7A3AU, 0xFF2A4AA0U, 0xFFB08020U};
    std::vector<Sprite*> tiles;
    for (int i = 0; i < kTileCount; ++i) {
        auto* tile = new Sprite(0, 0, makeTile(marks.at(static_cast<std::size_t>(i % 4))).get());
        tile->setAnchorPoint(AnchorKind::Center);
        GameTree::appendChild(tile, ring);
        auto* orbit = new Orbit(0, 0, 200.0F, kTwoPi * static_cast<float>(i) / kTileCount, 0.1F);
        orbit->setTarget(tile);
        Modifier::attachTo(animTree.get(), orbit);
        tiles.push_back(tile);
    }

    // A frame animation in the middle, run by the sprite's own modifier.
    auto* spinner = new Sprite(kWidth / 2, kHeight / 2 - 20, makeSpinner().get());
    spinner->setFrameLayout(4, true);
    spinner->setAnchorPoint(AnchorKind::Center);
    spinner->addModifier(new FrameStepper(150));
    GameTree::appendChild(spinner, root.get());

    // A band at the bottom whose clip keeps a sliding tile inside it.
    auto* band =
        new Sprite(100, 520, paintImage(600, 70, [](int, int) { return 0xFF0A1620U; }).get());
    band->setClipRect(100, 520, 600, 70);
    GameTree::appendChild(band, root.get());
    auto* slider = new Sprite(0, 3, makeTile(0xFF8040C0U).get());
    GameTree::appendChild(slider, band);
    slider->addModifier(new Slide(-40, 590, 3000));

    RefPtr<InputHandler> input(new InputHandler());
    DemoInput listener(tiles, animTree.get());
    input->addListener(&listener);
    window->getMessageHandler()->addHook(input.get());

    TimedTaskManager& frames = TimedTaskManager::getInstance();
    frames.setFrameRate(60);
    RefPtr<DemoFrame> frame(new DemoFrame(*input, root.get(), animTree.get()));
    frames.addTask(frame.get());
    frames.addTask(window);
    frames.addTask(new Timer(seconds * 1000));

    const std::uint32_t started = platform::getMilliseconds();
    const int exitCode = runMainLoop(*window, frames);
    const std::uint32_t ranMs = platform::getMilliseconds() - started;
    std::printf("%d frames in %u ms: %.1f frames per second\n", frame->getFrames(), ranMs,
                ranMs > 0 ? 1000.0 * frame->getFrames() / ranMs : 0.0);
    std::fflush(stdout);

    window->getMessageHandler()->removeHook(input.get());
    input->removeListener(&listener);
    TimedTaskManager::destroyInstance();
    GameWindow::setInstance(nullptr);
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    return runDemo(seconds);
}
