#include "game/dialogs/DialogLayoutPreview.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/Panel.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "game/board/Level.h"
#include "game/dialogs/LayoutPreview.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"

namespace orv {

constinit const ClassRecord DialogLayoutPreview::classRecord{
    "DialogLayoutPreview", parentRecords<DialogOrvanta::classRecord>};

namespace {

// A locked layout's miniature shows through at this alpha.
constexpr int kChooserLockedAlpha = 90;
constexpr int kChooserColumns = 3;

OrvantaPlayer* chooserProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

Modifier* chooserBlocking(Modifier* modifier) {
    modifier->setFinishFlags(modifier->getFinishFlags() | Modifier::FinishHoldBack);
    return modifier;
}

template <class T>
T* chooserPart(GameNode* panel, std::string_view name) {
    auto* holder = kindCast<Panel>(panel);
    return holder != nullptr ? kindCast<T>(holder->findComponent(name)) : nullptr;
}

void setChooserText(Label* label, const std::wstring& text) {
    if (label != nullptr) {
        label->setText(text);
        label->relayout();
    }
}

Sprite* makeFromTemplate(PropertyNode* definition, std::string_view name) {
    PropertyNode* node = asNode(definition->getChild(name));
    BaseObject* made = ObjectFactoryContainer::get().createObject(node->getTypeName(), node);
    auto* sprite = kindCast<Sprite>(made);
    if (sprite == nullptr) {
        const RefPtr<BaseObject> dropped(made);
        logWarning("DIALOG_LAYOUTPREVIEW: the template \"" + std::string(name) +
                   "\" builds no panel");
    }
    return sprite;
}

// The recreation room, or whichever scene shows the chooser.
Scene* chooserScene() {
    SceneManager* manager = SceneManager::getInstance();
    return manager != nullptr ? manager->getCurrentScene() : nullptr;
}

} // namespace

DialogLayoutPreview::DialogLayoutPreview(PropertyNode* definition) : DialogOrvanta(definition) {
    header_ = kindCast<Label>(findComponent("LABEL_HEADER"));
    nextButton_ = kindCast<Button>(findComponent("BUTTON_NEXT"));
    previousButton_ = kindCast<Button>(findComponent("BUTTON_PREVIOUS"));
    static_cast<void>(bindComponent("BUTTON_NEXT", &DialogLayoutPreview::onNext, this));
    static_cast<void>(bindComponent("BUTTON_PREVIOUS", &DialogLayoutPreview::onPrevious, this));
}

DialogLayoutPreview::~DialogLayoutPreview() = default;

BaseObject* DialogLayoutPreview::createFromDefinition(PropertyNode* definition) {
    return new DialogLayoutPreview(definition);
}

void DialogLayoutPreview::open() {
    DialogOrvanta::open();
    // The chooser stands beside the room's switches and buttons, which stay
    // in reach: clicks outside it pass on to the room.
    getListenerContainer().setSwallow(false);
    updatePageButtons();
}

void DialogLayoutPreview::setLayouts(int gameType, const std::vector<RefPtr<Level>>& levels) {
    gameType_ = gameType;
    levels_ = levels;
    firstIndex_ = 0;
    setChooserText(header_, getText("TEXT_GAMETYPE" + std::to_string(gameType + 1)));
}

void DialogLayoutPreview::updatePageButtons() {
    if (previousButton_ != nullptr) {
        previousButton_->setEnabled(firstIndex_ > 0);
    }
    if (nextButton_ != nullptr) {
        nextButton_->setEnabled(firstIndex_ + kPerPage < static_cast<int>(levels_.size()));
    }
}

bool DialogLayoutPreview::isPageOpen(int page, const OrvantaPlayer* player) {
    if (page <= 1) {
        return true;
    }
    if (player == nullptr) {
        return false;
    }
    const auto item = [player](std::size_t k) {
        return player->unlockedStuff.at(static_cast<std::size_t>(kPageUnlockItems.at(k))) != 0;
    };
    if (page == 2) {
        return item(0) || item(1) || item(2);
    }
    if (page == 3) {
        return item(1) || item(2);
    }
    return item(2);
}

void DialogLayoutPreview::showPage(int direction) {
    firstIndex_ += kPerPage * direction;
    updatePageButtons();
    const int slide = page_ != nullptr ? page_->getWidth() + PANEL_PADDING : 0;
    if (page_ != nullptr) {
        if (direction == 0) {
            page_->setRemovalMark(true);
        } else {
            auto* out = new ModifierLocationLine(page_->getX(), page_->getY(),
                                                 page_->getX() - direction * slide, page_->getY(),
                                                 PREVIEW_SCROLL_DURATION, true);
            out->setFinishFlags(Modifier::FinishRemoveTarget);
            page_->addModifier(out);
        }
    }
    // The old page's layouts take no clicks from here on, even while they
    // are still sliding away.
    for (Button*& button : layoutButtons_) {
        if (button != nullptr) {
            getListenerContainer().removeListener(button);
            button->setEnabled(false);
        }
        button = nullptr;
    }
    pictures_.clear();
    page_ = buildPage();
    if (page_ == nullptr) {
        return;
    }
    const int homeX = page_->getX();
    page_->setClipRect(homeX - PANEL_PADDING, page_->getY() - PANEL_PADDING,
                       page_->getWidth() + 2 * PANEL_PADDING,
                       page_->getHeight() + 2 * PANEL_PADDING);
    addComponent(page_);
    if (direction == 0) {
        return;
    }
    const int from = homeX + direction * (page_->getWidth() + PANEL_PADDING);
    page_->setX(from);
    Scene* scene = chooserScene();
    if (scene != nullptr) {
        scene->getListenerContainer().setInputEnabled(false);
    }
    getListenerContainer().setInputEnabled(false);
    page_->addModifier(chooserBlocking(new ModifierLocationLine(
        from, page_->getY(), homeX, page_->getY(), PREVIEW_SCROLL_DURATION, true)));
    page_->addModifier(new ModifierFunction(&DialogLayoutPreview::enableInput, this));
}

int DialogLayoutPreview::enableInput(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogLayoutPreview*>(dialog);
    if (Scene* scene = chooserScene()) {
        scene->getListenerContainer().setInputEnabled(true);
    }
    self->getListenerContainer().setInputEnabled(true);
    return 0;
}

Sprite* DialogLayoutPreview::buildPage() {
    Sprite* page = makeFromTemplate(getDefinition(), "page_panel");
    if (page == nullptr) {
        return nullptr;
    }
    PropertyNode* pageDefinition = asNode(getDefinition()->getChild("page_panel"));
    const int stepX = pageDefinition->getValue("stepx")->getInt();
    const int stepY = pageDefinition->getValue("stepy")->getInt();
    const OrvantaPlayer* player = chooserProfile();
    const bool open = isPageOpen(firstIndex_ / kPerPage, player);
    auto* pagePanel = kindCast<Panel>(page);
    for (int slot = 0; slot < kPerPage; ++slot) {
        const int index = firstIndex_ + slot;
        if (index < 0 || index >= static_cast<int>(levels_.size()) || pagePanel == nullptr) {
            break;
        }
        Sprite* cell = makeFromTemplate(getDefinition(), "button_panel");
        if (cell == nullptr) {
            break;
        }
        cell->setPosition(cell->getX() + stepX * (slot % kChooserColumns),
                          cell->getY() + stepY * (slot / kChooserColumns));
        pagePanel->addComponent(cell);
        Level* level = levels_.at(static_cast<std::size_t>(index)).get();
        if (auto* button = chooserPart<Button>(cell, "BUTTON")) {
            button->setTag(index);
            button->setEnabled(open);
            getListenerContainer().addListener(button, &DialogLayoutPreview::onLayoutChosen, this);
            layoutButtons_.at(static_cast<std::size_t>(slot)) = button;
        }
        RecRoomRecord record;
        if (player != nullptr && gameType_ >= 0 && gameType_ < PlayerStats::kCasinoTypes) {
            const std::vector<RecRoomRecord>& list = player->stats.getRecRoomList(gameType_);
            if (static_cast<std::size_t>(index) < list.size()) {
                record = list.at(static_cast<std::size_t>(index));
            }
        }
        setChooserText(chooserPart<Label>(cell, "TIME"),
                       record.bestTime > 0
                           ? formatTime(static_cast<std::uint32_t>(record.bestTime), true, false)
                           : std::wstring(L"-"));
        setChooserText(chooserPart<Label>(cell, "PLAYED"), std::to_wstring(record.playCount));
        setChooserText(chooserPart<Label>(cell, "COMPLETED"),
                       std::to_wstring(record.levelWinCount));
        for (const char* name :
             {"TIME", "PLAYED", "COMPLETED", "TIME_TEXT", "PLAYED_TEXT", "COMPLETED_TEXT"}) {
            if (auto* part = chooserPart<Sprite>(cell, name)) {
                part->setVisible(open);
            }
        }
        if (auto* lock = chooserPart<Sprite>(cell, "LOCK")) {
            lock->setVisible(!open);
        }
        auto* picture = chooserPart<Sprite>(cell, "SPRITE");
        if (picture != nullptr && level != nullptr) {
            if (level->getLayout() == nullptr) {
                level->loadLayout();
            }
            if (level->getLayout() != nullptr) {
                LayoutPreview drawer;
                RefPtr<Image> image(
                    drawer.draw(*level->getLayout(), gameType_ % LayoutPreview::kBackgrounds));
                if (image) {
                    pictures_.push_back(image);
                    picture->setImage(image.get());
                    picture->setStretchHeight(image->getHeight() * PREVIEW_SCALE_RECROOM / 100);
                    picture->setStretchWidth(image->getWidth() * PREVIEW_SCALE_RECROOM / 100);
                }
            }
            picture->setAlpha(open ? 255 : kChooserLockedAlpha);
        }
    }
    return page;
}

int DialogLayoutPreview::onNext(void* dialog, void* /*button*/) {
    static_cast<DialogLayoutPreview*>(dialog)->showPage(1);
    return 0;
}

int DialogLayoutPreview::onPrevious(void* dialog, void* /*button*/) {
    static_cast<DialogLayoutPreview*>(dialog)->showPage(-1);
    return 0;
}

int DialogLayoutPreview::onLayoutChosen(void* dialog, void* button) {
    auto* self = static_cast<DialogLayoutPreview*>(dialog);
    const int index = static_cast<GameNode*>(static_cast<Button*>(button))->getTag();
    if (index < 0 || index >= static_cast<int>(self->levels_.size())) {
        return 0;
    }
    OrvantaPlayer* player = chooserProfile();
    if (DataGathering* record = DataGathering::get()) {
        RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
        event->add(new PropertyValue("playerName",
                                     player != nullptr ? player->getName() : std::string(), true));
        if (player != nullptr && !player->stats.firstRecrLayoutClicked) {
            event->add(new PropertyValue("firstTimeRecr", std::string_view("true"), true));
        }
        event->add(new PropertyValue("gameType", self->gameType_, true));
        event->add(new PropertyValue("layoutIndex", index, true));
        record->addRecord(*event);
    }
    if (player != nullptr) {
        player->stats.firstRecrLayoutClicked = true;
    }
    Level* level = self->levels_.at(static_cast<std::size_t>(index)).get();
    level->setPlace(Place::RecRoom);
    if (level->getLayout() == nullptr) {
        level->loadLayout();
    }
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level)) {
        logWarning("recreation room: layout " + std::to_string(index) + " of game type " +
                   std::to_string(self->gameType_) + " cannot be played");
        return 0;
    }
    if (player != nullptr) {
        player->releaseSavedGame();
    }
    SceneManager* manager = SceneManager::getInstance();
    if (manager == nullptr) {
        return 0;
    }
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->clearRequests();
        resources->requestSection("game");
    }
    static_cast<void>(manager->setTransition("TRANSITION_DEFAULT"));
    if (Scene* next = manager->getScene("SCENE_GAME")) {
        manager->setNextScene(next);
    }
    return 0;
}

} // namespace orv
