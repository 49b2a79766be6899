#pragma once

#include "engine/core/Modifier.h"
#include "engine/platform/iGuiMethod.h"

namespace orv {

/// A one-shot callback: on its first update it finishes and then calls
/// function(context, modifier), where the argument is this modifier as a
/// `Modifier*` (its target is `static_cast<Modifier*>(argument)->getTarget()`).
/// Hung behind another modifier, it runs when that one is done. It answers the
/// `iGuiMethod` interface query with its callback slot.
///
///     int onFaded(void* context, void* argument) {
///         static_cast<Menu*>(context)->close();
///         return 0;
///     }
///     Modifier::attachTo(fade, new ModifierFunction(&onFaded, menu));
class ModifierFunction : public Modifier, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// `context` is borrowed: it must stay valid until the call (or the
    /// modifier's death). A null function only finishes.
    ModifierFunction(GuiFunction function, void* context) { setMethod(function, context); }

    /// Finishes, then makes the call; later updates do nothing.
    void update(int dtMs) override;
    /// The callback slot for `iGuiMethod::classRecord`.
    void* getInterface(const ClassRecord& interfaceRecord) override;
};

} // namespace orv
