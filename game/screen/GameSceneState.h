#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/SoundNode.h"
#include "game/board/Tile.h"

namespace orv {

class SceneGame;

/// A state of the playing screen: it owns the screen while the level is
/// introduced, built up, shuffled or ended. `SceneGame::setState` runs the
/// old state's `leave` before the new one's `enter`; a state may switch the
/// state from its own operations, after which it must touch nothing of
/// itself (the screen may have released it).
class GameSceneState : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    virtual void enter() {}
    /// Per frame while current; `elapsedMs` >= 0.
    virtual void update(int /*elapsedMs*/) {}
    virtual void leave() {}

protected:
    /// The playing screen (the scene singleton); null when there is none.
    [[nodiscard]] static SceneGame* screen();
};

/// The level information dialog; on its close the instructions follow.
class StateRoomInfo : public GameSceneState {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    void enter() override;
    static int onLevelInfoClosed(void* context, void* argument);
};

/// The host's tip of the game type, once per player; then the build-up.
class StateInstructions : public GameSceneState {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    void enter() override;
    static int onHintClosed(void* context, void* argument);
};

/// The tiles fly onto the board one by one, bottom up.
class StateBuildLevel : public GameSceneState {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    StateBuildLevel();
    void enter() override;
    void update(int elapsedMs) override;
    [[nodiscard]] int getTileInterval() const { return tileInterval_; }
    [[nodiscard]] std::size_t getPendingCount() const { return pendingTiles_.size(); }

private:
    void finish();

    int tileInterval_ = 0;
    int elapsed_ = 0;
    TileList pendingTiles_;
    RefPtr<SoundNode> loopSound_;
};

/// Turns the HUD on and ends itself: the level is played.
class StatePlaying : public GameSceneState {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    void enter() override;
};

/// The board is taken apart while a new deal is made; the build-up follows.
class StateShuffle : public GameSceneState {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    StateShuffle();
    void enter() override;
    void update(int elapsedMs) override;
    void leave() override;

private:
    int tileInterval_ = 0;
    int elapsed_ = 0;
    TileList pendingTiles_;
    RefPtr<SoundNode> loopSound_;
};

/// The level is over: records, then after a countdown the level-end dialog.
class StateLevelOver : public GameSceneState {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    void update(int elapsedMs) override;
    [[nodiscard]] int getCountdown() const { return countdown_; }
    [[nodiscard]] bool isDialogShown() const { return dialogShown_; }
    static int onLevelEndClosed(void* context, void* argument);

protected:
    int countdown_ = 1500;
    bool dialogShown_ = false;
};

/// Time ran out.
class StateGameOver : public StateLevelOver {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    void enter() override;
};

/// The board was cleared.
class StateGameWon : public StateLevelOver {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }
    void enter() override;
};

} // namespace orv
