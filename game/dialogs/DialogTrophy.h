#pragma once

#include "engine/core/RefPtr.h"
#include "game/dialogs/DialogOrvanta.h"

#include <string>
#include <vector>

namespace orv {

class DialogRoomInfo;
class DialogTrophyText;
class GameNode;
class Label;
class Sprite;

/// The trophy room ("DIALOG_TROPHY"): the building at night with one lit
/// window per hallway room won (a star in it when the room has its gold
/// score), the twenty trophies on their shelves (earned ones in colour, the
/// others in their "_UNCLAIMED" look), a legend for the hovered window and a
/// text box for the hovered trophy. Opened while trophies wait to be shown
/// (state 1), it first plays their ceremony: a header slides in, sparks shoot
/// up from the emitter and each new trophy, last index first, spins in, pops
/// up with its texts and flies onto its shelf.
///
///     if (!DialogTrophy::open(this, &Scene::onTrophiesDone)) { onTrophiesDone(this, nullptr); }
///
/// The ceremony's steps live on the room's own nodes, so closing the room
/// (its Menu button) ends them with it. Coordinates are screen pixels
/// (800 x 600), times milliseconds of frame time. Main thread only.
class DialogTrophy : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Index that stands for "no trophy being awarded".
    static constexpr int kNoTrophy = 20;

    explicit DialogTrophy(PropertyNode* definition);
    DialogTrophy(const DialogTrophy&) = delete;
    DialogTrophy& operator=(const DialogTrophy&) = delete;
    ~DialogTrophy() override;

    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Opens the room in the scene being shown when the current player has
    /// a trophy in state 1, with `function(context, room)` as its after-close
    /// callback; true when it opened. Otherwise nothing happens.
    static bool open(void* context, GuiFunction function);

    /// The opening: fade in, collect the new trophies (1 -> 2), place the
    /// shelves' placeholders, show the two companion boxes.
    void open() override;
    /// The scene's hide slot: the companion boxes are put away and closed.
    void close() override;
    /// Hover effects and texts, once the room is ready.
    void updateSelf(int elapsedMs) override;
    /// Keeps the pointer for the hover tests.
    bool onMouseMove(int x, int y, int flags) override;

    /// "BUTTON_MENU": empties the room and closes it; the after-close
    /// callback runs once, when the fade has ended.
    static int onMenuButton(void* dialog, void* button);
    /// Releases the room's sprites, puts the companion boxes away and closes.
    void closeRoom();
    /// The room leaves its scene at once without calling back (its scene is
    /// being left).
    void putAway();

    /// The window under (x, y): room 1-5 and floor 1-20; false when none.
    [[nodiscard]] static bool windowAt(int x, int y, int& room, int& floor);
    /// A window's top-left corner.
    [[nodiscard]] static int windowX(int room);
    [[nodiscard]] static int windowY(int floor);
    /// The hover legend of a room: "Room 123: won" and the like.
    [[nodiscard]] static std::wstring roomLegend(int floor, int room);
    /// Title and description of trophy `index` (entry 1), with its "%3" number
    /// written plainly or grouped.
    static void trophyTexts(int index, bool grouped, std::wstring& title,
                            std::wstring& description);

    [[nodiscard]] bool isBusy() const { return busy_; }
    [[nodiscard]] int getCurrentTrophy() const { return currentTrophy_; }
    [[nodiscard]] const std::vector<int>& getPendingAwards() const { return pendingAwards_; }
    [[nodiscard]] bool hasNewTrophies() const { return hasNewTrophies_; }
    [[nodiscard]] GameNode* getTrophyLayer() const { return trophyLayer_.get(); }
    [[nodiscard]] GameNode* getUnclaimedEarnedLayer() const { return unclaimedEarnedLayer_.get(); }
    [[nodiscard]] GameNode* getWindowLayer() const { return windowLayer_.get(); }
    [[nodiscard]] GameNode* getStarLayer() const { return starLayer_.get(); }
    [[nodiscard]] GameNode* getHoverStarLayer() const { return hoverStarLayer_.get(); }
    [[nodiscard]] DialogTrophyText* getTextDialog() const { return textDialog_; }
    [[nodiscard]] DialogRoomInfo* getRoomInfoDialog() const { return roomInfoDialog_; }
    [[nodiscard]] Sprite* getHoveredTrophy() const { return hoveredTrophy_; }
    /// The awarded order so far (for tests and the log).
    [[nodiscard]] const std::vector<int>& getAwardedOrder() const { return awardedOrder_; }

private:
    void afterOpenFade();
    void startAward();
    void spawnSpark(int delayMs);
    void awardStepDone();
    void awardTrophy();
    void showAwardBox();
    void hideAwardBox();
    void trophyArrived(Sprite* trophy);
    void showEarnedTrophies(bool afterAward);
    void roomReady();
    void buildWindows();
    void hoverTrophies(int elapsedMs);
    void orbitStar(Sprite* star);
    void clearLayers();
    void putCompanionsAway(bool forget);

    static int onAfterOpenFade(void* dialog, void* modifier);
    static int onAwardStep(void* dialog, void* modifier);
    static int onSparkDone(void* dialog, void* modifier);
    static int onShowAwardBox(void* dialog, void* modifier);
    static int onTrophyArrived(void* dialog, void* modifier);
    static int onRoomReady(void* dialog, void* modifier);
    static int onBlinkDone(void* dialog, void* modifier);
    static int onOrbitDone(void* dialog, void* modifier);

    RefPtr<GameNode> trophyLayer_;
    RefPtr<GameNode> unclaimedEarnedLayer_;
    RefPtr<GameNode> starLayer_;
    RefPtr<GameNode> windowLayer_;
    RefPtr<GameNode> hoverStarLayer_;
    Sprite* hoveredTrophy_ = nullptr;
    Sprite* awardBox_ = nullptr;
    Sprite* emitter_ = nullptr;
    Sprite* wonHeader_ = nullptr;
    Label* awardHeaderLabel_ = nullptr;
    Label* awardTextLabel_ = nullptr;
    bool busy_ = true;
    DialogTrophyText* textDialog_ = nullptr;
    DialogRoomInfo* roomInfoDialog_ = nullptr;
    int hoveredRoom_ = -1;
    int hoveredFloor_ = -1;
    int infoTimer_ = -1;
    bool hasNewTrophies_ = false;
    int currentTrophy_ = kNoTrophy;
    std::vector<int> pendingAwards_;
    std::vector<int> awardedOrder_;
    int pointerX_ = -1;
    int pointerY_ = -1;
    int wonHeaderY_ = 0;
};

} // namespace orv
