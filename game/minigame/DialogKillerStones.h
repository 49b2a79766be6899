#pragma once

#include "engine/core/RefPtr.h"
#include "game/dialogs/DialogOrvanta.h"
#include "game/minigame/FloatRandom.h"
#include "game/minigame/KillerStonesPace.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Font;
class GameNode;
class Image;
class Label;
class Sound;
class Sprite;

/// The hidden shooting game ("DIALOG_KILLER_STONES"), played in a dialog
/// that fills the 800 x 600 screen: tiles fall from the top, the player
/// moves a gun along the bottom with the mouse, shoots with the left button
/// and fires bombs with the right one. Every 25 hits clear a level and the
/// next one runs faster; a tile that reaches the bottom ends the game, and
/// the score goes into the high-score table "minigame".
///
///     Dialog* game = scene->getDialog(DialogKillerStones::kName);
///     scene->showDialog(game);      // waits for its pictures when it is built
///
/// Construction waits for the resource sections it draws from, at most
/// `kLoadLimitMs` on the millisecond clock; when they do not load in that
/// time the dialog shows a message in place of the game and closes on the
/// next click or Escape. Every motion is a modifier on a sprite; the rules that
/// need no drawing are in `KillerStonesRules` and `KillerStonesPace`. Times
/// are milliseconds, positions screen pixels. Main thread only.
class DialogKillerStones : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The dialog's definition name.
    static constexpr std::string_view kName = "DIALOG_KILLER_STONES";
    /// How long construction waits for the resource sections.
    static constexpr int kLoadLimitMs = 10000;
    /// The weapons.
    enum Weapon : int { kNormal = 0, kLaser = 1, kFrag = 2 };

    explicit DialogKillerStones(PropertyNode* definition);
    DialogKillerStones(const DialogKillerStones&) = delete;
    DialogKillerStones& operator=(const DialogKillerStones&) = delete;
    ~DialogKillerStones() override;
    /// The object factory's create function for "DialogKillerStones".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The base's opening, then the welcome texts, the first level's banner,
    /// the first tile after 4500 ms and the gun under the pointer.
    void open() override;
    /// One frame of the game (see the file's comments for the order).
    void updateSelf(int elapsedMs) override;

    /// Escape (27) closes the dialog at once; other keys are not handled.
    bool onKeyDown(int key) override;
    /// The gun follows the pointer's x while a level is being played; never
    /// reported as handled.
    bool onMouseMove(int x, int y, int flags) override;
    /// Fires while playing; after a cleared level starts the next one, after
    /// the game's end closes the dialog (each once the end timer ran out).
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// Fires a bomb while playing.
    bool onRightButtonDown(int x, int y, int flags, bool doubleClick) override;

    /// Gives pick-up `kind` (a `KillerStonesRules::Pickup`) as if a hit had
    /// drawn it: its sound, its texts and its effect. For developer tools and
    /// tests; another kind does nothing.
    void grantPickup(int kind);

    /// Told of every sound the game plays, with its stereo pan (null for
    /// none). Lets tests and tools follow the sounds without an audio device.
    using SoundObserver = void (*)(std::string_view name, int pan);
    static void setSoundObserver(SoundObserver observer);

    // The game's state, for tests and tools.
    [[nodiscard]] bool hasLoaded() const { return loaded_; }
    [[nodiscard]] int getScore() const { return score_; }
    [[nodiscard]] int getHits() const { return hits_; }
    [[nodiscard]] int getLevel() const { return level_; }
    [[nodiscard]] int getBombs() const { return bombs_; }
    [[nodiscard]] int getSpecialShots() const { return specialShots_; }
    [[nodiscard]] int getWeapon() const { return weapon_; }
    [[nodiscard]] int getCurrentPickup() const { return currentPickup_; }
    [[nodiscard]] int getPreviousPickup() const { return previousPickup_; }
    [[nodiscard]] int getLastHitTag() const { return lastHitTag_; }
    [[nodiscard]] int getLastSpawnX() const { return lastSpawnX_; }
    [[nodiscard]] int getSpawnTimer() const { return spawnTimer_; }
    [[nodiscard]] int getFireCooldown() const { return fireCooldown_; }
    [[nodiscard]] bool isTriggerHeld() const { return triggerHeld_; }
    [[nodiscard]] bool isGameOver() const { return gameOver_; }
    [[nodiscard]] bool isLevelCleared() const { return levelCleared_; }
    [[nodiscard]] int getEndTimer() const { return endTimer_; }
    [[nodiscard]] float getGunX() const { return gunX_; }
    [[nodiscard]] const KillerStonesPace& getPace() const { return pace_; }
    /// The members of the shots list and the falling tiles, each held once.
    [[nodiscard]] const std::vector<RefPtr<Sprite>>& getShots() const { return shots_; }
    [[nodiscard]] const std::vector<RefPtr<Sprite>>& getFallingTiles() const { return tiles_; }
    /// Borrowed from the dialog; null while none is shown.
    [[nodiscard]] Label* getContinueLabel() const { return continueLabel_.get(); }
    [[nodiscard]] Label* getScoreLabel() const { return scoreLabel_.get(); }
    /// The face sheet the tiles are drawn from, held by the dialog.
    [[nodiscard]] Image* getSymbols() const { return symbols_.get(); }

