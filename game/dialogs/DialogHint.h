#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "game/dialogs/DialogOrvanta.h"

#include <optional>
#include <vector>

namespace orv {

class Button;
class Label;
class PropertyVector;
class Sprite;

/// The tutorial's speech bubble ("DIALOG_HINT"): explains a feature of the
/// playing screen the first time it matters, pointing at it with an arrow in
/// one of its corners (`DialogHintPainter`). Each tutorial hint (numbers 15
/// to 28) is shown at most once per player: its one-time flag is cleared
/// when it is shown. A hint may have several pages; OK turns them, but only
/// once a page has been on show for `HINT_ENTER_FROM_OPEN` ms.
///
/// The playing screen asks for hints at fixed moments, each time only while
/// no bubble is open (`isHintOpen`):
///
///     if (frames++ > 20) DialogHint::tryBoardHints();          // every 22nd frame
///     game->click(x, y);
///     if (DialogHint::tryPlayHints()) return;                    // the click is dropped
///     game->runPendingAction();
///     DialogHint::tryPlayHint();
///     if (DialogHint::tryTileHint()) return;                     // before a shuffle
///
/// The try operations read the current game (`Game::getCurrent`), its
/// services' hint flags and the installed `HintScreenHook`; without a game
/// or a hook they show nothing. Times are milliseconds, points screen pixels
/// of the 800 by 600 window. Main thread only.
class DialogHint : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The first and the last tutorial hint number.
    static constexpr int kFirstHint = 15;
    static constexpr int kLastHint = 28;

    /// "LABEL_TEXT", "LABEL_TEXT2" and "BUTTON_OK" (bound to `onOk`) of the
    /// definition; its integers "TUT_MIDDLE_HEIGHT" and "TUT_BUTTON_Y_OFFSET".
    explicit DialogHint(PropertyNode* definition);
    ~DialogHint() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The one road to a hint: clears hint `hint`'s flag (unless `forced`),
    /// fills the bubble with the hint's pages and opens it on the scene being
    /// shown, pointing at `anchor`, else at `node`'s rectangle, else centred.
    /// Nothing (false) when the player's hints are off and it is not forced,
    /// the number is outside 15 to 28, or no scene can show "DIALOG_HINT".
    static bool showHint(std::optional<Rect> anchor, int hint, bool forced, GameNode* node);
    /// The hints that watch the board, in the order 15, 17, 16, 18, 19, 27;
    /// true when one was shown. Nothing while the super hint runs.
    static bool tryBoardHints();
    /// The hints a click on the board may call for, after the game decided
    /// the click's pending action: 20 and 21, then 23, then 28, 25 and 26.
    /// True when one was shown: the click is then not carried out.
    static bool tryPlayHints();
    /// The FreeCell hint after a click was carried out (22).
    static bool tryPlayHint();
    /// The FreeCell hint offered instead of a shuffle (24): true when shown,
    /// and the shuffle is then dropped.
    static bool tryTileHint();

    /// The bubble last fetched for showing while it is open (not yet hidden),
    /// or null. Borrowed from the global reference.
    [[nodiscard]] static DialogHint* getOpenHint();
    /// True while a bubble is open.
    [[nodiscard]] static bool isHintOpen() { return getOpenHint() != nullptr; }
    /// True while an open bubble holds the game (its clocks and bars stand).
    [[nodiscard]] static bool isGameHeld();
    /// Drops the global reference (the program's shut-down).
    static void releaseCurrent();

    /// "BUTTON_OK": the next page, or the close after the last; a press
    /// earlier than `HINT_ENTER_FROM_OPEN` ms after the page appeared only
    /// plays its sound.
    static int onOk(void* dialog, void* button);

    /// `DialogOrvanta`'s opening, then "SOUND_HELPDIALOG_OPEN".
    void open() override;
    /// `DialogOrvanta`'s hide; the bubble is no longer open.
    void close() override;
    /// Advances the page timer.
    void updateSelf(int elapsedMs) override;

    /// Puts the bubble against the anchor rectangle, on the side of it that
    /// faces the middle of the window, arrow corner towards it, held inside
    /// the 800 by 600 window.
    void placeAt(const Rect& anchor);

    [[nodiscard]] int getHint() const { return hint_; }
    [[nodiscard]] int getPage() const { return page_; }
    [[nodiscard]] int getPageCount() const { return pageCount_; }
    [[nodiscard]] int getPageMs() const { return pageMs_; }
    [[nodiscard]] bool holdsGame() const { return holdsGame_; }
    /// The tile pictures of the flower and season hints (borrowed).
    [[nodiscard]] const std::vector<Sprite*>& getTilePictures() const { return tilePictures_; }
    [[nodiscard]] Label* getTextLabel() const { return text_; }
    [[nodiscard]] Label* getText2Label() const { return text2_; }
    [[nodiscard]] Button* getOkButton() const { return ok_; }

private:
    void setHint(int hint);
    void layOut();
    void setPageText(int page);
    void showPage();
    void sizeFor(int contentBottom);
    void clearTilePictures();

    int hint_ = -1;
    int pageMs_ = 0;
    int page_ = 0;
    RefPtr<PropertyVector> pages_;
    int pageCount_ = 0;
    std::vector<RefPtr<GameNode>> anchorNodes_;
    Label* text_ = nullptr;
    Label* text2_ = nullptr;
    Button* ok_ = nullptr;
    bool holdsGame_ = true;
    bool open_ = false;
    int naturalHeight_ = 0;
    int naturalTextY_ = 0;
    int middleHeight_ = 0;
    int buttonOffset_ = 0;
    std::vector<Sprite*> tilePictures_;
};

/// The picture of a tile of `suit` with face `idx` as the board draws it: the
/// tile body ("TILE") with the face of the current player's tile set (the
/// first without a player). Empty while the pictures are not loaded.
[[nodiscard]] RefPtr<Image> makeTilePicture(int suit, int idx);

} // namespace orv
