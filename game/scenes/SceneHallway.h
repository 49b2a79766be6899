#pragma once

#include "engine/core/RefPtr.h"
#include "game/scenes/SceneOrvanta.h"

#include <array>
#include <optional>
#include <string>

namespace orv {

class Button;
class DialogRoomPreview;
class Image;
class Label;
class Level;
class Modifier;
class Sprite;

/// Where a door's preview and medal stand, in scene pixels.
struct HallwayPoint {
    int x = 0;
    int y = 0;
};

/// One hallway floor of the building: five room doors, one level each, a
/// plant, the medals won on the doors, the room buttons (menu, elevator,
/// trophies, customise) and the room preview shown while the pointer rests
/// on a door. The floor's look (door places, background, knobs, plates,
/// plant, one hue per game type) is read from "media/properties/hallway.xml"
/// on every arrival, and each door's area of the background is turned to
/// the hue of the game type behind it. A click on a door starts that room's
/// level on "SCENE_GAME"; coming back, a new or better medal lands on the
/// door with a burst of stars. Registered as "SceneHallway".
///
/// The elevator chooses the floor (`setFloor`), then switches here. Back
/// from a level started here the hallway shows that floor again. The
/// player's own floor (`currentFloor`) moves only here: when the room just
/// won completed that floor, the floor-completed sequence plays (the room
/// numbers fly into a row of stars, the captions and summary stars come in,
/// the reward text wiggles) and its OK button leads, after any trophy
/// ceremony, to the elevator. After an ordinary arrival held-back trophies
/// are shown in the trophy room, then the host may give a tip.
///
///     hallway->setFloor(7);
///     switchScene("hallway", "TRANSITION_DEFAULT", "SCENE_HALLWAY");
///
/// Coordinates are scene pixels (800 x 600); times are milliseconds of frame
/// time. Main thread only.
class SceneHallway : public SceneOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kDoors = 5;
    /// Hue entries: one per game type Classic to River.
    static constexpr int kHues = 5;
    /// Milliseconds the preview stays after the pointer has left the doors.
    static constexpr int kPreviewCloseMs = 500;
    /// The floor file read on every arrival.
    static constexpr std::string_view kFloorFile = "media/properties/hallway.xml";

    explicit SceneHallway(PropertyNode* definition);
    SceneHallway(const SceneHallway&) = delete;
    SceneHallway& operator=(const SceneHallway&) = delete;
    ~SceneHallway() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first open: components, the preview, the buttons and doors bound.
    void setBackground() override;
    using Scene::setBackground;
    /// Arrival: players saved, the usage event, the preview placed (closed),
    /// the floor's look and colours, then the medals.
    void open() override;
    /// Leaving: the trophy room closed and forgotten, the base's steps, the
    /// preview closed, the doors' input off.
    void close() override;
    /// Closes the preview 500 ms after the pointer has left every door.
    void updateSelf(int elapsedMs) override;
    /// Door hover: fills and opens the preview of the door under (x, y).
    /// Never handled, so the buttons see the move too.
    bool onMouseMove(int x, int y, int flags) override;
    /// Escape asks the quit question.
    bool onKeyUp(int key) override;

    /// The floor shown from the next arrival on when there is no current
    /// player (1 up).
    void setFloor(int floor) { floor_ = floor; }
    [[nodiscard]] int getFloor() const { return floor_; }
    /// The host tip the next arrival gives (2, 3 or 4; anything else gives
    /// the return tip 1).
    void setPendingTip(int tip) { pendingTip_ = tip; }

    /// Input off on the room buttons and doors; the preview goes.
    void disableDoors();
    /// Input on (and the room buttons shown).
    void enableDoors();
    /// Reads the floor file and places the doors, plates, knobs and plant.
    void loadFloorLook();
    /// A fresh copy of the floor's background with each door's area turned
    /// to the hue of its room's game type.
    void recolourFloor();
    /// The medals of the won rooms; a new or better one lands.
    void showMedals();
    /// Hides and empties the floor-completed dialog; a running sequence ends.
    void resetFloorEnd();
    /// Builds and starts the floor-completed sequence of the shown floor.
    void playFloorCompleted();
    /// "BUTTON_OK" of the floor-completed dialog: the floor's trophies are
    /// released, the trophy room (if any) and then the elevator.
    static int onFloorEndOk(void* scene, void* button);

    /// Door button and knob callback (context: the scene; the button's tag is
    /// its door 1-5): starts the room's level.
    static int onDoor(void* scene, void* button);
    /// The room buttons shared by every place (the context is not used).
    static int goToElevator(void* scene, void* button);
    static int showCustomizeDialog(void* scene, void* button);
    static int showRoomMenu(void* scene, void* button);
    static int showTrophyRoom(void* scene, void* button);

