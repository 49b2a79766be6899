#include "game/players/DataGathering.h"

#include "engine/core/Log.h"
#include "engine/platform/DataFolders.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/RegistryKey.h"
#include "engine/platform/SystemInfo.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/system/Platform.h"
#include "game/players/PlayerFiles.h"

#include <chrono>
#include <cstdio>

namespace orv {

namespace {

std::unique_ptr<DataGathering>& instance() {
    static std::unique_ptr<DataGathering> record;
    return record;
}

std::string valuePath(std::string_view value) {
    return gameRegistryPath() + "\\qrv\\" + std::string(value);
}

int secondsNow() {
    using namespace std::chrono;
    return static_cast<int>(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

void addInt(PropertyNode& node, std::string_view key, std::int64_t value) {
    node.add(new PropertyValue(key, static_cast<int>(value)));
}

// "gd.xml" as it is on disk, or an empty store when it is missing or cannot
// be read (such a file is set aside first), with its "DataGathering" node.
RefPtr<PropertyStore> openRecord(const std::string& fileName) {
    RefPtr<PropertyStore> store(new PropertyStore());
    if (loadStoredFile(*store, fileName, ArchiveMode::File) == StoredFileLoad::Failed) {
        (void)setStoredFileAside(fileName, ArchiveMode::File,
                                 "the usage record cannot be read; it is started afresh");
        store = new PropertyStore();
    }
    const AbstractProperty* node = store->getChild("DataGathering");
    if (node == nullptr || !node->isNode()) {
        store->add(new PropertyNode("DataGathering", "DataGathering"));
    }
    store->setFileName(fileName);
    store->setAccessMode(ArchiveMode::File);
    return store;
}

RefPtr<PropertyNode> makeSystemInfo() {
    const SystemInfo info;
    const platform::SystemFacts facts = platform::getSystemFacts();
    RefPtr<PropertyNode> node(new PropertyNode("SystemInfo", "SystemInfo"));
    node->add(new PropertyValue("GameId", std::string_view(getGameId())));
    node->add(new PropertyValue("CompName", std::string_view(info.computerName)));
    addInt(*node, "CPUSpeed", info.processorSpeed);
    addInt(*node, "CPUType", info.processorType);
    addInt(*node, "NumberOfCPUs", info.processorCount);
    addInt(*node, "CPUCaps", 0);
    node->add(new PropertyValue("OSName", std::string_view(info.osName)));
    addInt(*node, "WinBuild", info.osBuildNumber);
    addInt(*node, "SysMem", static_cast<std::int64_t>(facts.memoryBytes / 1000 / 1024));
    char directX[16];
    std::snprintf(directX, sizeof directX, "#%04x", static_cast<unsigned>(info.directXVersion));
    node->add(new PropertyValue("DirectX", std::string_view(directX)));
    addInt(*node, "ScreenWidth", info.screenWidth);
    addInt(*node, "ScreenHeight", info.screenHeight);
    addInt(*node, "BitDepth", info.colorDepth);
    return node;
}

} // namespace

DataGathering::~DataGathering() = default;

DataGathering& DataGathering::start(std::string_view folder) {
    std::unique_ptr<DataGathering>& record = instance();
    if (record) {
        return *record;
    }
    record.reset(new DataGathering());
    RegistryKey total(valuePath("totalplayingtime"), false);
    record->totalPlayingTime_ = total.readValue();
    record->startTick_ = platform::getMilliseconds();
    const std::string base = folder.empty() ? getTempFolder() : std::string(folder);
    platform::ensureDirectory(base);
    record->fileName_ = base + "/gd.xml";
    (void)RegistryKey(valuePath("dgfilename"), false).writeString(record->fileName_);

    // The facts first, then the sessions kept from earlier runs.
    const RefPtr<PropertyStore> store = openRecord(record->fileName_);
    const RefPtr<PropertyNode> old(store->getNode("DataGathering"));
    RefPtr<PropertyNode> node(new PropertyNode("DataGathering", "DataGathering"));
    node->add(makeSystemInfo().get());
    if (AbstractProperty* sessions = old->getChild("PlayingSessions")) {
        node->add(sessions);
    }
    store->add(node.get());
    if (!store->save()) {
        logWarning(record->fileName_ + ": the usage record cannot be written");
    }
    return *record;
}

DataGathering* DataGathering::get() {
    return instance().get();
}

void DataGathering::beginSession(int gameMode, int numberOfPlayers) {
    PlayingSession session;
    session.startTime = secondsNow();
    session.gameMode = gameMode;
    session.numOfPlayers = numberOfPlayers;
    const GameWindow* window = GameWindow::getInstance();
    session.fullScreen = window != nullptr && window->isFullScreen();
    session.bitDepth =
        8 * (window != nullptr && window->getBytesPerPixel() != 0 ? window->getBytesPerPixel() : 4);
    if (const std::optional<platform::DesktopMode> desktop = platform::getDesktopMode()) {
        session.screenWidth = desktop->width;
        session.screenHeight = desktop->height;
    }
    sessions_.push_back(std::move(session));
    sessionClosed_ = false;
}

void DataGathering::addRecord(PropertyNode& event) {
    if (sessions_.empty()) {
        logWarning("usage record: an event came before any session; it is not kept");
        return;
    }
    sessions_.back().events.emplace_back(&event);
}

void DataGathering::closeSession() {
    if (!sessionClosed_ && !sessions_.empty()) {
        sessions_.back().endTime = secondsNow();
        sessionClosed_ = true;
    }
}

void DataGathering::finish() {
    std::unique_ptr<DataGathering> record = std::move(instance());
    if (!record) {
        return;
    }
    const std::uint32_t seconds = (platform::getMilliseconds() - record->startTick_) / 1000;
    (void)RegistryKey(valuePath("totalplayingtime"), false)
        .writeDword(record->totalPlayingTime_ + seconds);

    const RefPtr<PropertyStore> store = openRecord(record->fileName_);
    PropertyNode* node = store->getNode("DataGathering");
    const PropertyVector* stored = node->getVector("PlayingSessions");
    std::vector<RefPtr<AbstractProperty>> kept(stored->getElements().begin(),
                                               stored->getElements().end());
    for (const PlayingSession& session : record->sessions_) {
        RefPtr<PropertyNode> element(new PropertyNode("", "PlayingSession"));
        addInt(*element, "StartTime", session.startTime);
        addInt(*element, "EndTime", session.endTime);
        addInt(*element, "GameMode", session.gameMode);
        addInt(*element, "NumOfPlayers", session.numOfPlayers);
        element->addNamedBool("FullScreen", session.fullScreen, false);
        addInt(*element, "BitDepth", session.bitDepth);
        addInt(*element, "ScreenWidth", session.screenWidth);
        addInt(*element, "ScreenHeight", session.screenHeight);
        kept.emplace_back(element.get());
    }
    const std::size_t skip =
        kept.size() > kMaxStoredSessions ? kept.size() - kMaxStoredSessions : 0;
    auto* sessions = new PropertyVector("PlayingSessions");
    node->add(sessions);
    for (std::size_t i = skip; i < kept.size(); ++i) {
        sessions->add(kept[i].get());
    }
    if (!store->save()) {
        logWarning(record->fileName_ + ": the usage record cannot be written");
    }
}

} // namespace orv
