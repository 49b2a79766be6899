#pragma once

#include "engine/core/RefPtr.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogOrvanta.h"

#include <string>

namespace orv {

class Image;
class Label;
class Modifier;
class Sprite;

/// What a level ended with, as the level-end dialog shows it.
struct LevelResult {
    Place place = Place::Hallway;
    bool won = false;
    int score = 0;
    int timeMs = 0; ///< the recreation room's own time there, else the clock time
};

/// The result of a level ("DIALOG_LEVEL_END"): a header picture, the place's
/// line, the score (the time in the recreation room) counted up from zero
/// beside the player's best as it was before this game, a record moment
/// with its own sound, and Continue. A click on the dialog while it counts
/// shows the final values at once; Continue fades the dialog out, takes it
/// off the screen and runs its after-close callback once (which starts the
/// next level), unless the playing screen is in its room-information state.
///
///     DialogLevelEnd::storePreviousBest();          // before the result is recorded
///     ... record the result ...
///     auto* end = kindCast<DialogLevelEnd>(screen->getDialog("DIALOG_LEVEL_END"));
///     end->setAfterClose(&SceneGame::onLevelEndClosed, screen);
///     screen->showDialog(end);
///
/// Main thread only.
class DialogLevelEnd : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Milliseconds of each fade of a value label and of a short count.
    static constexpr int kStepMs = 500;
    /// Milliseconds of the count without a record.
    static constexpr int kLongCountMs = 1000;

    /// Built for the current game's result (`resultOfCurrentGame`).
    explicit DialogLevelEnd(PropertyNode* definition);
    ~DialogLevelEnd() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Keeps the current player's best for the current level's place as
    /// the previous best (nothing without a game or a player hook: the
    /// previous best stays).
    static void storePreviousBest();
    [[nodiscard]] static BestResult getPreviousBest();
    static void setPreviousBest(BestResult best);
    /// The current game's result; a lost hallway game when there is none.
    [[nodiscard]] static LevelResult resultOfCurrentGame();

    /// Shows `result`: the place's line, the pair of labels of its place,
    /// the lost state. The constructor calls it with the current game's.
    void setResult(const LevelResult& result);
    [[nodiscard]] const LevelResult& getResult() const { return result_; }
    /// A score record: at least the previous best, except for lost games in
    /// the hallway and the recreation room.
    [[nodiscard]] bool isScoreRecord() const;
    /// A time record: below the previous best or the first time, except for
    /// lost games in the hallway and the recreation room.
    [[nodiscard]] bool isTimeRecord() const;

    /// Takes the current game's result when there is a current game, then
    /// the entrance and the count-up (input off until it has ended).
    void open() override;
    /// The scene's hide slot: the count-up ends and the header comes back
    /// from the screen's effect layer.
    void close() override;
    using DialogOrvanta::close;
    /// A press on the dialog while it counts ends the count at its final
    /// values; the press counts as handled.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// Ends the count-up at once at its final values; nothing when none runs.
    void skip();
    [[nodiscard]] bool isCounting() const { return sequence_ != nullptr; }

    static int onContinue(void* dialog, void* button);
    /// The trophy room's after-close callback: the dialog closes now.
    static int afterTrophies(void* dialog, void* room);

    [[nodiscard]] Sprite* getHeader() const { return header_; }
    [[nodiscard]] Label* getSub() const { return sub_; }
    [[nodiscard]] Label* getScore() const { return score_; }
    [[nodiscard]] Label* getBestScore() const { return bestScore_; }
    [[nodiscard]] Label* getTime() const { return time_; }
    [[nodiscard]] Label* getBestTime() const { return bestTime_; }

private:
    // Appends `step` (targeting `target`) to the count-up chain.
    void chain(Modifier* step, GameNode* target);
    void chainFadeIn(Label* label);
    void chainFunction(int (*function)(void*, void*));
    void showFinalValues();
    void endSequence();
    void bringHeaderHome();
    static int onBufferOff(void* dialog, void* modifier);
    static int onRecordScore(void* dialog, void* modifier);
    static int onRecordTime(void* dialog, void* modifier);
    static int onCountDone(void* dialog, void* modifier);

    LevelResult result_;
    bool timeUp_ = false;
    Sprite* header_ = nullptr;
    RefPtr<Image> wonPicture_; // the header's picture of a won level
    Label* sub_ = nullptr;
    Label* score_ = nullptr;
    Label* bestScore_ = nullptr;
    Label* time_ = nullptr;
    Label* bestTime_ = nullptr;
    RefPtr<Modifier> sequence_;
    Modifier* last_ = nullptr;
    bool waitingForTrophies_ = false;
};

} // namespace orv
