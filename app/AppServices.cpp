#include "app/AppServices.h"

#include "app/OrvantaMain.h"

namespace orv {

void AppServices::quitGame() {
    static_cast<void>(OrvantaMain::quit(OrvantaMain::getInstance(), nullptr));
}

} // namespace orv
