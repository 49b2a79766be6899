#pragma once

#include "engine/platform/iGuiMethod.h"
#include "engine/scene/Scene.h"

#include <array>
#include <string_view>

namespace orv {

/// The host's blink in his portraits: each eye frame's time and the pauses
/// between blinks, one drawn at random each time.
inline constexpr int kHostEyeFrameMs = 75;
inline constexpr std::array<int, 4> kHostBlinkPauses{500, 2500, 3000, 5000};

class Dialog;

/// The common base of every place of the building and of the playing screen.
/// It adds two behaviours to `Scene`: the players are saved each time a place
/// is shown, and a place that offers games can ask whether the player wants
/// to resume the saved game of its game mode (0 hallway, 1 casino, 2
/// recreation room, 3 roof). The window's close request asks the quit
/// question (`showQuitDialog`).
///
///     class SceneCasino : public SceneOrvanta { ... };
///     void SceneCasino::open() {
///         SceneOrvanta::open();                  // saves the players
///         offerSavedGame(1, *this);              // "resume your game?"
///     }
///
/// Main thread only.
class SceneOrvanta : public Scene {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit SceneOrvanta(PropertyNode* definition);
    /// The object factory's create function for "SceneOrvanta".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Saves the players (`BuildingServices::savePlayers`), then `Scene::open`,
    /// then shows the notices about the player's data that wait
    /// (`DialogNotice::showWaiting`).
    void open() override;
    /// Closes the saved-game question when it is still open, then the steps of
    /// `Scene::close` (input off, out of the window's hooks, one purge).
    void close() override;
    /// Asks the quit question (`showQuitDialog`).
    void onQuitRequest() override;

    /// Whether the current player keeps a saved game of `gameMode`.
    [[nodiscard]] static bool hasSavedGame(int gameMode);
    /// Asks "resume the saved game?" in `scene` when the player arrived from
    /// the lobby or the elevator and keeps a saved game of `gameMode`; the
    /// mode is remembered in the scene's tag for the answer.
    static void offerSavedGame(int gameMode, Scene& scene);
    /// The question's Yes callback (context: the scene). Closes the question,
    /// drops the profile's saved-game node and resumes the saved game of the
    /// scene's tag; only when it resumes does the scene switch to the playing
    /// screen. A saved game that fails to resume is remembered and not offered
    /// again in this run, and the player is told so.
    static int resumeSavedGame(void* scene, void* button);
    /// Forgets the saved games that failed to resume (tests).
    static void clearFailedResumes();
};

/// The dialog instance name and message key of the saved-game question.
inline constexpr std::string_view kSavedGameQuestion = "CTEXT_START_RECENT_SAVEGAME";
/// The dialog instance name and message key of the quit question.
inline constexpr std::string_view kQuitQuestion = "CTEXT_QUESTION_QUIT";

/// Moves the player to another scene on the next frame: forgets the resource
/// requests, requests `section` (none when empty), sets the transition
/// `transition` (none when empty) and makes `sceneName` the next scene.
/// Nothing without a scene manager; a scene that does not exist is logged.
void switchScene(std::string_view section, std::string_view transition, std::string_view sceneName);

/// The scene the player sees: the current scene, or the target of a running
/// transition; null without one.
[[nodiscard]] Scene* getShownScene();

/// Asks a yes/no question in `scene` (`DialogYesNo::ask`): kept under
/// `messageKey`, its header the text of `headerKey`, its message the text of
/// `messageKey`; Yes runs `yes` with `yesContext` (which closes the
/// question), No only closes it. Returns the dialog, not shown yet (borrowed
/// from the scene), or null when the definition is missing.
Dialog* askQuestion(Scene& scene, std::string_view messageKey, std::string_view headerKey,
                    GuiFunction yes, void* yesContext);

/// Tells the player, once, in `scene` that a room cannot be opened because
/// its level or layout file `file` cannot be read.
void tellRoomUnreadable(Scene& scene, std::string_view file);

/// Opens the quit question in the scene the player sees, unless it is open
/// there already. Waits (bounded) for the resource section "default" first,
/// so the question's sounds are there. Yes ends the game
/// (`BuildingServices::quitGame`).
void showQuitDialog();

} // namespace orv
