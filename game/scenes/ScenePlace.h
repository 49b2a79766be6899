#pragma once

#include "engine/core/RefPtr.h"
#include "game/scenes/SceneOrvanta.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace orv {

class Button;
class GameNode;
class HighScoreTable;
class Image;
class Label;
class Level;
class Modifier;
class Panel;
class Sprite;
class Switch;

/// What one place of the building does its own way: its resource sections,
/// its number in the elevator, its host tip and game mode, and how its glow
/// strip lines up with the chosen switch.
struct PlaceLook {
    std::string_view section;     ///< where "BACKGROUND" and the unlock mask live
    std::string_view glowSection; ///< where "GLOW_FILL" lives
    int glowMiddleShift = 0;      ///< pixels added to the centred "GLOW_MIDDLE"
    int glowButtonShift = 0;      ///< pixels added to the centred "GLOW_BUTTON"
    std::string_view floorNumber; ///< the elevator's button number, as text
    int hintFlag = 0;             ///< the host tip (and its one-time flag)
    int gameMode = 0;             ///< the saved game the place offers
    /// The unlock item of each game-type switch (Classic, FreeCell, Split,
    /// Triple, River); -1 where the place unlocks nothing.
    std::array<int, 5> unlockItems{-1, -1, -1, -1, -1};
};

/// One row of a high-score panel: its name, level and score labels.
struct HighScoreRow {
    Label* name = nullptr;
    Label* level = nullptr;
    Label* score = nullptr;
};

/// The common behaviour of the building's three places (casino, recreation
/// room, roof): a column of game-type switches, a glowing strip joining the
/// chosen switch to the place's panel, the host's portrait while nothing is
/// chosen, the four room buttons (menu, elevator, customise, trophies), the
/// arrival routine (music, usage event, host tip or saved-game question) and
/// the shine over switches a finished hallway floor has just opened. The
/// casino and the roof add a high-score panel of five rows with a blinking
/// new entry and the running lights of `ModifierHighScoreBar` under it.
///
/// A place's scene definition must name every child its class lists; a
/// missing one is simply not used. Coordinates are the scene's pixels
/// (800 x 600). Main thread only.
class ScenePlace : public SceneOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The game type that stands for "nothing chosen yet".
    static constexpr int kNothingChosen = 6;
    static constexpr int kHighScoreRows = 5;
    /// The game-type switches of the casino and the recreation room, tags 0-4.
    static constexpr std::array<std::string_view, 5> kTypeSwitches{
        "SWITCH_CLASSIC", "SWITCH_FREECELL", "SWITCH_SPLIT", "SWITCH_TRIPLE", "SWITCH_RIVER"};
    static constexpr std::array<std::string_view, 3> kDifficultySwitches{
        "SWITCH_NORMAL", "SWITCH_HARD", "SWITCH_EXPERT"};

    ScenePlace(PropertyNode* definition, const PlaceLook& look);
    ScenePlace(const ScenePlace&) = delete;
    ScenePlace& operator=(const ScenePlace&) = delete;
    ~ScenePlace() override;

    /// The chosen game type (0-5), or `kNothingChosen`.
    [[nodiscard]] int getGameType() const { return gameType_; }
    /// The elevator sets `kNothingChosen` before it lets the player in.
    void setGameType(int gameType) { gameType_ = gameType; }
    [[nodiscard]] const PlaceLook& getLook() const { return look_; }

    /// Escape asks the quit question.
    bool onKeyUp(int key) override;

    /// Builds the background afresh for the chosen game type: the plain
    /// "BACKGROUND" with the host's portrait while nothing is chosen, else
    /// the place's panel filled and the glow strip drawn from the chosen
    /// switch down to the panel. The chosen switch shows checked.
    void updateLook();
    /// Each game-type switch is enabled exactly when its unlock item is open.
    void enableGameTypeSwitches();
    /// The switches whose floors were finished since the player was last
    /// here (unlock item 1) shine three times; their items become 2.
    void showUnlockShine();

    // ---- the high-score panel ---------------------------------------------------

    /// The panel's rows, made from the definition's "panel_highscore" under
    /// "PANEL" (null labels before the first open).
    [[nodiscard]] const std::array<HighScoreRow, kHighScoreRows>& getHighScoreRows() const {
        return highScoreRows_;
    }
    /// The node that carries the running lights (null without a panel).
    [[nodiscard]] GameNode* getHighScoreBar() const { return highScoreBar_; }
    /// The blink of the newest entry's row, or null.
    [[nodiscard]] Modifier* getHighScoreBlink() const { return highScoreBlink_; }
    /// The bar hidden, every modifier of the scene removed (the blink and a
    /// pending sound go with them).
    void resetHighScore();

    /// The glow sprites and the host's portrait (null when the definition
    /// lacks them).
    [[nodiscard]] Sprite* getGlowMiddle() const { return glowMiddle_; }
    [[nodiscard]] Sprite* getGlowButton() const { return glowButton_; }
    [[nodiscard]] Sprite* getHostPortrait() const { return hostPortrait_; }
    /// The game-type switch with tag `tag`, or null.
    [[nodiscard]] Switch* getTypeSwitch(int tag) const;

