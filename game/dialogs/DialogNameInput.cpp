#include "game/dialogs/DialogNameInput.h"

#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/gui/InputLabel.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "game/dialogs/DialogSounds.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerFiles.h"
#include "game/players/PlayerManager.h"

#include <cstdint>

namespace orv {

constinit const ClassRecord DialogNameInput::classRecord{"DialogNameInput",
                                                         parentRecords<DialogOrvanta::classRecord>};

namespace {

PlayerGreeting installedGreeting = nullptr;

// C0 and C1 controls, and what is no Unicode scalar value: none of it
// belongs in a name that is shown and stored as a file name.
constexpr wchar_t kFirstPrintable = 0x20;
constexpr wchar_t kFirstC1 = 0x7F; // DEL, then the C1 controls
constexpr wchar_t kAfterC1 = 0xA0;
constexpr wchar_t kFirstSurrogate = 0xD800;
constexpr wchar_t kAfterSurrogates = 0xE000;
constexpr wchar_t kLastCodePoint = 0x10FFFF;

bool isUnwanted(wchar_t c) {
    return c < kFirstPrintable || (c >= kFirstC1 && c < kAfterC1) ||
           (c >= kFirstSurrogate && c < kAfterSurrogates) || c > kLastCodePoint;
}

} // namespace

void setPlayerGreeting(PlayerGreeting greeting) {
    installedGreeting = greeting;
}

void greetPlayer(Scene* scene) {
    if (installedGreeting != nullptr && scene != nullptr) {
        installedGreeting(scene);
    }
}

bool chooseOrAddPlayer(const std::string& name) {
    PlayerManager* players = PlayerManager::get();
    if (players == nullptr || name.empty()) {
        return false;
    }
    std::size_t index = players->findPlayer(name);
    if (index >= players->getPlayers().size()) {
        if (players->getPlayers().size() >= kMaxPlayers ||
            players->addPlayer(new OrvantaPlayer(name)) == nullptr) {
            return false;
        }
        index = players->findPlayer(name);
    }
    static_cast<void>(players->setCurrentPlayer(players->getPlayers().at(index).get()));
    static_cast<void>(players->savePlayers());
    return true;
}

DialogNameInput::DialogNameInput(PropertyNode* definition) : DialogOrvanta(definition) {
    // The question appears at once and leaves the playing screen alone.
    setAnimateShow(false);
    setNotifyGameScene(false);
    if (bindComponent("BUTTON_OK", &DialogNameInput::onOk, this)) {
        ok_ = kindCast<Button>(findComponent("BUTTON_OK"));
    }
    auto* cancel = kindCast<Button>(findComponent("BUTTON_CANCEL"));
    int subHeight = 0;
    if (auto* sub = kindCast<Label>(findComponent("SUB"))) {
        sub->relayout();
        subHeight = sub->getHeight();
    }
    if (bindComponent("INPUT_NAME", &DialogNameInput::onNameChanged, this)) {
        input_ = kindCast<InputLabel>(findComponent("INPUT_NAME"));
    }
    if (input_ != nullptr) {
        input_->getEnterCallback().setMethod(&DialogNameInput::onOk, this);
        input_->setY(input_->getY() + subHeight);
    }
    const PlayerManager* players = PlayerManager::get();
    if (players != nullptr && !players->getPlayers().empty()) {
        if (cancel != nullptr && bindComponent("BUTTON_CANCEL", &DialogNameInput::onCancel, this)) {
            cancel_ = cancel;
        }
        if (input_ != nullptr) {
            input_->getEscapeCallback().setMethod(&DialogNameInput::onCancel, this);
        }
    } else if (cancel != nullptr) {
        // The first player cannot decline: OK takes the middle.
        if (ok_ != nullptr) {
            ok_->setX((cancel->getX() + ok_->getX()) / 2);
        }
        cancel->setRemovalMark(true);
    }
    if (ok_ != nullptr && (input_ == nullptr || input_->getText().empty())) {
        ok_->setEnabled(false);
    }
}

BaseObject* DialogNameInput::createFromDefinition(PropertyNode* definition) {
    return new DialogNameInput(definition);
}

void DialogNameInput::open() {
    DialogOrvanta::open();
    if (input_ != nullptr) {
        input_->setText(L"", true);
    }
    focusInput();
    if (opener_ != nullptr) {
        opener_->setVisible(false);
    }
}

void DialogNameInput::focusInput() {
    if (input_ != nullptr) {
        input_->setFocus(true);
    }
}

bool DialogNameInput::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    focusInput();
    return DialogOrvanta::onLeftButtonDown(x, y, flags, doubleClick);
}

bool DialogNameInput::onLeftButtonUp(int x, int y, int flags) {
    focusInput();
    const bool handled = DialogOrvanta::onLeftButtonUp(x, y, flags);
    focusInput();
    return handled;
}

std::string DialogNameInput::makePlayerName(std::wstring_view text) {
    std::wstring clean;
    clean.reserve(text.size());
    for (const wchar_t c : text) {
        if (c == L'\t') {
            clean += L' ';
        } else if (!isUnwanted(c)) {
            clean += c;
        }
    }
    const std::size_t first = clean.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return {};
    }
    clean.erase(0, first);
    std::string name;
    for (const wchar_t c : clean) {
        const std::string bytes = wideToString(std::wstring_view(&c, 1));
        if (name.size() + bytes.size() > kMaxPlayerNameBytes) {
            break;
        }
        name += bytes;
    }
    // Tabs became blanks above.
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return name;
}

int DialogNameInput::onNameChanged(void* dialog, void* /*input*/) {
    auto* self = static_cast<DialogNameInput*>(dialog);
    playDialogSound("default", "SOUND_TICK");
    if (self->input_ == nullptr) {
        return 0;
    }
    std::wstring text = self->input_->getText();
    if (trimWhitespace(text, true, false)) {
        self->input_->setText(text, true);
        return 0; // setText called back with the trimmed text
    }
    if (self->ok_ != nullptr) {
        self->ok_->setEnabled(!text.empty());
    }
    return 0;
}

int DialogNameInput::onOk(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogNameInput*>(dialog);
    const RefPtr<DialogNameInput> keepAlive(self);
    const std::string name =
        self->input_ != nullptr ? makePlayerName(self->input_->getText()) : std::string();
    if (name.empty() || !chooseOrAddPlayer(name)) {
        self->focusInput();
        return 0;
    }
    closeDialogOfCurrentScene("DIALOG_PLAYERSELECT");
    greetPlayer(getShownScene());
    self->opener_ = nullptr;
    self->setAfterClose(nullptr, nullptr);
    DialogOrvanta::close(self);
    return 0;
}

int DialogNameInput::onCancel(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogNameInput*>(dialog);
    const RefPtr<DialogNameInput> keepAlive(self);
    const PlayerManager* players = PlayerManager::get();
    if (players == nullptr || players->getPlayers().empty()) {
        return 0;
    }
    if (Scene* scene = getShownScene()) {
        scene->closeDialog(self);
    }
    if (self->opener_ != nullptr) {
        self->opener_->setVisible(true);
        self->opener_ = nullptr;
    }
    return 0;
}

} // namespace orv
