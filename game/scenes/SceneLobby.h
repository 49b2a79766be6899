#pragma once

#include "game/scenes/SceneOrvanta.h"

#include <string>

namespace orv {

class Sprite;

/// The ground floor of the building and the game's home screen. It greets
/// the current player by name ("LABEL_PLAYERNAME"), asks for a first player
/// when there is none ("DIALOG_NEWPLAYER"), and offers the elevator
/// ("BUTTON_ELEVATOR"), the player selection ("BUTTON_CHANGENAME"), help,
/// settings, the trophy room and quit. The elevator doors ("DOOR_LEFT",
/// "DOOR_RIGHT") slide open while the pointer is over them, a light sweeps
/// over the closed doors now and then, the host's eyes ("EYES") blink at
/// random, and on the first visit the four small buttons rise into place.
/// The first open installs the tooltip when none is installed and begins
/// the usage record's playing session. Registered as "SceneLobby". Main
/// thread only.
class SceneLobby : public SceneOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit SceneLobby(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first open's setup (tooltip, components, bindings, session).
    void setBackground() override;
    using Scene::setBackground;
    /// Doors shut, players saved, the scene opened, the full-screen buttons
    /// joined, the first-visit slide or the music, the name question when
    /// there are no players, the greeting.
    void open() override;
    /// Leaving the lobby also ends the loading screen's pictures (section
    /// "preloading"): the loading screen is gone by then for good.
    void close() override;
    /// Every frame: doors, eyes, light sweep.
    void updateSelf(int elapsedMs) override;
    /// Escape asks the quit question, as the quit button does.
    bool onKeyUp(int key) override;

    /// Greets the current player in `scene` (a lobby; anything else does
    /// nothing) and shows the host's first tip once per player. Also called
    /// by the player dialogs after a player was made or chosen.
    static void showWelcome(Scene* scene);
    /// The greeting for `name` (UTF-8; empty without players).
    [[nodiscard]] static std::wstring welcomeText(const std::string& name);

    /// The button callbacks (context: the scene).
    static int onElevator(void* scene, void* button);
    static int onChangeName(void* scene, void* button);
    static int onHelp(void* scene, void* button);
    static int onSettings(void* scene, void* button);
    static int onTrophies(void* scene, void* button);
    static int onQuit(void* scene, void* button);

    [[nodiscard]] bool isFirstOpen() const { return firstOpen_; }
    [[nodiscard]] bool areDoorsOpen() const { return doorsOpen_; }
    [[nodiscard]] bool areDoorsOpening() const { return doorsOpening_; }

private:
    void slideInButtons();
    static void dropLoadingPictures();
    void updateDoors();
    void updateEyes(int elapsedMs);
    void updateElevatorShine(int elapsedMs);
    void showDialogNamed(std::string_view name);
    static int onDoorsOpened(void* scene, void* argument);

    bool firstOpen_ = true;
    bool doorsOpen_ = false;
    Sprite* doorLeft_ = nullptr;
    Sprite* doorRight_ = nullptr;
    Sprite* doorMiddle_ = nullptr;
    int doorLeftClosedX_ = 0;
    int doorRightClosedX_ = 0;
    bool doorsOpening_ = false;
    Sprite* buttonHelp_ = nullptr;
    Sprite* buttonSettings_ = nullptr;
    Sprite* buttonTrophies_ = nullptr;
    Sprite* buttonQuit_ = nullptr;
};

} // namespace orv
