#pragma once

#include "engine/core/RefPtr.h"
#include "game/scenes/ScenePlace.h"

namespace orv {

class Level;
class Switch;

/// The roof ("SCENE_ROOF", game mode 3, the elevator's stop 23, opened by
/// the last hallway floor): Speed on the roof's own levels, or Mixed, a
/// casino level of a game type drawn once per run and played with the
/// level's mixed flag; each at three difficulties ("SWITCH_EXPERT" opens
/// late). Like the casino it shows the level's miniature, the own record
/// and the five best scores, and starts the run with "BUTTON_START". No
/// host portrait, no unlock shine. Registered as "SceneRoof".
///
/// The scene definition names "PANEL" (with the record labels),
/// "SPRITE_PREVIEW", "LABEL_GAMETYPE", "SPRITE_DIALOG_ROOF",
/// "SWITCH_SPEED", "SWITCH_MIXED", the difficulty switches, the glow
/// sprites, the room buttons and "BUTTON_START", and holds the row
/// template "panel_highscore". Main thread only.
class SceneRoof : public ScenePlace {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kSpeed = 5;
    static constexpr int kExpertItem = 17;

    explicit SceneRoof(PropertyNode* definition);
    SceneRoof(const SceneRoof&) = delete;
    SceneRoof& operator=(const SceneRoof&) = delete;
    ~SceneRoof() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first open: components, switches, rows, and the Mixed game type
    /// drawn for the run.
    void setBackground() override;
    using Scene::setBackground;
    /// Arrival: the common steps with the host tip or the saved-game
    /// question, the panel reset, the look, Expert opened by its floor.
    void open() override;
    /// Leaving: the base's steps, the panel hidden, the glow off, both game
    /// switches unchecked.
    void close() override;

    [[nodiscard]] int getDifficulty() const { return difficulty_; }
    [[nodiscard]] Level* getCurrentLevel() const { return currentLevel_.get(); }
    /// The game type Mixed plays in this run (0-4; -1 before the first open).
    [[nodiscard]] int getMixedType() const;
    /// The miniature, the table and the record of the chosen game and
    /// difficulty.
    void showLevelPreview();

    static int onGameTypeSwitch(void* scene, void* item);
    static int onDifficultySwitch(void* scene, void* item);
    static int onStart(void* scene, void* button);

protected:
    [[nodiscard]] Switch* chosenSwitch() const override;
    void fillPanel() override { showLevelPreview(); }

private:
    Switch* speedSwitch_ = nullptr;
    Switch* mixedSwitch_ = nullptr;
    RefPtr<Level> currentLevel_;
    int difficulty_ = 0;
};

/// The name of the roof's high-score table: "3_5_" + difficulty for Speed,
/// "mixed_" + difficulty for Mixed.
[[nodiscard]] std::string roofTableName(bool mixed, int difficulty);

} // namespace orv