    [[nodiscard]] bool areDoorsEnabled() const { return doorsEnabled_; }
    [[nodiscard]] Button* getDoorButton(int door) const;
    [[nodiscard]] Sprite* getMedal(int door) const;
    [[nodiscard]] Sprite* getRoomNumber(int door) const;
    /// The floor sign over the middle door ("LABEL_FLOOR"), or null when the
    /// scene has none.
    [[nodiscard]] Label* getFloorSign() const { return floorSign_; }
    [[nodiscard]] DialogRoomPreview* getRoomPreview() const { return roomPreview_; }
    [[nodiscard]] int getHoveredDoor() const;
    [[nodiscard]] int getDefinitionIndex() const { return definitionIndex_; }
    [[nodiscard]] float getHue(int gameType) const;
    [[nodiscard]] HallwayPoint getPreviewPoint(int door) const;
    [[nodiscard]] HallwayPoint getMedalPoint(int door) const;
    [[nodiscard]] int getLastDoor() const { return lastDoor_; }
    [[nodiscard]] int getPreviousGrade() const { return previousGrade_; }
    [[nodiscard]] int getPendingTip() const { return pendingTip_; }
    [[nodiscard]] Button* getOkButton() const { return okButton_; }
    [[nodiscard]] Sprite* getFloorEndDialog() const { return floorEndDialog_; }
    [[nodiscard]] GameNode* getStarLayer() const { return starLayer_.get(); }
    /// The running floor-completed sequence's root, or null.
    [[nodiscard]] Modifier* getFloorSequence() const { return floorSequence_.get(); }

private:
    void chooseFloor();
    void afterMedals();
    void afterTrophies();
    void logArrival() const;
    void addSummaryStars(Modifier*& parent);
    static int onMedalsLanded(void* scene, void* modifier);
    static int onTrophiesClosed(void* scene, void* dialog);
    static int onStarNumber(void* scene, void* modifier);
    static int onStarBurst(void* scene, void* modifier);

    Button* menuButton_ = nullptr;
    Button* elevatorButton_ = nullptr;
    Button* trophiesButton_ = nullptr;
    Button* customizeButton_ = nullptr;
    std::array<Button*, kDoors> doorButtons_{};
    std::array<Button*, kDoors> doorKnobs_{};
    std::array<Sprite*, kDoors> roomNumbers_{};
    Sprite* plant_ = nullptr;
    Label* floorSign_ = nullptr;
    GameNode* medals_ = nullptr;
    Button* hoveredDoor_ = nullptr;
    RefPtr<Image> floorImage_;
    DialogRoomPreview* roomPreview_ = nullptr;
    int previewCloseTimer_ = 0;
    bool doorsEnabled_ = false;
    std::array<float, kHues> hues_{};
    std::array<HallwayPoint, kDoors> previewPoints_{};
    std::array<HallwayPoint, kDoors> medalPoints_{};
    int definitionIndex_ = 0;
    int lastDoor_ = -1;
    int previousGrade_ = -1;
    int floor_ = 1;
    int pendingTip_ = 0;
    Button* okButton_ = nullptr;
    Sprite* floorEndDialog_ = nullptr;
    RefPtr<GameNode> starLayer_;
    Sprite* floorCompletedLabel_ = nullptr;
    Sprite* unlockedLabel_ = nullptr;
    Label* goodieLabel_ = nullptr;
    Sprite* wellDoneLabel_ = nullptr;
    // Where the three captions stand when they have slid in.
    std::array<HallwayPoint, 3> captionHomes_{};
    RefPtr<Modifier> floorSequence_;
};

/// The trophies a hallway holds back until it has shown its own progress:
/// those of the completed floors (5, 6, 7) and of the stars (14, 15); each
/// in state 4 becomes 1.
void releaseFloorTrophies();
void releaseHallwayTrophies();

/// The hue turn (fraction of a full turn) of a door whose room holds
/// `gameType`: the entry of `hues` for Classic to River (0-4); none for any
/// other type (Speed, or -1 for a room without a level), whose door keeps
/// the background's own colour.
[[nodiscard]] std::optional<float> doorHue(const std::array<float, SceneHallway::kHues>& hues,
                                           int gameType);

/// The image name of the medal of `grade` (0 bronze, 1 silver, 2 gold) on
/// door `door` of look definition `definition`: "MEDAL_GOLD" + definition +
/// door (grade 2, definition 4, door 3: "MEDAL_GOLD43").
[[nodiscard]] std::string medalImage(int grade, int definition, int door);

/// The floor sign's words for `floor`: the text "TEXT_HALLWAY_FLOOR" with
/// its "%n" turned into the floor number in decimal (floor 12: "Floor 12").
[[nodiscard]] std::wstring floorSignText(int floor);

/// The image name of a room's number plate: "ROOM_NUMBER" + floor + door
/// (floor 12, door 3: "ROOM_NUMBER123").
[[nodiscard]] std::string roomNumberImage(int floor, int door);

} // namespace orv
