#pragma once

namespace orv {

/// Registers the create functions of this library with the object factory:
/// the eight settings type names "Integer", "Double", "Float", "Boolean",
/// "String", "Text", "Node" and "Vector", whose create functions file a
/// definition into `BasicProperties` and make no object. Start-up calls it
/// before the definition store loads; calling it again changes nothing.
void registerPropertyClasses();

} // namespace orv
