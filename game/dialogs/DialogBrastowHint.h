#pragma once

#include "game/dialogs/DialogOrvanta.h"

#include <string>

namespace orv {

class Button;
class Label;

/// The host's tip box ("DIALOG_BRASTOW_HINT"): the text of tip N (the text
/// "BRASTOW_HINT_N") above an OK button, grown to fit the text. It plays the
/// host's own sound instead of the dialog sounds.
///
///     auto* tip = kindCast<DialogBrastowHint>(scene->getDialog("DIALOG_BRASTOW_HINT"));
///     tip->showTip(5);
///     scene->showDialog(tip);
///
/// Main thread only.
class DialogBrastowHint : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogBrastowHint(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The base's opening, then "SOUND_BRASTOW_HINT".
    void open() override;
    /// Fills the dialog with tip `tip` (placeholders replaced, see
    /// `fillTipText`) and sizes it to the text's height; call it before
    /// each showing (a scene keeps its dialog from one showing to the next).
    void showTip(int tip);

    /// `text` with every "%n" replaced by `playerName` and, in tip 3 only,
    /// every "%x" by "2" when `twoStars` holds, else "3".
    [[nodiscard]] static std::wstring fillTipText(std::wstring text, int tip,
                                                  const std::wstring& playerName, bool twoStars);

    /// Borrowed from the dialog; null when the definition lacks them.
    [[nodiscard]] Label* getTextLabel() const { return text_; }
    [[nodiscard]] Button* getOkButton() const { return ok_; }

private:
    Button* ok_ = nullptr;
    Label* text_ = nullptr;
    int naturalHeight_ = 0;
    int naturalOkY_ = 0;
};

} // namespace orv
