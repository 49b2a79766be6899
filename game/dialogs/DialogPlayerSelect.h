#pragma once

#include "game/dialogs/DialogNameInput.h"

#include <array>

namespace orv {

class Button;
class Label;
class Sprite;

/// The player selection, defined as "DIALOG_PLAYERSELECT": one name button
/// per slot (built from the definition's node "namebutton", each "spacing"
/// pixels below the one before, with a label from "namelabel" as its last
/// child), a frame "BORDER" around the current player's slot, and the
/// buttons "BUTTON_ADD", "BUTTON_REMOVE" and "BUTTON_OK".
///
/// A name makes that player current; an empty slot or Add asks for a new
/// name ("DIALOG_NEWPLAYER"); Remove asks, then removes the current player
/// and makes the next one current (the one before it when it was the last).
/// Add is offered while fewer than kMaxPlayers are listed, Remove while more
/// than one. A players list with more players than slots (written outside
/// the game) shows the first kMaxPlayers; a current player beyond them has
/// no frame and is still the one Remove removes.
///
/// Main thread only.
class DialogPlayerSelect : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogPlayerSelect(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Refreshes the list, then opens as every game dialog.
    void open() override;
    /// Shows the players in the slots, frames the current one and enables
    /// Add and Remove.
    void refreshList();

    /// Callbacks (context: the dialog; argument: the button).
    static int onNameButton(void* dialog, void* button);
    static int onAdd(void* dialog, void* button);
    static int onRemove(void* dialog, void* button);
    static int onRemoveConfirmed(void* dialog, void* button);
    static int onOk(void* dialog, void* button);

    /// The slot of the current player, or -1 when it has none.
    [[nodiscard]] int getSelected() const { return selected_; }
    /// Borrowed from the dialog; null when the definition lacks them.
    [[nodiscard]] Button* getNameButton(int slot) const;
    [[nodiscard]] Label* getNameLabel(int slot) const;
    [[nodiscard]] Button* getAddButton() const { return add_; }
    [[nodiscard]] Button* getRemoveButton() const { return remove_; }
    [[nodiscard]] Sprite* getBorder() const { return border_; }

private:
    std::array<Button*, kMaxPlayers> buttons_{};
    std::array<Label*, kMaxPlayers> labels_{};
    int selected_ = -1;
    Button* add_ = nullptr;
    Button* remove_ = nullptr;
    Button* ok_ = nullptr;
    Sprite* border_ = nullptr;
    int borderBaseY_ = 0;
};

} // namespace orv
