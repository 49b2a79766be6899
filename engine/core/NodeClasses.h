#pragma once

namespace orv {

/// Registers the create functions of the node library with the object
/// factory: "GameNode". Start-up calls it before any definition is built;
/// calling it again changes nothing.
void registerNodeClasses();

} // namespace orv
