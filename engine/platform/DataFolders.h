#pragma once

#include <string>

namespace orv {

// The folders the game writes into. The maker folder is
// $XDG_DATA_HOME/Vantrel/Games (default ~/.local/share/Vantrel/Games); the
// shared data folder below it is named after the String setting "GAME_NAME"
// and holds players, scores, saved games and the usage record; its "_temp"
// folder holds the log and other passing files. Each folder is created on
// first use and its path kept for the rest of the process; the maker and the
// shared data folder are then cleared of the temporary files of saves that a
// crash cut short (platform::removeStaleTemporaries). Paths have no trailing
// "/". Safe from any thread.

/// The maker folder; the program's folder when no data folder is known.
[[nodiscard]] std::string getMakerFolder();
/// The shared data folder. While "GAME_NAME" is not yet known (the settings
/// are not loaded), the maker folder is returned and nothing is kept, so a
/// later call finds the right folder.
[[nodiscard]] std::string getSharedDataFolder();
/// The shared data folder + "/_temp", under the same rule.
[[nodiscard]] std::string getTempFolder();

/// Forgets the kept folders, so the next calls compute them again. For tests.
void forgetDataFolders();

} // namespace orv