private:
    // Construction.
    bool waitForSections();
    void takeResources();
    void buildPlayfield();
    void buildHud();
    void showLoadFailure();

    // The frame.
    void collide();
    void hitTile(Sprite& tile, Sprite& shot, std::vector<RefPtr<Sprite>>& born);
    void burstFrag(int x, int y, std::vector<RefPtr<Sprite>>& born);
    void takePickup(std::vector<RefPtr<Sprite>>& born);
    void announcePickup(int kind, std::vector<RefPtr<Sprite>>& born);
    // The effect of pick-up `kind`; `name` (may be null) is its text, which
    // parks beside the counters for the pick-ups that last.
    void applyPickup(int kind, std::vector<RefPtr<Sprite>>& born, Label* name);
    void spawn(int elapsedMs);
    void spawnTile();
    [[nodiscard]] RefPtr<Image> composeTile(int row, int column) const;
    void moveGun(int elapsedMs);
    void countDown(int elapsedMs);
    void clearField();
    void runEndTimer(int elapsedMs);

    // Input.
    void fire();
    void fireShot(int weapon);
    void fireLaser();
    void fireBomb();
    void startNextLevel();
    void endGame();
    void enterScore();
    void showScoreTable();

    // Pictures and texts.
    Sprite* addShot(Image* image, int x, int y, int tag, bool additive);
    Label* makeLabel(const std::string& fontName, const std::wstring& text, int x, int y,
                     int anchor);
    Label* floatingText(const std::wstring& text, int offset, int delayMs, int durationMs);
    Label* popText(const std::wstring& text, int offset, int delayMs);
    void showLevelBanner(int delayMs);
    void showPoints(int x, int y, int points, int multiplier);
    void starBurst(int x, int y);
    void flashGun();
    void jolt(Label& label);
    void updateScoreLabel();
    void updateSpecialLabel();
    void updateBombLabel();

    // Sounds.
    void play(Sound* sound, std::string_view name, int pan);
    // Plays sound `name` of `section`; false when the section has none.
    bool playNamed(std::string_view section, std::string_view name, int pan);

    // One-shot callbacks (context: the dialog).
    static int onTileLanded(void* dialog, void* modifier);
    static int onShotDone(void* dialog, void* modifier);

    RefPtr<Image> shotImage_;
    RefPtr<Sprite> gun_;
    RefPtr<Label> scoreLabel_;
    RefPtr<Label> specialLabel_;
    RefPtr<Label> bombLabel_;
    RefPtr<Label> continueLabel_;
    // The seven sounds: shot, hit, frag, laser, pick-up, shield, bomb.
    RefPtr<Sound> shotSound_;
    RefPtr<Sound> hitSound_;
    RefPtr<Sound> fragSound_;
    RefPtr<Sound> laserSound_;
    RefPtr<Sound> pickupSound_;
    RefPtr<Sound> shieldSound_;
    RefPtr<Sound> bombSound_;
    RefPtr<Image> symbols_;
    RefPtr<Image> tileImage_;
    RefPtr<Image> screen_;
    RefPtr<Image> bombImage_;
    RefPtr<Image> flashImage_;
    RefPtr<Image> barImage_;
    RefPtr<Image> starImage_;
    RefPtr<Image> sparkImage_;
    // Layers, bottom to top: the field (tiles, shots, gun), the effects, the
    // texts. Borrowed from the component tree.
    GameNode* field_ = nullptr;
    GameNode* effects_ = nullptr;
    GameNode* texts_ = nullptr;

    float gunTargetX_ = 400.0F;
    float gunX_ = 400.0F;
    float gunSpeed_ = 0.0F;
    int gunY_ = 600;
    int fireCooldown_ = 0;
    bool triggerHeld_ = false;
    KillerStonesPace pace_;
    int spawnTimer_ = 0;
    int lastSpawnX_ = 0;
    int bombs_ = 3;
    int specialShots_ = 0;
    int weapon_ = kNormal;
    std::vector<RefPtr<Sprite>> shots_;
    std::vector<RefPtr<Sprite>> tiles_;
    bool gameOver_ = false;
    bool levelCleared_ = false;
    int endTimer_ = 0;
    int level_ = 0;
    int score_ = 0;
    int hits_ = 0;
    int lastHitTag_ = -1;
    int currentPickup_ = -1;
    int previousPickup_ = -1;
    int rapidFireTimer_ = 0;
    FloatRandom floats_;
    bool loaded_ = false;
    // The place the last game's score took in the table, -1 for none.
    int enteredPlace_ = -1;
};

} // namespace orv
