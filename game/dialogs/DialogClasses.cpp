#include "game/dialogs/DialogClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogCredits.h"
#include "game/dialogs/DialogHelp.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogHintPainter.h"
#include "game/dialogs/DialogLayoutPreview.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogMenu.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/dialogs/DialogNotice.h"
#include "game/dialogs/DialogPause.h"
#include "game/dialogs/DialogPlayerSelect.h"
#include "game/dialogs/DialogRoomInfo.h"
#include "game/dialogs/DialogRoomPreview.h"
#include "game/dialogs/DialogSelectBackground.h"
#include "game/dialogs/DialogSettings.h"
#include "game/dialogs/DialogTrophy.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/DialogTrophyText.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/dialogs/DialogZoom.h"
#include "game/dialogs/HeaderDialogPainter.h"

#include <string_view>
#include <utility>

namespace orv {

void registerDialogClasses() {
    using Create = BaseObject* (*)(PropertyNode*);
    static constexpr std::pair<std::string_view, Create> kClasses[] = {
        {"DialogOrvanta", &DialogOrvanta::createFromDefinition},
        {"DialogYesNo", &DialogYesNo::createFromDefinition},
        {"DialogBrastowHint", &DialogBrastowHint::createFromDefinition},
        {"DialogNotice", &DialogNotice::createFromDefinition},
        {"DialogLevelInfo", &DialogLevelInfo::createFromDefinition},
        {"DialogLevelEnd", &DialogLevelEnd::createFromDefinition},
        {"DialogHelp", &DialogHelp::createFromDefinition},
        {"DialogCredits", &DialogCredits::createFromDefinition},
        {"DialogGameOver", &DialogGameOver::createFromDefinition},
        {"DialogSettings", &DialogSettings::createFromDefinition},
        {"DialogMenu", &DialogMenu::createFromDefinition},
        {"DialogRoomMenu", &DialogRoomMenu::createFromDefinition},
        {"DialogPause", &DialogPause::createFromDefinition},
        {"DialogPlayerSelect", &DialogPlayerSelect::createFromDefinition},
        {"DialogNameInput", &DialogNameInput::createFromDefinition},
        {"DialogTrophyInfo", &DialogTrophyInfo::createFromDefinition},
        {"DialogTrophyText", &DialogTrophyText::createFromDefinition},
        {"DialogRoomPreview", &DialogRoomPreview::createFromDefinition},
        {"DialogLayoutPreview", &DialogLayoutPreview::createFromDefinition},
        {"DialogTrophy", &DialogTrophy::createFromDefinition},
        {"DialogRoomInfo", &DialogRoomInfo::createFromDefinition},
        {"DialogHint", &DialogHint::createFromDefinition},
        {"DialogHintPainter", &DialogHintPainter::createFromDefinition},
        {"DialogSelectBackground", &DialogSelectBackground::createFromDefinition},
        {"DialogZoom", &DialogZoom::createFromDefinition},
        {"HeaderDialogPainter", &HeaderDialogPainter::createFromDefinition},
    };
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : kClasses) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
