#pragma once

#include "engine/resources/ArchiveMode.h"

#include <string>
#include <string_view>

namespace orv {

// Naming and placing data files. Paths are UTF-8 with "/" separators; names
// read from data files may carry "\", which `normalizePath` turns into "/".

/// The name under which a file is stored for `mode`: `name` plus ".!" when the
/// mode is scrambled. `ArchiveMode::Global` is first resolved to the global
/// mode when an archive has been set up; without one it adds nothing.
[[nodiscard]] std::string makeFileName(ArchiveMode mode, std::string_view name);

/// `path` with every "\" turned into "/", every "//" into "/" until none is
/// left, and then every "./" removed until none is left (so "a/../b" becomes
/// "a/.b": parent steps are not resolved, as the stored data expects). The
/// empty path stays empty.
[[nodiscard]] std::string normalizePath(std::string_view path);

/// The normalised `path` cut before its last "/"; `path` unchanged when the
/// normalised path has no "/"; "" for "". "fonts\big.xml" gives "fonts".
[[nodiscard]] std::string getFolderOfPath(std::string_view path);

/// The key under which a resource keeps its file name: the normalised path
/// with ASCII letters lower-cased (other bytes kept). A leading "/" is kept,
/// so "/media/a.png" and "media/a.png" are different keys.
[[nodiscard]] std::string makeResourceKey(std::string_view path);

/// `name` made safe as a file name: "a"-"z" and "0"-"9" are copied, every other
/// byte b becomes "-%X-" of b read as a signed char and widened to 32 bits
/// ("Bob 1" gives "-42-ob-20-1", the byte 0xE9 gives "-FFFFFFE9-"). Files
/// already saved under these names depend on the exact form.
[[nodiscard]] std::string encodeFileName(std::string_view name);

} // namespace orv
