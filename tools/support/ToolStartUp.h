#pragma once

// The start-up and shut-down the developer tools (and the tests that read the
// built game data) share: the classes property files name, the archive and
// the definition store filled from the game's start-up property files.

#include <initializer_list>
#include <string>
#include <string_view>

namespace orv::tools {

/// Starts the property side of the engine in the current folder, which must
/// be a program folder (media.dat or the loose media/ tree):
/// - registers the property, node and scene classes, then each of
///   `moreClasses` in order (e.g. registerBoardClasses);
/// - sets the archive up (media.dat when it is there, loose files otherwise);
/// - creates the settings tables;
/// - fills the definition store, with the game's tuning constants hook, from
///   the game's six start-up property files and then `extraFile` (a path,
///   absolute or relative to the current folder) when it is not empty.
/// Files that cannot be read are logged by the store and left out; the
/// caller checks what it needs (e.g. the game's name). Undo with
/// `stopDefinitions`.
void startDefinitions(std::initializer_list<void (*)()> moreClasses = {},
                      const std::string& extraFile = {});

/// Creates the image manager (so that the pictures follow the depth of a
/// window opened later) and the resource manager, reads
/// media/properties/resources.xml,
/// requests `sections` and waits up to 30 s for them, as the game's start-up
/// does. False, with a line on the standard error stream that starts with
/// `program`, when the list cannot be read or the sections do not load in
/// time. The caller destroys the resource manager.
[[nodiscard]] bool loadResources(std::string_view program,
                                 std::initializer_list<const char*> sections);

/// Releases the image manager `loadResources` made and what
/// `startDefinitions` made: the definition store, the settings tables and the
/// archive, in that order. Call after everything that reads
/// them is gone.
void stopDefinitions();

} // namespace orv::tools
