#pragma once

#include "engine/resources/ArchiveMode.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

class PropertyStore;

// The players' files: how a player's name becomes a file name, and how a
// players', profile or scores file is read so that one that cannot be used is
// never saved over.

/// The longest player name, in UTF-8 bytes. Every name of this length or
/// shorter has a file name that fits the file system (see
/// `makePlayerFileStem`); longer names are refused where players are made.
inline constexpr std::size_t kMaxPlayerNameBytes = 64;

/// The longest file-name stem of a player: leaves room within the file
/// system's 255 bytes for the endings (".plr", ".!") and a set-aside mark.
inline constexpr std::size_t kMaxPlayerFileStemBytes = 200;

/// The name a player's files are stored under: `encodeFileName(name)` (so that
/// files saved by earlier versions are found again) when that fits in
/// kMaxPlayerFileStemBytes; otherwise "~" followed by the name's bytes in
/// lower-case hexadecimal, which fits for every name of up to
/// kMaxPlayerNameBytes. The two forms never meet (only the second holds "~")
/// and each is one-to-one, so different names never share a file. Empty for
/// an empty name or one too long for either form.
[[nodiscard]] std::string makePlayerFileStem(std::string_view name);

/// How reading a players', profile or scores file went.
enum class StoredFileLoad {
    Missing, ///< no file: nothing to read, nothing to protect
    Loaded,  ///< read into the store
    Failed,  ///< there is a file, but it does not read or parse
    /// There is a file, but it cannot be opened (permissions): it is not
    /// damaged, so it is neither set aside nor saved over.
    OutOfReach,
};

/// Reads `path` (without the ".!" of the scrambled modes) into `store` in
/// `mode`; the store's file list and name are left alone.
[[nodiscard]] StoredFileLoad loadStoredFile(PropertyStore& store, const std::string& path,
                                            ArchiveMode mode);

/// Moves the file stored for `path` in `mode` out of the way of the next save:
/// it is renamed to its stored name followed by ".unreadable-" and the UTC
/// date and time ("players.plrs.!.unreadable-20240514-093012", with "-2",
/// "-3" ... added when that name is taken) and the move is logged with
/// `reason`. True when the file is out of the way (also when there is none);
/// false when it could not be moved, and then it must not be saved over.
/// `asideName`, when given, receives the path the file was moved to (empty
/// when nothing was moved).
[[nodiscard]] bool setStoredFileAside(const std::string& path, ArchiveMode mode,
                                      std::string_view reason, std::string* asideName = nullptr);

} // namespace orv
