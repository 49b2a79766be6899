#pragma once

#include "engine/core/RefPtr.h"
#include "game/scenes/SceneOrvanta.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Button;
class Label;
class OrvantaPlayer;
class RandomGenerator;
class SoundNode;
class Sprite;

/// The elevator's stops: the lobby, the twenty hallway floors and the three
/// places. A stop number is also the tag of its button.
namespace elevator {
inline constexpr int kLobby = 0;
inline constexpr int kFloors = 20;
inline constexpr int kCasino = 21;
inline constexpr int kRecRoom = 22;
inline constexpr int kRoof = 23;
inline constexpr int kStops = 24;
/// The place buttons in the order of the profile's modesUnlocked: lobby,
/// casino, recreation room, roof.
inline constexpr std::array<int, 4> kPlaceStops{kLobby, kCasino, kRecRoom, kRoof};
/// The scene each place stop leads to, in the same order.
inline constexpr std::array<std::string_view, 4> kPlaceScenes{"SCENE_LOBBY", "SCENE_CASINO",
                                                              "SCENE_RECROOM", "SCENE_ROOF"};

/// Which destination buttons take a press.
struct ButtonStates {
    std::array<bool, kFloors> floors{}; ///< index floor - 1
    std::array<bool, 4> places{};       ///< lobby, casino, recreation room, roof
};

/// Floor n (1-20) is pressable when n <= `floorReached` and n is not waiting
/// in `floorsToUnlock`; place k when `modesUnlocked[k]` is open (neither
/// locked nor newly opened and not yet shown) and `placeExists[k]` (a place
/// whose scene the program does not have yet stays shut).
[[nodiscard]] ButtonStates buttonStates(int floorReached, const std::vector<int>& floorsToUnlock,
                                        const std::array<int, 4>& modesUnlocked,
                                        const std::array<bool, 4>& placeExists);

/// How long the car takes from stop `from` to stop `to` (ms): 200 ms a stop
/// plus BRASTOW_TIP_MINIMAL_TIME_APPEAR.
[[nodiscard]] int travelTime(int from, int to);

/// The resource sections a ride to `destination` asks for: "lobby", the
/// "hallway" for floors 1-20, a place's own section and "casrecroof" for the
/// three places; none for a number that is no stop.
[[nodiscard]] std::vector<std::string_view> sectionsFor(int destination);

/// The y of the floor strip (24 cells, the roof's on top and the lobby's at
/// the bottom) that shows the cell of `stop` in the display window at
/// `displayY` with `displayHeight`: the cell's lower edge 4 pixels above the
/// window's. `stripHeight` is the strip's whole height.
[[nodiscard]] int stripY(int displayY, int displayHeight, int stripHeight, int stop);

/// The counts and odds of the host's talk (the NUM_BRASTOW_* and
/// BRASTOW_*_FREQUENCY settings); a count of 0 or less leaves its kind out.
struct TalkSettings {
    int tips = 0;
    int remarks = 0;
    int statistics = 0;
    int tipPercent = 0;
    int statPercent = 0;
    /// The settings as the tuning constants hold them now.
    [[nodiscard]] static TalkSettings fromConstants();
};

/// The most draws one talk makes before it settles for whatever it can say;
/// bounds the redraws of a tip or a statistic whose condition does not hold.
inline constexpr int kMaxTalkDraws = 32;

/// What the host says in the elevator to `player`: the unlock text when the
/// first floor of `floorsToUnlock` is 1, 2, 11 or 20; otherwise a tip, a
/// remark or a statistic of the player, drawn from `random`, with its "%"
/// places filled. Never loops without end: after `kMaxTalkDraws` draws it
/// takes a remark, else a tip, else nothing. Empty when there is nothing to
/// say (every count 0). The statistics only read the player's records.
[[nodiscard]] std::wstring chooseTalk(OrvantaPlayer& player, const std::vector<int>& floorsToUnlock,
                                      RandomGenerator& random, const TalkSettings& settings);

/// The text of statistic `k` for `player`, or empty when its condition does
/// not hold (or `k` is no statistic). `random` picks the game type of the
/// place statistics among the place's open ones.
[[nodiscard]] std::wstring statisticText(OrvantaPlayer& player, int k, RandomGenerator& random);
} // namespace elevator

