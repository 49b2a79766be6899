#pragma once

#include "game/dialogs/DialogOrvanta.h"
#include "game/players/PlayerNotices.h"

#include <string>

namespace orv {

class Button;
class Label;
class Scene;

/// The host's word about the player's data ("DIALOG_NOTICE"): what happened
/// to a file, what was kept and under which name, and what the player can
/// do (the text of the notice's kind, see PlayerNotices), above an OK button,
/// grown to fit the text. OK closes it and opens the next notice waiting.
///
///     postPlayerNotice({PlayerNoticeKind::RoomUnreadable, {}, "media/levels/turtle.lay", {}});
///     DialogNotice::showWaiting(*scene);
///
/// Main thread only.
class DialogNotice : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The dialog's instance and definition name.
    static constexpr std::string_view kName = "DIALOG_NOTICE";

    explicit DialogNotice(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Fills the dialog with the text of `notice` (placeholders replaced, see
    /// `fillNoticeText`) and sizes it to the text's height.
    void setNotice(const PlayerNotice& notice);

    /// `text` with every "%n" replaced by the notice's player, "%f" by its
    /// file and "%r" by its reason.
    [[nodiscard]] static std::wstring fillNoticeText(std::wstring text, const PlayerNotice& notice);

    /// Shows the oldest notice waiting in `scene`, unless one is open there
    /// already (its OK shows the next). True when a notice is open now. A
    /// notice that finds no definition of the dialog is logged and dropped.
    static bool showWaiting(Scene& scene);

    /// Borrowed from the dialog; null when the definition lacks them.
    [[nodiscard]] Label* getMessageLabel() const { return message_; }
    [[nodiscard]] Button* getOkButton() const { return ok_; }

private:
    // OK (context: the dialog): closes it; the next notice follows the close.
    static int onOk(void* dialog, void* button);

    Button* ok_ = nullptr;
    Label* message_ = nullptr;
    int naturalHeight_ = 0;
    int naturalOkY_ = 0;
};

} // namespace orv
