#pragma once

#include "game/dialogs/DialogOrvanta.h"

namespace orv {

class Button;
class Label;
class Sprite;

/// The manual ("DIALOG_HELP"): four picture pages ("HELP_PAGE0" to
/// "HELP_PAGE3" of section "manual") turned with the previous and next
/// buttons, each with its title ("TEXT_HELP_TITLEn" in "HEADER") and its
/// words ("TEXT_HELP_PAGEn" in "TEXT") beside the picture. A new dialog opens
/// at the first page.
///
/// Main thread only.
class DialogHelp : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kPageCount = 4;

    explicit DialogHelp(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Shows page `page` (0 to 3; others are ignored) and enables the
    /// buttons that lead somewhere.
    void showPage(int page);
    [[nodiscard]] int getPage() const { return page_; }

    [[nodiscard]] Button* getPreviousButton() const { return previous_; }
    [[nodiscard]] Button* getNextButton() const { return next_; }

private:
    static int onPrevious(void* dialog, void* button);
    static int onNext(void* dialog, void* button);

    Sprite* back_ = nullptr;
    Label* title_ = nullptr;
    Label* text_ = nullptr;
    Button* previous_ = nullptr;
    Button* next_ = nullptr;
    int page_ = 0;
};

} // namespace orv
