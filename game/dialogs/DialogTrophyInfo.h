#pragma once

#include "engine/core/RefPtr.h"
#include "game/dialogs/DialogOrvanta.h"

#include <string>

namespace orv {

class Image;
class Label;
class Sprite;
class TrophyInfo;

/// The box that announces a trophy earned during play ("DIALOG_TROPHY_INFO"):
/// it slides in from the left edge to the middle of the 800-pixel screen,
/// stays `TROPHY_INFO_SHOW_TIME` ms, slides out to the right and closes
/// itself at once; its after-close callback (set by the playing screen)
/// then presents the next trophy waiting. A click on the box sends it away
/// at once from where it is.
///
/// It does not count as a dialog over the board: the board stays playable
/// and further trophies queue behind it.
///
///     auto* box = static_cast<DialogTrophyInfo*>(scene->getDialog("DIALOG_TROPHY_INFO"));
///     box->setTrophy(trophy);                       // before showing
///     box->setAfterClose(&onBoxClosed, screen);     // once it has slid out
///     scene->showDialog(box);
class DialogTrophyInfo : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Components "LABEL_HEADER", "LABEL_TEXT" and "SPRITE_TROPHY" (each may
    /// be missing); the defined width is the width without texts and picture.
    explicit DialogTrophyInfo(PropertyNode* definition);
    DialogTrophyInfo(const DialogTrophyInfo&) = delete;
    DialogTrophyInfo& operator=(const DialogTrophyInfo&) = delete;
    ~DialogTrophyInfo() override;

    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The texts and picture of `trophy`: its award entry's title above its
    /// header text, its shelf entry's picture (looked up in section
    /// "trophy"). Borrowed for the call.
    void setTrophy(const TrophyInfo& trophy);
    /// The same with the texts and picture given (the picture may be null;
    /// a reference is kept).
    void setContent(std::wstring header, std::wstring text, Image* picture);

    /// Opens: the award sound, the box sized to its texts, the slide-in.
    void open() override;
    /// A click inside the box sends it away; the click is never consumed.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// Slides the box out from x to the right edge, then closes it.
    void slideOut(int x);

    [[nodiscard]] bool isLeaving() const { return leaving_; }
    [[nodiscard]] Label* getHeaderLabel() const { return header_; }
    [[nodiscard]] Label* getTextLabel() const { return text_; }

private:
    void fitTexts();
    static int onSlidOut(void* dialog, void* modifier);

    Label* header_ = nullptr;
    Label* text_ = nullptr;
    Sprite* trophy_ = nullptr;
    int baseWidth_ = 0;
    std::wstring headerText_;
    std::wstring bodyText_;
    RefPtr<Image> picture_;
    bool leaving_ = false;
};

/// Widens a wrapping label in steps of 50 pixels, from 50 up to 750, until
/// its text takes fewer than three lines; the width it ends at.
int fitLabelWidth(Label& label);

} // namespace orv
