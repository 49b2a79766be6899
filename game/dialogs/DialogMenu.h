#pragma once

#include "game/dialogs/DialogOrvanta.h"

#include <string_view>

namespace orv {

class Level;

/// The playing screen's menu ("DIALOG_MENU"): help, options, stop the
/// level (after a question), resume, trophies. Help, options and trophies
/// open above the menu, which stays open beneath them.
///
/// Main thread only.
class DialogMenu : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogMenu(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The key of the stop question for a level at `level`'s place:
    /// "TEXT_MENU_STOP_QUENBY" in the hallway, "CTEXT_MENU_STOP" elsewhere
    /// (and without a level).
    [[nodiscard]] static std::string_view stopQuestionKey(const Level* level);

    static int onHelp(void* menu, void* button);
    static int onSettings(void* menu, void* button);
    /// Asks whether to stop, in the playing screen.
    static int onStop(void* menu, void* button);
    /// The answer Yes: the question and the menu close at once (the screen
    /// is about to be left), then the playing screen stops the level.
    static int onStopConfirmed(void* menu, void* button);
    static int onResume(void* menu, void* button);
    static int onTrophy(void* menu, void* button);
};

/// The menu of the building's places ("DIALOG_ROOM_MENU"): help, options,
/// back to the lobby, resume.
class DialogRoomMenu : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogRoomMenu(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    static int onHelp(void* menu, void* button);
    static int onSettings(void* menu, void* button);
    /// Closes the menu at once and switches to the lobby through the default
    /// transition.
    static int onLobby(void* menu, void* button);
};

/// Gets the dialog `name` (empty instance name) in `scene` and shows it;
/// nothing for a null scene or a name the definitions lack. Returns it.
Dialog* showDialogIn(Scene* scene, std::string_view name);

} // namespace orv
