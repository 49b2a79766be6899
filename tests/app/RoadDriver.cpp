#include "tests/app/RoadDriver.h"

#include "engine/core/TimedTaskManager.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Messages.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "game/board/SideBoard.h"
#include "game/board/Tile.h"
#include "game/screen/BoardLook.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RendererDisplay.h"
#include "game/screen/SceneGame.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace orv::test {

constinit const ClassRecord RoadDriver::classRecord{"RoadDriver", parentRecords<Task::classRecord>};

// ---- clock -----------------------------------------------------------------------

FixedClock::FixedClock(std::uint32_t startMs, std::uint32_t minStepMs)
    : now_(startMs), minStepMs_(minStepMs), mainThread_(std::this_thread::get_id()) {
    platform::setMillisecondClock([this] { return now_.load(); });
    platform::setSleepFunction([this](std::uint32_t milliseconds) {
        if (std::this_thread::get_id() == mainThread_) {
            now_ += std::max(milliseconds, minStepMs_);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    });
}

FixedClock::~FixedClock() {
    platform::setMillisecondClock({});
    platform::setSleepFunction({});
}

// ---- the road ------------------------------------------------------------------------

namespace {

// True while requested sections still load.
bool roadWaitsOnLoading() {
    ResourceManager* resources = ResourceManager::getInstance();
    return resources != nullptr && resources->getProgress() < 1.0;
}

} // namespace

void RoadDriver::step(std::string where, Goal goal, Action action, int maxFrames) {
    steps_.push_back({std::move(where), std::move(goal), std::move(action), maxFrames});
}

void RoadDriver::pause(std::string where, int frames, Action action) {
    auto counted = std::make_shared<int>(0);
    step(
        std::move(where), [counted, frames] { return ++*counted >= frames; }, std::move(action),
        frames + 1);
}

void RoadDriver::insertNext(const std::function<void(RoadDriver&)>& add) {
    // The new steps go to the end of the list first, then just after the
    // current one.
    const std::size_t before = steps_.size();
    add(*this);
    std::vector<Step> added(std::make_move_iterator(steps_.begin() + static_cast<long>(before)),
                            std::make_move_iterator(steps_.end()));
    steps_.resize(before);
    steps_.insert(steps_.begin() + static_cast<long>(next_ + 1),
                  std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

void RoadDriver::attach() {
    TimedTaskManager::getInstance().addTask(this);
}

void RoadDriver::fail(const std::string& failure) {
    if (stopped_) {
        return;
    }
    stopped_ = true;
    failure_ = failure;
    platform::postQuitMessage(0);
}

void RoadDriver::run(int /*elapsedMs*/) {
    if (stopped_) {
        return;
    }
    ++frames_;
    if (next_ >= steps_.size()) {
        done_ = true;
        stopped_ = true;
        platform::postQuitMessage(0);
        return;
    }
    Step& current = steps_[next_];
    if (!current.goal()) {
        if (roadWaitsOnLoading()) {
            const auto now = std::chrono::steady_clock::now();
            if (!loadingSince_) {
                loadingSince_ = now;
            } else if (now - *loadingSince_ > kLoadingLimit) {
                fail("the road stopped at \"" + current.where +
                     "\": the game's data did not load "
                     "within " +
                     std::to_string(kLoadingLimit.count()) + " s; " + describeScreen());
            }
            return;
        }
        if (++framesOnStep_ > current.maxFrames) {
            fail("the road stopped at \"" + current.where + "\": not reached within " +
                 std::to_string(current.maxFrames) + " frames; " + describeScreen());
        }
        return;
    }
    reached_.push_back(current.where);
    framesOnStep_ = 0;
    loadingSince_.reset();
    // The action may insert steps after this one, which moves the list.
    Action action = current.action;
    if (action) {
        action();
    }
    ++next_;
}

void RoadDriver::programEnded() {
    if (stopped_) {
        return;
    }
    stopped_ = true;
    failure_ = next_ < steps_.size()
                   ? "the program ended while the road waited for \"" + steps_[next_].where + "\""
                   : "the program ended before the road's last frame";
}

// ---- what the player sees --------------------------------------------------------------

Scene* shownScene() {
    SceneManager* scenes = SceneManager::getInstance();
    return scenes != nullptr ? scenes->getCurrentScene() : nullptr;
}

bool sceneShown(std::string_view name) {
    SceneManager* scenes = SceneManager::getInstance();
    return scenes != nullptr && scenes->getCurrent() != nullptr &&
           scenes->getCurrent()->getName() == name && scenes->getNext() == nullptr;
}

Dialog* openDialog(std::string_view name) {
    Scene* scene = shownScene();
    return scene != nullptr && scene->isDialogOpen(name) ? scene->findDialog(name) : nullptr;
}

namespace {

// The name `dialog` is stored under in `scene`.
std::string dialogName(const Scene& scene, const Dialog* dialog) {
    for (const auto& [name, stored] : scene.getDialogMap()) {
        if (stored.get() == dialog) {
            return name;
        }
    }
    return "(unnamed)";
}

} // namespace

std::string describeScreen() {
    SceneManager* scenes = SceneManager::getInstance();
    if (scenes == nullptr || scenes->getCurrent() == nullptr) {
        return "no scene is shown";
    }
    std::string text = "scene shown: " + scenes->getCurrent()->getName();
    if (Scene* target = scenes->getCurrentScene(); target != scenes->getCurrent()) {
        text += " (a transition to " + (target != nullptr ? target->getName() : "nothing") + ")";
    }
    text += "; open dialogs:";
    const Scene* scene = scenes->getCurrentScene();
    if (scene == nullptr || scene->getOpenDialogs().empty()) {
        text += " none";
    } else {
        for (const RefPtr<Dialog>& dialog : scene->getOpenDialogs()) {
            text += ' ';
            text += dialogName(*scene, dialog.get());
        }
    }
    return text;
}

// ---- input ---------------------------------------------------------------------------

void postMouseMove(int x, int y) {
    platform::postMessage({platform::WM_MOUSEMOVE, 0, platform::packPoint(x, y)});
}

void postClick(int x, int y) {
    const std::uint32_t point = platform::packPoint(x, y);
    platform::postMessage({platform::WM_MOUSEMOVE, 0, point});
    platform::postMessage({platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, point});
    platform::postMessage({platform::WM_LBUTTONUP, 0, point});
}

void postText(std::wstring_view text) {
    for (const wchar_t character : text) {
        platform::postMessage({platform::WM_CHAR, static_cast<std::uint32_t>(character), 1});
    }
}

void postKey(std::uint32_t virtualKey) {
    platform::postMessage({platform::WM_KEYDOWN, virtualKey, 1});
    platform::postMessage(
        {platform::WM_KEYUP, virtualKey, 1U | platform::KF_REPEAT_BIT | platform::KF_UP_BIT});
}

ScreenPoint centreOf(const Sprite& sprite) {
    return {sprite.getAbsoluteX() + sprite.getWidth() / 2,
            sprite.getAbsoluteY() + sprite.getHeight() / 2};
}

GameNode* findOnScreen(std::string_view name, std::string_view dialog) {
    if (dialog.empty()) {
        Scene* scene = shownScene();
        return scene != nullptr ? scene->findComponent(name) : nullptr;
    }
    Dialog* open = openDialog(dialog);
    return open != nullptr ? open->findComponent(name) : nullptr;
}

bool clickComponent(std::string_view name, std::string_view dialog) {
    const auto* sprite = kindCast<Sprite>(findOnScreen(name, dialog));
    if (sprite == nullptr) {
        return false;
    }
    const ScreenPoint point = centreOf(*sprite);
    postClick(point.x, point.y);
    return true;
}

// ---- the board ------------------------------------------------------------------------------

bool boardReady() {
    const SceneGame* screen = SceneGame::getInstance();
    const Game* current = Game::getCurrent();
    if (screen == nullptr || current == nullptr || current->getLayout() == nullptr) {
        return false;
    }
    return current->getLayout()->getTileCount() == 0 ||
           (screen->getOpenDialogs().empty() && screen->getState() == nullptr &&
            screen->getLevelPhase() == 1);
}

bool findTileOnScreen(const Tile& tile, ScreenPoint& out) {
    SceneGame* screen = SceneGame::getInstance();
    const Game* game = Game::getCurrent();
    if (screen == nullptr || game == nullptr || game->getLayout() == nullptr) {
        return false;
    }
    auto* display = dynamic_cast<RendererDisplay*>(screen->getDisplay());
    if (display == nullptr) {
        return false;
    }
    const LayoutRenderer& renderer = display->getRenderer();
    const BoardMetrics& metrics = renderer.getLook().getMetrics();
    const TilePos& pos = tile.getPos();
    int left = renderer.tileScreenX(pos.x, pos.z);
    int top = renderer.tileScreenY(pos.y, pos.z);
    if (tile.isSideboard()) {
        // A tile of the rack or the free cells: its slot's corner.
        const SideBoard* rack = game->getLayout()->getSideBoard();
        if (rack == nullptr) {
            return false;
        }
        left = pos.x;
        top = pos.y;
        rack->slotScreenPos(left, top);
    }
    // The middle of the face first; a neighbour one layer up may cover part
    // of it, so the rest of the face is searched in a coarse grid after.
    const int midX = left + metrics.faceWidth / 2;
    const int midY = top + metrics.faceHeight / 2;
    Layout& layout = *game->getLayout();
    if (display->tileAt(layout, midX, midY) == &tile) {
        out = {midX, midY};
        return true;
    }
    for (int y = top + 2; y < top + metrics.faceHeight; y += 4) {
        for (int x = left + 2; x < left + metrics.faceWidth; x += 4) {
            if (display->tileAt(layout, x, y) == &tile) {
                out = {x, y};
                return true;
            }
        }
    }
    return false;
}

RoadDriver::Goal dialogsAnswered(std::vector<std::string> dialogs) {
    auto frames = std::make_shared<int>(0);
    return [dialogs = std::move(dialogs), frames] {
        for (const std::string& name : dialogs) {
            Dialog* dialog = openDialog(name);
            if (dialog == nullptr) {
                continue;
            }
            if (++*frames % 20 == 0 && !clickComponent("BUTTON_OK", name) &&
                !clickComponent("BUTTON_CONTINUE", name) && !clickComponent("BUTTON_CLOSE", name) &&
                !clickComponent("BUTTON_MENU", name)) {
                const ScreenPoint middle = centreOf(*dialog);
                postClick(middle.x, middle.y);
            }
            return false;
        }
        return true;
    };
}

RoadDriver::Goal withDialogsAnswered(std::string scene, std::vector<std::string> dialogs) {
    return [scene = std::move(scene), answer = dialogsAnswered(std::move(dialogs))] {
        return sceneShown(scene) && answer();
    };
}

// ---- playing ---------------------------------------------------------------------

void clearBoard(RoadDriver& road, const std::function<void()>& onPair) {
    Game* game = Game::getCurrent();
    if (game == nullptr || game->getLayout() == nullptr) {
        road.fail("no game to play on the playing screen");
        return;
    }
    if (game->getLayout()->getTileCount() == 0) {
        return;
    }
    TileList hint;
    if (!game->pickHint(hint) || hint.size() < 2) {
        road.fail("the board offers no hinted pair with " +
                  std::to_string(game->getLayout()->getTileCount()) + " tiles left");
        return;
    }
    ScreenPoint first;
    ScreenPoint second;
    if (!findTileOnScreen(*hint[0], first) || !findTileOnScreen(*hint[1], second)) {
        road.fail("a hinted tile cannot be found on the screen");
        return;
    }
    const int before = game->getLayout()->getTileCount();
    postClick(first.x, first.y);
    road.insertNext([second, before, onPair](RoadDriver& r) {
        r.pause("the first tile of the pair selected", 2,
                [second] { postClick(second.x, second.y); });
        // A new player's tutorial bubble may come up between the two clicks
        // and take the second: it is answered and the tile clicked again.
        r.step(
            "the pair taken off the board",
            [before, second, answer = dialogsAnswered({"DIALOG_HINT"}),
             swallowed = std::make_shared<bool>(false)] {
                const Game* current = Game::getCurrent();
                const bool taken = current == nullptr || current->getLayout() == nullptr ||
                                   current->getLayout()->getTileCount() <= before - 2;
                if (!answer()) {
                    *swallowed = !taken;
                    return false;
                }
                if (taken) {
                    return true;
                }
                if (*swallowed && boardReady()) {
                    *swallowed = false;
                    postClick(second.x, second.y);
                }
                return false;
            },
            onPair, 600);
        r.step(
            "the board ready for the next pair, tutorial bubbles answered",
            [answer = dialogsAnswered({"DIALOG_HINT"})] { return answer() && boardReady(); },
            [&r, onPair] { clearBoard(r, onPair); });
    });
}

// The loading screen asks for a click once the game's data is in.
void addLoadingScreenClick(RoadDriver& road) {
    road.step(
        "the loading screen asking for a click",
        [] {
            const GameNode* click = findOnScreen("CLICK_TEXT");
            return sceneShown("SCENE_LOAD") && click != nullptr && click->isVisible();
        },
        [] { postClick(400, 300); }, 1200);
}

} // namespace orv::test
