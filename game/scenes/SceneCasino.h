#pragma once

#include "engine/core/RefPtr.h"
#include "game/scenes/ScenePlace.h"

#include <array>

namespace orv {

class Level;

/// Where a hidden click must land, in window pixels.
struct HiddenSpot {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/// The casino ("SCENE_CASINO", game mode 1, the elevator's stop 21): the
/// player picks one of five game types (each opened by a finished hallway
/// floor) and a difficulty ("SWITCH_EXPERT" opens late), sees the level's
/// miniature, the own record and the five best scores of that pair, and
/// starts the run with "BUTTON_START". Nine clicks in a row on three spots
/// of the felt (1, 2, 3, 1, 2, 3, 1, 2, 3) open the dialog
/// "DIALOG_KILLER_STONES". Registered as "SceneCasino".
///
/// The scene definition names "PANEL" (with "LABEL_TOPSCORE",
/// "LABEL_TOPLEVEL", "LABEL_FINISHED"), "SPRITE_PREVIEW", "LABEL_GAMETYPE",
/// "SPRITE_DIALOG_CASINO", the switches, the glow sprites, "MR_B", the room
/// buttons and "BUTTON_START", and holds the row template "panel_highscore".
/// Main thread only.
class SceneCasino : public ScenePlace {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The three spots of the hidden entry, in click order.
    static constexpr std::array<HiddenSpot, 3> kHiddenSpots{
        {{301, 488, 36, 29}, {344, 521, 38, 35}, {389, 540, 42, 27}}};
    static constexpr int kHiddenClicks = 9;
    /// The unlock items of Expert and of the game types (Classic, FreeCell,
    /// Split, Triple, River).
    static constexpr int kExpertItem = 17;

    explicit SceneCasino(PropertyNode* definition);
    SceneCasino(const SceneCasino&) = delete;
    SceneCasino& operator=(const SceneCasino&) = delete;
    ~SceneCasino() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first open: components, switches and rows.
    void setBackground() override;
    using Scene::setBackground;
    /// Arrival: the common steps, the panel reset, the look, trophies 10 and
    /// 11 released, then the trophy room or the unlock shine, then the host
    /// tip or the saved-game question.
    void open() override;
    /// Leaving: the base's steps, the panel hidden, the glow off.
    void close() override;
    /// Counts the hidden clicks; never handled, so the buttons see it too.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;

    [[nodiscard]] int getDifficulty() const { return difficulty_; }
    [[nodiscard]] int getHiddenClickCount() const { return hiddenClickCount_; }
    [[nodiscard]] Level* getCurrentLevel() const { return currentLevel_.get(); }
    /// The miniature, the table and the record of the chosen pair.
    void showLevelPreview();

    /// Switch and button callbacks (context: the scene; argument: the
    /// switch or button).
    static int onGameTypeSwitch(void* scene, void* item);
    static int onDifficultySwitch(void* scene, void* item);
    static int onStart(void* scene, void* button);

protected:
    void fillPanel() override { showLevelPreview(); }

private:
    static int onTrophyRoomClosed(void* scene, void* dialog);

    RefPtr<Level> currentLevel_;
    int difficulty_ = 0;
    int hiddenClickCount_ = 0;
};

/// The name of the casino's high-score table of `gameType` and `difficulty`
/// ("1_3_2").
[[nodiscard]] std::string casinoTableName(int gameType, int difficulty);

} // namespace orv