/// The elevator car: the lobby's way into the building. Its panel holds the
/// 24 destination buttons ("BUTTON_LOBBY", "BUTTON_FLOOR_1" to
/// "BUTTON_FLOOR_20", "BUTTON_CASINO", "BUTTON_RECROOM", "BUTTON_ROOF"),
/// opened as the player's profile allows; a strip of stop names
/// ("FLOOR_NUMBERS_SPRITE") rolls through the display window
/// ("FLOOR_DISPLAY_SPRITE") while the car travels. On each visit the doors
/// ("LDOOR_SPRITE", "RDOOR_SPRITE") slide open; newly opened floors and
/// places are announced with the host's finger snap ("SNAPFINGERS_SPRITE"),
/// a glow ("FLOOR_UNLOCK_EFFECT") and a shine; after a while the host talks
/// once in the bubble ("TEXT_STREEP", text "TEXT"), and his eyes on the
/// screen ("SCREEN_EYES_SPRITE") blink. Arriving at a floor sets the
/// profile's current floor and switches to "SCENE_HALLWAY"; the lobby and
/// the places switch to their own scenes. Registered as "SceneElevator".
/// Main thread only.
class SceneElevator : public SceneOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit SceneElevator(PropertyNode* definition);
    ~SceneElevator() override;
    SceneElevator(const SceneElevator&) = delete;
    SceneElevator& operator=(const SceneElevator&) = delete;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first open: components found, buttons bound and tagged.
    void setBackground() override;
    using Scene::setBackground;
    /// The music, the players saved, the scene opened, the "hallway" section
    /// asked for, a new player's floor 1 listed to unlock, the strip at the
    /// current stop, the talk reset, the doors opening, the buttons set and
    /// the pending unlocks shown.
    void open() override;
    /// Input off; every animation of the car stopped; the moving sound let go.
    void close() override;
    /// Every frame: the host's talk once per visit, his eyes.
    void updateSelf(int elapsedMs) override;

    /// Lists `floor` (1-20; 21 after the top floor, shown by nothing) to be
    /// announced on the next visit.
    void setFloorToUnlock(int floor);
    /// Empties the list of floors to announce.
    void clearFloorsToUnlock() { floorsToUnlock_.clear(); }
    [[nodiscard]] const std::vector<int>& getFloorsToUnlock() const { return floorsToUnlock_; }
    /// Where the car is (a stop number 0-23).
    [[nodiscard]] int getCurrentStop() const { return currentStop_; }
    void setCurrentStop(int stop);
    /// The floor item (0-19) the player opened last; -1 for none.
    [[nodiscard]] int getLastUnlockedItem() const { return lastUnlockedItem_; }
    void setLastUnlockedItem(int item) { lastUnlockedItem_ = item; }

    /// Starts the ride to `destination` (a stop number), or arrives at once
    /// when the car is there. Asks for the destination's sections.
    void travelTo(int destination);
    /// The ride's duration (ms) of the last `travelTo`; 0 before any.
    [[nodiscard]] int getTravelTime() const { return travelTime_; }
    [[nodiscard]] bool areDoorsMoving() const { return doorsMoving_; }
    [[nodiscard]] bool hasTalked() const { return talked_; }
    /// The host's whole sentence of this visit (empty before he talks).
    [[nodiscard]] const std::wstring& getTalk() const { return talk_; }

    /// A destination button's callback (context: the scene; the button's tag
    /// is the stop).
    static int onDestination(void* scene, void* button);

private:
    void updateButtons();
    [[nodiscard]] bool placeExists(std::size_t place) const;
    void openDoors();
    static int onDoorsOpened(void* scene, void* argument);
    void startUnlockShow();
    static int onUnlockNow(void* scene, void* argument);
    static int onSnapDone(void* scene, void* argument);
    void showPendingUnlocks();
    void shineButton(Button& button);
    static int onShine(void* scene, void* argument);
    void resetTalk();
    void talk();
    void typeTalk(int elapsedMs);
    static int onBubbleOpen(void* scene, void* argument);
    void updateHostScreen(int elapsedMs);
    void placeStrip(int stop);
    static int onRideStart(void* scene, void* argument);
    static int onRideEnd(void* scene, void* argument);
    static int onShake(void* scene, void* argument);
    static int onArrive(void* scene, void* argument);
    void arrive();

    std::array<Button*, 4> placeButtons_{};
    std::array<Button*, elevator::kFloors> floorButtons_{};
    Sprite* floorNumbers_ = nullptr;
    Sprite* floorDisplay_ = nullptr;
    Sprite* unlockEffect_ = nullptr;
    int currentStop_ = 0;
    std::vector<int> floorsToUnlock_;
    Sprite* doorLeft_ = nullptr;
    Sprite* doorRight_ = nullptr;
    bool doorsMoving_ = false;
    Sprite* talkBubble_ = nullptr;
    Label* talkText_ = nullptr;
    bool talked_ = false;
    Sprite* snapFingers_ = nullptr;
    Sprite* screenEyes_ = nullptr;
    int travelTime_ = 0;
    int rideFrom_ = 0;
    RefPtr<SoundNode> movingSound_;
    int lastUnlockedItem_ = -1;
    // The typed-out talk: the whole text with its line breaks, and how much
    // of it shows.
    std::wstring talk_;
    std::wstring typedText_;
    int typedChars_ = -1;
    int typeElapsed_ = 0;
    // The profile whose reached floor the car last saw, so that a floor opened
    // while the player was away is announced on the next visit.
};

} // namespace orv
