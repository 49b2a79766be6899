#pragma once

#include "game/board/GameType.h"
#include "game/dialogs/DialogOrvanta.h"

#include <string>

namespace orv {

class Label;
class Level;

/// The text id of the name of `type`: "TEXT_GAMETYPE1" (Classic) to
/// "TEXT_GAMETYPE6" (Speed); empty for `Invalid`. Every screen that names a
/// game type uses it, so the names have one numbering.
[[nodiscard]] std::string gameTypeTextId(GameType type);

/// The notice at the start of a level ("DIALOG_LEVEL_INFO"): the game type
/// and the room or level number, with the host's sound; it closes itself
/// `LEVEL_INFO_DELAY` ms after its fade-in, then its after-close callback
/// runs with the dialog as context.
///
///     auto* info = kindCast<DialogLevelInfo>(scene->getDialog("DIALOG_LEVEL_INFO"));
///     info->setInfo(*level);
///     info->setAfterClose(&StateRoomInfo::onClosed, state);
///     scene->showDialog(info);
///
/// Main thread only.
class DialogLevelInfo : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Pixels a notice without a room line is lower than its definition.
    static constexpr int kNoRoomShrink = 20;

    explicit DialogLevelInfo(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Fills the labels for `level`: the game type's name; in the hallway
    /// "TEXT_ROOM" and the floor and room numbers written together (floor
    /// 12, room 3: "123"), in the casino and on the roof "TEXT_LEVEL" and the
    /// level's number; elsewhere no room line and a lower dialog.
    void setInfo(const Level& level);
    /// The base's opening, the host's sound, then the timed close.
    void open() override;

    [[nodiscard]] Label* getGameTypeLabel() const { return gameType_; }
    [[nodiscard]] Label* getRoomLabel() const { return room_; }

private:
    static int onDelayOver(void* dialog, void* modifier);

    Label* gameType_ = nullptr;
    Label* room_ = nullptr;
    int naturalHeight_ = 0;
};

} // namespace orv
