#include "game/dialogs/DialogPlayerSelect.h"

#include "engine/core/GameTree.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/players/AbstractPlayer.h"
#include "game/players/PlayerManager.h"

#include <algorithm>
#include <string>

namespace orv {

constinit const ClassRecord DialogPlayerSelect::classRecord{
    "DialogPlayerSelect", parentRecords<DialogOrvanta::classRecord>};

namespace {

constexpr int kSlots = static_cast<int>(kMaxPlayers);

// Builds the object a component definition names by its type.
template <typename T>
T* buildComponent(PropertyNode* definition) {
    if (definition == DUMMY_NODE) {
        return nullptr;
    }
    BaseObject* object =
        ObjectFactoryContainer::get().createObject(definition->getTypeName(), definition);
    auto* built = kindCast<T>(object);
    if (built == nullptr && object != nullptr) {
        // Made, but of another kind: let go of it.
        const RefPtr<BaseObject> drop(object);
    }
    return built;
}

// The list position of the current player, or -1 without one.
int currentIndex(const PlayerManager& players) {
    const AbstractPlayer* current = players.getCurrentPlayer();
    const auto& list = players.getPlayers();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == current) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

DialogPlayerSelect::DialogPlayerSelect(PropertyNode* definition) : DialogOrvanta(definition) {
    PropertyNode& source = *getDefinition();
    PropertyNode* buttonDefinition = asNode(source.getChild("namebutton"));
    PropertyNode* labelDefinition = asNode(source.getChild("namelabel"));
    const AbstractProperty* spacingKey = source.getChild("spacing");
    const int spacing =
        spacingKey != nullptr && spacingKey->isValue() ? source.getValue("spacing")->getInt() : 0;
    for (int i = 0; i < kSlots; ++i) {
        auto* button = buildComponent<Button>(buttonDefinition);
        if (button == nullptr) {
            break;
        }
        button->setY(button->getY() + i * spacing);
        getListenerContainer().addListener(button, &DialogPlayerSelect::onNameButton, this);
        addComponent(button);
        buttons_.at(static_cast<std::size_t>(i)) = button;
        if (auto* label = buildComponent<Label>(labelDefinition)) {
            GameTree::appendChild(label, button);
            labels_.at(static_cast<std::size_t>(i)) = label;
        }
    }
    if (bindComponent("BUTTON_ADD", &DialogPlayerSelect::onAdd, this)) {
        add_ = kindCast<Button>(findComponent("BUTTON_ADD"));
    }
    if (bindComponent("BUTTON_REMOVE", &DialogPlayerSelect::onRemove, this)) {
        remove_ = kindCast<Button>(findComponent("BUTTON_REMOVE"));
    }
    if (bindComponent("BUTTON_OK", &DialogPlayerSelect::onOk, this)) {
        ok_ = kindCast<Button>(findComponent("BUTTON_OK"));
    }
    border_ = kindCast<Sprite>(findComponent("BORDER"));
    if (border_ != nullptr) {
        // Drawn above the slots.
        GameTree::appendChild(border_, getComponentRoot());
        borderBaseY_ = border_->getY();
    }
    refreshList();
}

BaseObject* DialogPlayerSelect::createFromDefinition(PropertyNode* definition) {
    return new DialogPlayerSelect(definition);
}

Button* DialogPlayerSelect::getNameButton(int slot) const {
    return slot >= 0 && slot < kSlots ? buttons_.at(static_cast<std::size_t>(slot)) : nullptr;
}

Label* DialogPlayerSelect::getNameLabel(int slot) const {
    return slot >= 0 && slot < kSlots ? labels_.at(static_cast<std::size_t>(slot)) : nullptr;
}

void DialogPlayerSelect::open() {
    refreshList();
    DialogOrvanta::open();
}

void DialogPlayerSelect::refreshList() {
    const PlayerManager* players = PlayerManager::get();
    const int count = players != nullptr ? static_cast<int>(players->getPlayers().size()) : 0;
    const int current = players != nullptr ? currentIndex(*players) : -1;
    selected_ = current < kSlots ? current : -1;
    for (int i = 0; i < kSlots; ++i) {
        Label* label = labels_.at(static_cast<std::size_t>(i));
        if (label != nullptr) {
            const auto index = static_cast<std::size_t>(i);
            label->setText(i < count ? stringToWide(players->getPlayers().at(index)->getName())
                                     : std::wstring());
        }
    }
    if (border_ != nullptr) {
        Button* frame = getNameButton(selected_);
        border_->setVisible(frame != nullptr);
        if (frame != nullptr) {
            border_->setY(frame->getY() + borderBaseY_);
        }
    }
    if (add_ != nullptr) {
        add_->setEnabled(count < kSlots);
    }
    if (remove_ != nullptr) {
        remove_->setEnabled(count > 1);
    }
    setNeedsRefresh(true);
}

int DialogPlayerSelect::onNameButton(void* dialog, void* button) {
    auto* self = static_cast<DialogPlayerSelect*>(dialog);
    const auto found =
        std::find(self->buttons_.begin(), self->buttons_.end(), static_cast<Button*>(button));
    PlayerManager* players = PlayerManager::get();
    if (found == self->buttons_.end() || players == nullptr) {
        return 0;
    }
    const auto slot = static_cast<std::size_t>(found - self->buttons_.begin());
    if (slot >= players->getPlayers().size()) {
        return onAdd(dialog, button);
    }
    static_cast<void>(players->setCurrentPlayer(players->getPlayers().at(slot).get()));
    self->refreshList();
    return 0;
}

int DialogPlayerSelect::onAdd(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogPlayerSelect*>(dialog);
    const PlayerManager* players = PlayerManager::get();
    Scene* scene = getShownScene();
    if (players == nullptr || players->getPlayers().size() >= kMaxPlayers || scene == nullptr) {
        return 0;
    }
    if (auto* input = kindCast<DialogNameInput>(scene->getDialog("DIALOG_NEWPLAYER"))) {
        input->setOpener(self);
        scene->showDialog(input);
    }
    return 0;
}

int DialogPlayerSelect::onRemove(void* dialog, void* /*button*/) {
    const PlayerManager* players = PlayerManager::get();
    Scene* scene = getShownScene();
    if (players == nullptr || players->getPlayers().size() < 2 || scene == nullptr) {
        return 0;
    }
    if (DialogYesNo* question =
            DialogYesNo::ask("TEXT_REMOVE_PLAYER", "TEXT_REMOVE_PLAYER_HEADER", dialog,
                             &DialogPlayerSelect::onRemoveConfirmed, nullptr, nullptr, scene)) {
        scene->showDialog(question);
    }
    return 0;
}

int DialogPlayerSelect::onRemoveConfirmed(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogPlayerSelect*>(dialog);
    PlayerManager* players = PlayerManager::get();
    if (players != nullptr && players->getPlayers().size() > 1) {
        // The current player goes; the one after it takes its place, or the
        // one before it when it was the last.
        const int current = currentIndex(*players);
        const int count = static_cast<int>(players->getPlayers().size());
        if (current >= 0) {
            const std::string name = players->getCurrentPlayer()->getName();
            const int successor = current + 1 < count ? current + 1 : current - 1;
            static_cast<void>(players->setCurrentPlayer(
                players->getPlayers().at(static_cast<std::size_t>(successor)).get()));
            static_cast<void>(players->deletePlayer(name));
        }
        self->refreshList();
        greetPlayer(getShownScene());
    }
    if (Scene* scene = getShownScene()) {
        DialogOrvanta::close(kindCast<DialogOrvanta>(scene->findDialog("TEXT_REMOVE_PLAYER")));
    }
    return 0;
}

int DialogPlayerSelect::onOk(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogPlayerSelect*>(dialog);
    greetPlayer(getShownScene());
    if (self->ok_ != nullptr) {
        self->ok_->setState(Button::kNormal);
    }
    return DialogOrvanta::justClose(dialog, nullptr);
}

} // namespace orv
