#pragma once

#include "engine/platform/iGuiMethod.h"
#include "game/dialogs/DialogOrvanta.h"

#include <string>
#include <string_view>

namespace orv {

class Button;
class Label;
class Scene;

/// The game's one question box: a header, a message and the buttons Yes and
/// No, defined as "DIALOG_YESNO". `ask` builds a fresh dialog for each
/// question; the answer goes to the function bound to the button pressed, as
/// function(context, button). The dialog stays open until a function closes
/// it; the defaults close it at once, without a fade.
///
///     DialogYesNo* question = DialogYesNo::ask("CTEXT_QUESTION_QUIT", "CTEXT_QUIT_HEADER",
///                                              this, &Lobby::onQuit, nullptr, nullptr, scene);
///     scene->showDialog(question);
///
/// Layout: the definition's "HEADER" and "MESSAGE" are centred labels
/// (anchor "top"), the buttons' y is their distance from the dialog's bottom
/// edge. Main thread only.
class DialogYesNo : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogYesNo(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Closes and forgets an open question of `messageKey` in `scene`,
    /// builds a new "DIALOG_YESNO" stored under `messageKey`, fills it with
    /// the texts of the two keys (empty when missing) and the callbacks
    /// (null ones just close the question) and returns it for the caller to
    /// show in `scene`. Null (logged by the scene) when the definition is
    /// missing or `scene` is null. Borrowed from the scene's map.
    static DialogYesNo* ask(std::string_view messageKey, std::string_view headerKey,
                            void* yesContext, GuiFunction yesFunction, void* noContext,
                            GuiFunction noFunction, Scene* scene);
    /// Fills and lays out the question (ask calls it once). A null function
    /// becomes `closeWithoutFade` on this dialog.
    void setQuestion(const std::wstring& message, const std::wstring& header, void* yesContext,
                     GuiFunction yesFunction, void* noContext, GuiFunction noFunction);

    /// The default answer: closes the question `dialog` (a `DialogYesNo`)
    /// at once and takes it out of its scene's map. Returns 0.
    static int closeWithoutFade(void* dialog, void* button);

    /// Null until the question is set. Borrowed from the dialog.
    [[nodiscard]] Label* getHeaderLabel() const { return headerLabel_; }
    [[nodiscard]] Label* getMessageLabel() const { return messageLabel_; }
    [[nodiscard]] Button* getYesButton() const { return yesButton_; }
    [[nodiscard]] Button* getNoButton() const { return noButton_; }

private:
    Label* headerLabel_ = nullptr;
    Label* messageLabel_ = nullptr;
    Button* yesButton_ = nullptr;
    Button* noButton_ = nullptr;
    int naturalWidth_ = 0;
    int naturalHeight_ = 0;
};

} // namespace orv
