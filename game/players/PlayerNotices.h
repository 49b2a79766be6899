#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

// What the player must be told about their data: a file that could not be
// read and was kept under another name, a file out of reach, progress that
// could not be saved, a saved game or a room that cannot be opened. The code
// that meets the fault posts a notice here; the building scenes show the
// notices waiting, one at a time, in the host's dialog. Each notice is posted
// once per run: the same fault met again is not told again.
//
//     postPlayerNotice({PlayerNoticeKind::ProfileSetAside, "Ada", "ada.plr.!.unreadable-..."});
//     ... a building scene opens:
//     while (auto notice = takePlayerNotice()) { ... show it ... }
//
// Main thread only.

enum class PlayerNoticeKind {
    /// The players list could not be read and was kept under `file`; a
    /// fresh list was started.
    PlayersListSetAside,
    /// The profile of `player` could not be read and was kept under `file`;
    /// the player starts afresh.
    ProfileSetAside,
    /// `file` could not be read nor kept under another name: it is left as
    /// it is and not saved over.
    FileKept,
    /// `file` cannot be opened (permissions): it is left as it is and not
    /// saved over.
    FileOutOfReach,
    /// The player's progress could not be written to `file` (a full disk).
    ProgressNotSaved,
    /// The saved game in `file` cannot be resumed.
    SavedGameUnusable,
    /// A room's layout or level file `file` cannot be read.
    RoomUnreadable,
    /// The settings store `file` is left alone for `reason` (see
    /// platform::getSettingsStoreProblem); defaults are used.
    SettingsOutOfReach,
};

struct PlayerNotice {
    PlayerNoticeKind kind = PlayerNoticeKind::FileKept;
    std::string player; ///< the player concerned; may be empty
    std::string file;   ///< the file's name as the player can find it
    std::string reason; ///< why, in words for the player; may be empty

    bool operator==(const PlayerNotice&) const = default;
};

/// Queues `notice` unless the same notice was posted before in this run;
/// true when queued.
bool postPlayerNotice(const PlayerNotice& notice);
/// The oldest notice waiting, taken off the queue; nullopt when none waits.
[[nodiscard]] std::optional<PlayerNotice> takePlayerNotice();
/// True when a notice waits.
[[nodiscard]] bool hasPlayerNotice();
/// Forgets the waiting notices and those told (tests).
void clearPlayerNotices();

/// `path` as the player can find it: the home folder written "~".
[[nodiscard]] std::string describeFileForPlayer(std::string_view path);

/// The text key of the message for `kind` ("TEXT_NOTICE_..."); the message's
/// "%n" stands for the notice's player, "%f" for its file, "%r" for its
/// reason.
[[nodiscard]] std::string_view getPlayerNoticeTextKey(PlayerNoticeKind kind);

} // namespace orv
