#pragma once

#include "game/dialogs/DialogOrvanta.h"

namespace orv {

class Label;

/// The credits ("DIALOG_CREDITS"): the text "MESSAGE" scrolls up through a
/// window "clipheight" pixels high, then the dialog closes by itself; OK
/// closes it at any time. The sequence starts when the dialog is built:
/// "startdelay" ms showing the first lines, "scrollduration" ms of scrolling
/// until the last lines reach the window's bottom, "enddelay" ms showing
/// them (a missing key reads 0).
///
/// Main thread only.
class DialogCredits : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogCredits(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    [[nodiscard]] Label* getMessage() const { return message_; }
    /// Where the text's top starts and ends, in the dialog's coordinates.
    [[nodiscard]] int getStartY() const { return startY_; }
    [[nodiscard]] int getEndY() const { return endY_; }

private:
    static int onFinished(void* dialog, void* modifier);

    Label* message_ = nullptr;
    int clipHeight_ = 0;
    int scrollDuration_ = 0;
    int startDelay_ = 0;
    int endDelay_ = 0;
    int startY_ = 0;
    int endY_ = 0;
};

/// The notice after a lost level whose Continue ("BUTTON_CONTINUE") starts
/// the level again on the playing screen and closes the notice.
class DialogGameOver : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogGameOver(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The button's callback (context: the dialog).
    static int onContinue(void* dialog, void* button);
};

} // namespace orv
