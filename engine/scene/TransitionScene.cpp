#include "engine/scene/TransitionScene.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/SceneManager.h"

#include <cstddef>
#include <cstring>
#include <string>

namespace orv {

constinit const ClassRecord TransitionScene::classRecord{"TransitionScene",
                                                         parentRecords<Scene::classRecord>};

namespace {

FullScreenInputFunction fullScreenInput = nullptr;

constexpr std::uint32_t kOpaqueBlack = 0xFF000000U;

// A window-sized picture in the window's format. The window reports 0 bytes
// per pixel before its back buffer exists; the display's format stands in.
RefPtr<Image> createWindowImage(const GameWindow& window) {
    int format = window.getBytesPerPixel();
    if (format != kFormatRgb565 && format != kFormatArgb32) {
        format = getDisplayBytesPerPixel();
    }
    RefPtr<Image> image = createImage(window.getWidth(), window.getHeight(), format);
    if (!image) {
        return nullptr;
    }
    // Fresh buffers are uncleared; a scene that does not cover the whole
    // window must not show whatever memory held before.
    if (image->lock()) {
        const auto rows = static_cast<std::size_t>(image->getHeight());
        if (image->getPixels() != nullptr) {
            std::memset(image->getPixels(), 0, rows * static_cast<std::size_t>(image->getPitch()));
        }
        if (image->getAlpha() != nullptr) {
            std::memset(image->getAlpha(), 0xFF,
                        rows * static_cast<std::size_t>(image->getWidth()));
        }
        image->unlock();
    }
    return image;
}

} // namespace

TransitionScene::TransitionScene(PropertyNode* definition) : Scene(definition) {}

TransitionScene::~TransitionScene() = default;

void TransitionScene::start(Scene* from, Scene* to) {
    from_ = from;
    to_ = to;
}

void TransitionScene::openTarget() {
    if (to_ == nullptr) {
        return;
    }
    to_->open();
    to_->getListenerContainer().setInputEnabled(false);
}

void TransitionScene::switchToTarget() {
    if (SceneManager* scenes = SceneManager::getInstance()) {
        scenes->setNextScene(to_);
    }
    if (reenableInput_ && to_ != nullptr) {
        to_->getListenerContainer().setInputEnabled(true);
    }
}

int TransitionScene::switchToTargetCallback(void* context, void* /*argument*/) {
    static_cast<TransitionScene*>(context)->switchToTarget();
    return 0;
}

void TransitionScene::open() {
    if (from_ != nullptr) {
        from_->getListenerContainer().setInputEnabled(false);
    }
    Scene::open();
}

void TransitionScene::close() {
    Scene::close();
    for (GameNode* child = getDialogLayer() != nullptr ? getDialogLayer()->getFirstChild()
                                                       : nullptr;
         child != nullptr; child = child->getNextSibling()) {
        if (auto* sprite = kindCast<Sprite>(child)) {
            sprite->setImage(nullptr);
        }
    }
    setBackground(nullptr);
}

bool TransitionScene::isLoadingDone() {
    ResourceManager* resources = ResourceManager::getInstance();
    // Without a manager, or with its loader stopped, nothing more will ever
    // load: waiting would hold the screen for good.
    if (resources == nullptr || !resources->isRunning()) {
        return true;
    }
    resources->resumeLoader();
    return resources->isStarted() &&
           resources->nextPendingSection(ResourceManager::Queue::Requests) == nullptr;
}

RefPtr<Image> TransitionScene::makeWindowImage() const {
    const GameWindow* window = GameWindow::getInstance();
    if (window == nullptr) {
        return nullptr;
    }
    RefPtr<Image> image = createWindowImage(*window);
    if (!image) {
        logWarning("Transition '" + getName() + "': no " + std::to_string(window->getWidth()) +
                   " x " + std::to_string(window->getHeight()) + " image for the window");
    }
    return image;
}

Sprite* TransitionScene::addSnapshotSprite() {
    const RefPtr<Image> image = makeWindowImage();
    if (image) {
        // A copy of the screen is opaque: its alpha bytes are whatever the
        // drawing left there, and only the sprite's alpha fades it.
        image->setUseAlphaChannel(false);
    }
    auto* sprite = new Sprite(0, 0, image.get());
    GameTree::appendChild(sprite, getDialogLayer());
    return sprite;
}

void TransitionScene::takeSnapshot(Scene* scene, Sprite& snapshot) {
    Image* image = snapshot.getImage();
    const RefPtr<Graphics> graphics = image != nullptr ? createGraphics(*image) : nullptr;
    if (!graphics) {
        return;
    }
    graphics->setColor(kOpaqueBlack);
    graphics->clear();
    if (scene != nullptr) {
        if (scene->isVisible()) {
            scene->render(*graphics);
        }
        RenderTask::renderNode(*graphics, scene->getDialogLayer());
    }
    snapshot.setDirty(true);
}

void TransitionScene::restoreFullScreen() {
    if (fullScreenInput != nullptr) {
        const GameWindow* window = GameWindow::getInstance();
        fullScreenInput(window != nullptr && window->isFullScreen());
    }
    refreshFullScreen(to_);
}

void TransitionScene::prepareFullScreenForTarget() {
    if (fullScreenInput != nullptr) {
        fullScreenInput(false);
    }
    refreshFullScreen(to_);
}

void setFullScreenInputControl(FullScreenInputFunction control) {
    fullScreenInput = control;
}

} // namespace orv
