#pragma once

#include "engine/core/BaseObject.h"

namespace orv {

/// An object the definition store calls after every load of its files, so
/// that values copied out of the settings tables follow the last load (the
/// game's tuning constants are the one user).
class ConstantsHook : public BaseObject {
public:
    /// Copies what the hook needs from the settings tables. Called on the main
    /// thread, after the tables and the definitions have been filled.
    virtual void apply() = 0;
};

} // namespace orv
