#pragma once

#include "engine/core/ClassRecord.h"

namespace orv {

/// A widget's callback: called as function(context, argument); the result is
/// the function's to define. Contexts and arguments are pointers (the widget
/// passes itself as the argument).
using GuiFunction = int (*)(void* context, void* argument);

/// A callback slot, an interface part of the widgets that fire (buttons,
/// switches, sliders, text inputs). Adding the widget to a listener container
/// with a function and a context fills the slot.
///
///     button->setMethod(&Menu::onPlay, menu);  // or through addListener
///     button->call(button);                    // Menu::onPlay(menu, button)
class iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] virtual const ClassRecord& getClassRecord() const { return classRecord; }

    iGuiMethod() = default;
    iGuiMethod(const iGuiMethod&) = delete;
    iGuiMethod& operator=(const iGuiMethod&) = delete;
    virtual ~iGuiMethod() = default;

    /// Sets the function (null for none) and its context (borrowed: it must
    /// outlive the slot's use, or be replaced first).
    void setMethod(GuiFunction function, void* context) {
        function_ = function;
        context_ = context;
    }
    [[nodiscard]] GuiFunction getFunction() const { return function_; }
    [[nodiscard]] void* getContext() const { return context_; }

    /// function(context, argument); 0 when no function is set.
    virtual int call(void* argument);

private:
    void* context_ = nullptr;
    GuiFunction function_ = nullptr;
};

} // namespace orv
