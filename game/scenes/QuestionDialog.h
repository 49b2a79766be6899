#pragma once

#include "engine/platform/iGuiMethod.h"
#include "engine/scene/Dialog.h"

#include <string_view>

namespace orv {

class Scene;

/// A yes/no question: a header ("HEADER"), a message ("MESSAGE") and the
/// buttons "BUTTON_YES" and "BUTTON_NO" of its definition. Yes closes the
/// question in its scene and then runs the callback given to `ask`; No only
/// closes it. Built by name from the "dialogs" definitions (registered
/// class "QuestionDialog"). Main thread only.
class QuestionDialog : public Dialog {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit QuestionDialog(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Sets the texts from the text keys, binds the buttons and remembers the
    /// scene it is shown in (borrowed; the scene keeps the dialog) and what
    /// Yes runs (`yes` may be null: Yes then only closes).
    void ask(Scene& scene, std::string_view messageKey, std::string_view headerKey, GuiFunction yes,
             void* yesContext);

    /// The button callbacks (context: the dialog).
    static int onYes(void* dialog, void* button);
    static int onNo(void* dialog, void* button);

private:
    Scene* scene_ = nullptr;
    GuiFunction yes_ = nullptr;
    void* yesContext_ = nullptr;
};

} // namespace orv
