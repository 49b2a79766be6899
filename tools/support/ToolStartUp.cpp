#include "tools/support/ToolStartUp.h"

#include "engine/core/NodeClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ImageManager.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/SceneClasses.h"

#include <chrono>
#include <cstdio>

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
    for (const char* name :
         {"dialogs", "default", "dynamic", "commontext", "text", "mahjong", "trophyroom"}) {
        store.addFile(std::string("media/properties/") + name + ".xml");
    }
    if (!extraFile.empty()) {
        store.addFile(extraFile);
    }
    store.load();
}

bool loadResources(std::string_view program, std::initializer_list<const char*> sections) {
    const std::string name(program);
    // Pictures follow the display's depth only when the image manager lists
    // them from their making on; without it a 16-bit window would draw none.
    ImageManager::create();
    ResourceManager* resources = ResourceManager::create();
    resources->addDefinitionFile("media/properties/resources.xml");
    if (!resources->loadDefinitions()) {
        std::fprintf(stderr, "%s: media/properties/resources.xml cannot be read\n", name.c_str());
        return false;
    }
    resources->setStarted(true);
    for (const char* section : sections) {
        resources->requestSection(section);
    }
    if (!resources->waitForRequests(std::chrono::seconds(30))) {
        std::fprintf(stderr, "%s: the media did not load within 30 s\n", name.c_str());
        return false;
    }
    return true;
}

void stopDefinitions() {
    ImageManager::destroyInstance();
    destroyDefinitionStore();
    BasicProperties::destroyInstance();
    FileArchive::shutDown();
}

} // namespace orv::tools
