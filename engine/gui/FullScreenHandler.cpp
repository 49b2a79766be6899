#include "engine/gui/FullScreenHandler.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/TimedTaskManager.h"
#include "engine/gui/Button.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/SettingsManager.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Sound.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TransitionScene.h"

#include <string>

namespace orv {

constinit const ClassRecord FullScreenHandler::classRecord{"FullScreenHandler",
                                                           parentRecords<GameNode::classRecord>};

namespace {

RefPtr<FullScreenHandler> instance;

bool windowIsFullScreen() {
    const GameWindow* window = GameWindow::getInstance();
    return window != nullptr && window->isFullScreen();
}

// What the transitions call to switch the buttons' input.
void switchInstanceInput(bool enabled) {
    if (instance) {
        instance->setButtonsInput(enabled);
    }
}

} // namespace

FullScreenHandler::FullScreenHandler(PropertyNode* definition)
    : GameNode(definition), listeners_(std::make_unique<iInputListenerContainer>()),
      inputHandler_(new InputHandler()) {
    // Buttons that are not shown must not take clicks: the input waits for
    // the lobby or a full-screen change to turn it on.
    listeners_->setInputEnabled(false);

    if (const GameWindow* window = GameWindow::getInstance()) {
        hooks_ = window->getMessageHandler();
    }
    if (hooks_) {
        hooks_->addHook(this);
    }

    inputHandler_->addListener(listeners_.get());
    TimedTaskManager::getInstance().addTask(inputHandler_.get());
    if (hooks_) {
        hooks_->addHook(inputHandler_.get());
    }

    const PropertyNode& source =
        *asNode(definition != nullptr ? propertyOfDefinition(definition) : nullptr);
    int placedWidth = 0;
    quitButton_ = addButton(source, "button_quit", &FullScreenHandler::quitAction, placedWidth);
    const GameWindow* window = GameWindow::getInstance();
    if (window != nullptr && window->isFullScreenSwitchAllowed()) {
        restoreButton_ =
            addButton(source, "button_restore", &FullScreenHandler::restoreAction, placedWidth);
    }
    minimizeButton_ =
        addButton(source, "button_minimize", &FullScreenHandler::minimizeAction, placedWidth);
}

FullScreenHandler::~FullScreenHandler() {
    // The hook list only borrows its hooks, and the task manager keeps the
    // input handler after this node is gone: neither may reach it again.
    if (hooks_) {
        hooks_->removeHook(this);
        hooks_->removeHook(inputHandler_.get());
    }
    inputHandler_->removeListener(listeners_.get());
    inputHandler_->setFinished(true);
}

BaseObject* FullScreenHandler::createFromDefinition(PropertyNode* definition) {
    return new FullScreenHandler(definition);
}

FullScreenHandler* FullScreenHandler::create(std::string_view name) {
    PropertyNode* definition = asNode(getDefinitionStore().getTemplates()->getChild(name));
    if (definition == DUMMY_NODE) {
        logWarning("Full-screen buttons: no template '" + std::string(name) + "'");
        return nullptr;
    }
    const RefPtr<BaseObject> made(orv::createFromDefinition(definition));
    FullScreenHandler* handler = kindCast<FullScreenHandler>(made.get());
    if (handler == nullptr) {
        logWarning("Full-screen buttons: template '" + std::string(name) +
                   "' does not build a FullScreenHandler");
        return nullptr;
    }
    instance = handler;
    setFullScreenRefresh(&FullScreenHandler::refresh);
    setFullScreenInputControl(&switchInstanceInput);
    return handler;
}

FullScreenHandler* FullScreenHandler::getInstance() {
    return instance.get();
}

void FullScreenHandler::destroyInstance() {
    setFullScreenRefresh(nullptr);
    setFullScreenInputControl(nullptr);
    instance = nullptr;
}

void FullScreenHandler::refresh(Scene* scene) {
    if (!instance) {
        return;
    }
    instance->setVisible(instance->enabled_ && windowIsFullScreen());
    Scene* target = scene;
    if (target == nullptr) {
        const SceneManager* scenes = SceneManager::getInstance();
        target = scenes != nullptr ? scenes->getCurrentScene() : nullptr;
    }
    if (target == nullptr) {
        return;
    }
    GameTree::appendChild(instance.get(), target->getDialogLayer());
}

void FullScreenHandler::onWindowMessage(std::uint32_t message, std::uint32_t wParam,
                                        std::uint32_t lParam) {
    static_cast<void>(lParam);
    if (message == EVENT_FULLSCREEN_CHANGED) {
        if (SettingsManager* settings = SettingsManager::get()) {
            settings->getSettings().setFullScreen(wParam != 0);
            settings->save();
        }
        refresh(nullptr);
        setButtonsInput(windowIsFullScreen());
        return;
    }
    if (message == EVENT_DEACTIVATED || message == EVENT_ACTIVATED) {
        SoundManager* sound = SoundManager::getInstance();
        if (sound != nullptr && isSoundEnabled()) {
            sound->setMuted(message == EVENT_DEACTIVATED);
        }
    }
}

void FullScreenHandler::setButtonsInput(bool on) {
    listeners_->setInputEnabled(on && enabled_);
}

int FullScreenHandler::minimizeAction(void* context, void* argument) {
    static_cast<void>(context);
    static_cast<void>(argument);
    if (GameWindow* window = GameWindow::getInstance()) {
        window->minimize();
    }
    return 0;
}

int FullScreenHandler::restoreAction(void* context, void* argument) {
    static_cast<void>(context);
    static_cast<void>(argument);
    if (GameWindow* window = GameWindow::getInstance()) {
        window->toggleFullScreen();
    }
    return 0;
}

int FullScreenHandler::quitAction(void* context, void* argument) {
    static_cast<void>(context);
    static_cast<void>(argument);
    // The scene current at this moment: a running transition is asked
    // itself, not the scene it leads to.
    static_cast<void>(requestQuitFromCurrentScene());
    return 0;
}

RefPtr<Button> FullScreenHandler::addButton(const PropertyNode& source, std::string_view key,
                                            GuiFunction action, int& placedWidth) {
    PropertyNode* definition = asNode(source.getChild(key));
    RefPtr<Button> button;
    if (definition != DUMMY_NODE) {
        const RefPtr<BaseObject> made(orv::createFromDefinition(definition));
        button = kindCast<Button>(made.get());
    }
    if (!button) {
        logWarning("FullScreenHandler '" + getName() + "': \"" + std::string(key) +
                   "\" does not build a Button; left out");
        return nullptr;
    }
    listeners_->addListener(button.get(), action, this);
    GameTree::appendChild(button.get(), this);
    placedWidth += button->getWidth();
    button->setX(-placedWidth);
    return button;
}

} // namespace orv
