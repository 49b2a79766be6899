#include "engine/gui/GuiClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/Button.h"
#include "engine/gui/DialogPainter.h"
#include "engine/gui/FullScreenHandler.h"
#include "engine/gui/InputLabel.h"
#include "engine/gui/Slider.h"
#include "engine/gui/Switch.h"
#include "engine/gui/ToolTip.h"
#include "engine/gui/ToolTipLabel.h"
#include "engine/gui/URLButton.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerGuiClasses() {
    // One line per class; the array's size follows the list.
    static constexpr auto creators = std::to_array<std::pair<std::string_view, CreateFunction>>({
        {"Button", &Button::createFromDefinition},
        {"URLButton", &URLButton::createFromDefinition},
        {"Switch", &Switch::createFromDefinition},
        {"Slider", &Slider::createFromDefinition},
        {"InputLabel", &InputLabel::createFromDefinition},
        {"DialogPainter", &DialogPainter::createFromDefinition},
        {"ToolTip", &ToolTip::createFromDefinition},
        {"ToolTipLabel", &ToolTipLabel::createFromDefinition},
        {"FullScreenHandler", &FullScreenHandler::createFromDefinition},
    });
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