protected:
    /// The switch that stands for the chosen game type.
    [[nodiscard]] virtual Switch* chosenSwitch() const;
    /// Fills the place's own panel for the chosen game type.
    virtual void fillPanel() = 0;

    /// The room buttons bound, the portrait and the glow sprites found (the
    /// glow hidden).
    void buildCommon();
    /// Finds the named switches, tags them and binds them to `function`.
    void bindTypeSwitches(std::span<const std::string_view> names, std::span<const int> tags,
                          GuiFunction function);
    /// The high-score rows made and the running lights hung under "PANEL".
    void buildHighScorePanel();
    /// Players saved, the scene opened, the music, the usage event.
    void arrive();
    /// The host's tip when its flag is still set and hints are on, else the
    /// saved-game question; the tip's flag is cleared either way.
    void offerTipOrSavedGame();
    /// The glow hidden and every game-type switch unchecked.
    void leaveCommon();
    /// Opens the trophy room when a trophy waits to be shown (state 1);
    /// `after` runs with the scene when it closes. False when nothing opened.
    bool openTrophyRoom(GuiFunction after);
    /// The panel's record labels ("LABEL_TOPSCORE", "LABEL_TOPLEVEL",
    /// "LABEL_FINISHED") and rows from `table`; a new entry of the player
    /// blinks, plays its sound and gets the running lights at (`barX`,
    /// `barY` + 20 per row) right above `barSprite`. `barX` < 0 keeps the
    /// bar's x.
    void fillHighScorePanel(int bestScore, int bestLevel, int playCount, HighScoreTable* table,
                            int barX, int barY, std::string_view barSprite);
    /// The level's preview picture shown in "SPRITE_PREVIEW" at 111 x 80.
    void showPreviewOf(Level* level);
    /// The chosen game's panel shown: `caption` in the game-type label, the
    /// panel and the start button visible.
    void showPanel(const std::wstring& caption);
    /// Starts `level` (none: the player is told that `roomFile` cannot be
    /// read) as a level of `place`, named `placeName` in the log, and goes to
    /// the playing screen; a saved game of the place is given up.
    void playLevel(Level* level, int place, std::string_view roomFile, std::string_view placeName);

    int gameType_ = kNothingChosen;
    Button* menuButton_ = nullptr;
    Button* elevatorButton_ = nullptr;
    Sprite* glowButton_ = nullptr;
    Sprite* glowDialog_ = nullptr;
    Sprite* glowMiddle_ = nullptr;
    Sprite* hostPortrait_ = nullptr;
    Sprite* previewSprite_ = nullptr;
    Panel* panel_ = nullptr;
    Label* gameTypeLabel_ = nullptr;
    std::array<Switch*, 5> typeSwitches_{};

private:
    [[nodiscard]] RefPtr<Image> placeImage(std::string_view name, std::string_view section) const;

    PlaceLook look_;
    std::array<HighScoreRow, kHighScoreRows> highScoreRows_{};
    GameNode* highScoreBar_ = nullptr;
    Modifier* highScoreBlink_ = nullptr;
    RefPtr<Image> preview_;
};

/// The key of a game type's name: "TEXT_GAMETYPE" followed by type + 1.
[[nodiscard]] std::string gameTypeTextKey(int gameType);

/// The y at which the glow part of height `partHeight` stands beside the
/// switch at `switchY` of `switchHeight`: centred on it, then moved by
/// `shift` (the division truncates toward zero).
[[nodiscard]] int glowY(int switchY, int switchHeight, int partHeight, int shift);

/// How many whole glow tiles of `tileHeight` fill the gap from `top` down to
/// `bottom`; none when the gap is not positive.
[[nodiscard]] int glowTileCount(int top, int bottom, int tileHeight);

} // namespace orv
