#include "engine/platform/DataFolders.h"

#include "engine/properties/BasicProperties.h"
#include "engine/system/Platform.h"

#include <mutex>

namespace orv {

namespace {

std::mutex foldersMutex;
std::string makerFolder;
std::string sharedDataFolder;
std::string tempFolder;

// Callers hold foldersMutex.
const std::string& makerFolderLocked() {
    if (makerFolder.empty()) {
        const std::string data = platform::getUserDataFolder();
        if (data.empty()) {
            makerFolder = platform::getProgramFolder();
        } else {
            makerFolder = data + "/Vantrel/Games";
            platform::ensureDirectory(makerFolder);
            platform::removeStaleTemporaries(makerFolder);
        }
    }
    return makerFolder;
}

// Empty while the game's name is unknown: a folder computed then would be
// the maker folder itself, and keeping it would put every file in the wrong
// place for the rest of the run.
const std::string& sharedDataFolderLocked() {
    if (sharedDataFolder.empty()) {
        const std::string name = getGameName();
        if (!name.empty() && !platform::getUserDataFolder().empty()) {
            sharedDataFolder = makerFolderLocked() + "/" + name;
            platform::ensureDirectory(sharedDataFolder);
            platform::removeStaleTemporaries(sharedDataFolder);
        }
    }
    return sharedDataFolder;
}

} // namespace

std::string getMakerFolder() {
    const std::scoped_lock lock(foldersMutex);
    return makerFolderLocked();
}

std::string getSharedDataFolder() {
    const std::scoped_lock lock(foldersMutex);
    const std::string& shared = sharedDataFolderLocked();
    return shared.empty() ? makerFolderLocked() : shared;
}

std::string getTempFolder() {
    const std::scoped_lock lock(foldersMutex);
    const std::string& shared = sharedDataFolderLocked();
    if (shared.empty()) {
        return makerFolderLocked() + "/_temp";
    }
    if (tempFolder.empty()) {
        tempFolder = shared + "/_temp";
        platform::ensureDirectory(tempFolder);
    }
    return tempFolder;
}

void forgetDataFolders() {
    const std::scoped_lock lock(foldersMutex);
    makerFolder.clear();
    sharedDataFolder.clear();
    tempFolder.clear();
}

} // namespace orv
