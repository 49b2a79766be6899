#include "tools/support/ToolStartUp.h"

#include "engine/core/NodeClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/FileArchive.h"
#include "engine/scene/SceneClasses.h"

namespace orv::tools {

void startDefinitions(std::initializer_list<void (*)()> moreClasses, const std::string& extraFile) {
    registerPropertyClasses();
    registerNodeClasses();
    registerSceneClasses();
    for (void (*registerClasses)() : moreClasses) {
        registerClasses();
    }
    FileArchive::setUp(ArchiveMode::File, "");
    BasicProperties::create();
    DefinitionStore& store = getDefinitionStore();
    store.setConstantsHook(new GameConstants());
    // The files the game itself reads at start-up, in its order.
    for (const char* name : {"dialogs", "default", "dynamic", "commontext", "text", "mahjong"}) {
        store.addFile(std::string("media/properties/") + name + ".xml");
    }
    if (!extraFile.empty()) {
        store.addFile(extraFile);
    }
    store.load();
}

void stopDefinitions() {
    destroyDefinitionStore();
    BasicProperties::destroyInstance();
    FileArchive::shutDown();
}

} // namespace orv::tools
