#pragma once

#include "engine/core/RefPtr.h"
#include "game/dialogs/DialogOrvanta.h"

#include <array>
#include <vector>

namespace orv {

class Button;
class Label;
class Level;
class OrvantaPlayer;
class Sprite;

/// The recreation room's layout chooser ("DIALOG_LAYOUTPREVIEW"): the
/// layouts of one game type, six to a page, each a button with a miniature,
/// its lock and the player's record on it (times won, times played, best
/// time); "BUTTON_PREVIOUS" and "BUTTON_NEXT" slide the pages. Clicking an
/// open layout starts a recreation-room game on it.
///
///     chooser->setLayouts(3, levels);   // Triple's layouts, from page 0
///     chooser->showPage(0);
///     chooser->updatePageButtons();
///
/// The definition holds the templates "page_panel" (one page; its "step"
/// values "stepx" and "stepy" place the layouts in three columns) and
/// "button_panel" (one layout, with "BUTTON", "SPRITE", "LOCK", "COMPLETED",
/// "PLAYED", "TIME", "COMPLETED_TEXT", "PLAYED_TEXT", "TIME_TEXT"). Times
/// are milliseconds (`PREVIEW_SCROLL_DURATION`). Main thread only.
class DialogLayoutPreview : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kPerPage = 6;

    explicit DialogLayoutPreview(PropertyNode* definition);
    DialogLayoutPreview(const DialogLayoutPreview&) = delete;
    DialogLayoutPreview& operator=(const DialogLayoutPreview&) = delete;
    ~DialogLayoutPreview() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The base's opening (clicks outside the chooser pass on to the room),
    /// then the page buttons set.
    void open() override;

    /// Offers `levels` (held) of `gameType` from the first page on; the
    /// header shows the game type's name. Nothing is built until `showPage`.
    void setLayouts(int gameType, const std::vector<RefPtr<Level>>& levels);
    /// Moves by `direction` pages (-1 back, +1 on, 0 shows the first page
    /// afresh): the shown page slides out (or goes at once for 0) and no
    /// longer takes clicks, the new one slides in; input waits for it.
    void showPage(int direction);
    /// "BUTTON_PREVIOUS" is enabled past the first page, "BUTTON_NEXT"
    /// before the last.
    void updatePageButtons();

    [[nodiscard]] int getFirstIndex() const { return firstIndex_; }
    [[nodiscard]] int getGameType() const { return gameType_; }
    [[nodiscard]] std::size_t getLayoutCount() const { return levels_.size(); }
    /// The page shown (null before the first `showPage`).
    [[nodiscard]] Sprite* getPage() const { return page_; }
    /// The layout buttons of the shown page (null past its last layout).
    [[nodiscard]] const std::array<Button*, kPerPage>& getLayoutButtons() const {
        return layoutButtons_;
    }

    /// Whether the layouts of page `page` are open for `player`: pages 0
    /// and 1 always; page 2 with any of the three recreation-room unlock
    /// items; page 3 with the second or third; later pages with the third.
    [[nodiscard]] static bool isPageOpen(int page, const OrvantaPlayer* player);
    /// The unlock items (indices into `unlockedStuff`) that open pages.
    static constexpr std::array<int, 3> kPageUnlockItems{14, 15, 16};

    static int onNext(void* dialog, void* button);
    static int onPrevious(void* dialog, void* button);
    /// A layout's button (its tag is the layout's index): starts the game.
    static int onLayoutChosen(void* dialog, void* button);

private:
    Sprite* buildPage();
    static int enableInput(void* dialog, void* modifier);

    Label* header_ = nullptr;
    Sprite* page_ = nullptr;
    Button* nextButton_ = nullptr;
    Button* previousButton_ = nullptr;
    std::array<Button*, kPerPage> layoutButtons_{};
    std::vector<RefPtr<Level>> levels_;
    std::vector<RefPtr<Image>> pictures_;
    int firstIndex_ = 0;
    int gameType_ = 6;
};

} // namespace orv
