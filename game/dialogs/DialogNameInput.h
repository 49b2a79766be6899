#pragma once

#include "engine/core/RefPtr.h"
#include "game/dialogs/DialogOrvanta.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

class Button;
class InputLabel;
class Scene;

/// The most players the game keeps: the player selection has this many
/// slots, and no player is added beyond it.
inline constexpr std::size_t kMaxPlayers = 5;

/// Greets the player in `scene` once a player was made or chosen. The
/// building's lobby installs its greeting (`setPlayerGreeting`); without
/// one nothing is greeted.
using PlayerGreeting = void (*)(Scene* scene);
void setPlayerGreeting(PlayerGreeting greeting);
/// Runs the installed greeting for `scene` (null does nothing).
void greetPlayer(Scene* scene);

/// Makes the player called `name` (UTF-8) current, creating it first when
/// no player of that name exists and fewer than kMaxPlayers are listed;
/// the old current player is saved and drops its held saved game, and the
/// players list is saved. False, changing nothing, without a player
/// manager, for a name the manager refuses, or when the list is full.
[[nodiscard]] bool chooseOrAddPlayer(const std::string& name);

/// The question for a player's name, defined as "DIALOG_NEWPLAYER": a
/// header, a line below it ("SUB"), the field "INPUT_NAME", OK and Cancel.
/// OK (or Enter) makes the typed player current, creating it when the name
/// is new, closes the player selection when one is open, and greets the
/// player. While no player exists the question cannot be declined: the
/// Cancel button goes and OK moves to the middle. The field keeps the
/// focus whatever is clicked on the dialog.
///
///     auto* input = kindCast<DialogNameInput>(scene->getDialog("DIALOG_NEWPLAYER"));
///     input->setOpener(selection);   // hidden meanwhile, shown again on Cancel
///     scene->showDialog(input);
///
/// Main thread only.
class DialogNameInput : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogNameInput(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Opens without a fade: the show sound, the field emptied and focused,
    /// the opener hidden.
    void open() override;
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onLeftButtonUp(int x, int y, int flags) override;

    /// The dialog that opened this one (a reference is held until the
    /// question closes), or null.
    void setOpener(Dialog* opener) { opener_ = opener; }
    [[nodiscard]] Dialog* getOpener() const { return opener_.get(); }

    /// A player's name from the typed text, in UTF-8: blanks and tabs cut at
    /// both ends, control characters and unpaired surrogates dropped, and
    /// the end cut at a character boundary so that it fits in the longest
    /// name the players' files take. Empty when nothing is left.
    [[nodiscard]] static std::string makePlayerName(std::wstring_view text);

    /// Callbacks (context: the dialog).
    static int onOk(void* dialog, void* button);
    static int onCancel(void* dialog, void* button);
    static int onNameChanged(void* dialog, void* input);

    /// Borrowed from the dialog; the Cancel button is null once removed.
    [[nodiscard]] InputLabel* getInput() const { return input_; }
    [[nodiscard]] Button* getOkButton() const { return ok_; }
    [[nodiscard]] Button* getCancelButton() const { return cancel_; }

private:
    void focusInput();

    InputLabel* input_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
    RefPtr<Dialog> opener_;
};

} // namespace orv
