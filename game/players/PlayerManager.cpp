#include "game/players/PlayerManager.h"

#include "engine/core/Log.h"
#include "engine/platform/DataFolders.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/FileNames.h"
#include "engine/system/Platform.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerFiles.h"
#include "game/players/PlayerNotices.h"

#include <algorithm>
#include <unordered_set>

namespace orv {

namespace {

RefPtr<PlayerManager>& thePlayerManager() {
    static RefPtr<PlayerManager> manager;
    return manager;
}

bool isDecimal(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Why a name cannot be a player's, or empty when it can.
std::string nameFault(std::string_view name) {
    if (name.empty()) {
        return "an empty name";
    }
    if (name.size() > kMaxPlayerNameBytes) {
        return "a name longer than " + std::to_string(kMaxPlayerNameBytes) + " bytes";
    }
    if (makePlayerFileStem(name).empty()) {
        return "a name without a file name";
    }
    return {};
}

} // namespace

const ClassRecord PlayerManager::classRecord{"PlayerManager",
                                             parentRecords<BaseObject::classRecord>};

PlayerManager::PlayerManager(bool scrambled, std::string version)
    : version_(std::move(version)), scrambled_(scrambled) {}

PlayerManager::~PlayerManager() = default;

PlayerManager& PlayerManager::create(bool scrambled, std::string_view version) {
    RefPtr<PlayerManager>& manager = thePlayerManager();
    if (!manager) {
        std::string chosen(version);
        if (chosen.empty() && BasicProperties::get() != nullptr) {
            chosen = BasicProperties::get()->getString("PLAYERS_VERSION");
        }
        manager = new PlayerManager(scrambled, std::move(chosen));
    }
    return *manager;
}

PlayerManager* PlayerManager::get() {
    return thePlayerManager().get();
}

void PlayerManager::destroyInstance() {
    thePlayerManager() = nullptr;
}

ArchiveMode PlayerManager::getFileMode() const {
    return scrambled_ ? ArchiveMode::EncryptFile : ArchiveMode::File;
}

std::string PlayerManager::getDataFolder() const {
    return dataFolder_.empty() ? getSharedDataFolder() : dataFolder_;
}

std::string PlayerManager::getListPath() const {
    return getDataFolder() + "/" + playersFolderName_ + "/players.plrs";
}

std::string PlayerManager::getProfilePath(std::string_view playerName) const {
    const std::string stem = makePlayerFileStem(playerName);
    return stem.empty() ? std::string()
                        : getDataFolder() + "/" + playersFolderName_ + "/" + stem + ".plr";
}

std::string PlayerManager::getSavedGamesFolder(std::string_view playerName) const {
    const std::string stem = makePlayerFileStem(playerName);
    return stem.empty() ? std::string()
                        : getDataFolder() + "/" + savedGamesFolderName_ + "/" + stem;
}

std::string PlayerManager::getSavedGamePath(std::string_view playerName,
                                            std::string_view gameId) const {
    const std::string folder = getSavedGamesFolder(playerName);
    if (folder.empty() || !isDecimal(gameId)) {
        logWarning("saved game \"" + std::string(gameId) + "\" of " + std::string(playerName) +
                   ": no such saved game can be stored");
        return {};
    }
    return folder + "/" + std::string(gameId) + ".sav";
}

std::string PlayerManager::getSavedGameFile(std::string_view playerName,
                                            std::string_view gameId) const {
    const std::string path = getSavedGamePath(playerName, gameId);
    return path.empty() ? path : makeFileName(getFileMode(), path);
}

OrvantaPlayer* PlayerManager::getCurrentProfile() const {
    return kindCast<OrvantaPlayer>(currentPlayer_);
}

void PlayerManager::readList(const PropertyNode& node) {
    // The file names of the players listed so far: a long list is checked
    // for doubles in one pass, not a search of the list per entry.
    std::unordered_set<std::string> listed;
    for (const RefPtr<AbstractPlayer>& player : players_) {
        listed.insert(encodeFileName(player->getName()));
    }
    for (const RefPtr<AbstractProperty>& element : node.getVector("playernames")->getElements()) {
        const PropertyNode* entry = asNode(element.get());
        const std::string name = entry->getValue("name")->getString();
        if (entry->getTypeName() != "OrvantaPlayer") {
            logWarning("players list: the entry \"" + name + "\" of type \"" +
                       entry->getTypeName() + "\" is no player; it is skipped");
            continue;
        }
        if (const std::string fault = nameFault(name); !fault.empty()) {
            logWarning("players list: an entry with " + fault + " is skipped");
            continue;
        }
        if (!listed.insert(encodeFileName(name)).second) {
            logWarning("players list: " + name + " is listed twice; the second entry is skipped");
            continue;
        }
        players_.emplace_back(new OrvantaPlayer(*entry));
    }
    if (players_.empty()) {
        return;
    }
    const std::string current = node.getValue("currentplayer")->getString();
    const std::size_t found = findPlayer(current);
    if (found == players_.size()) {
        logWarning("players list: the current player \"" + current +
                   "\" is not listed; the first player is taken");
    }
    currentPlayer_ = players_.at(found == players_.size() ? 0 : found).get();
}

void PlayerManager::writeList(PropertyNode& node) const {
    node.add(new PropertyValue("version", std::string_view(version_)));
    if (currentPlayer_ != nullptr) {
        node.add(new PropertyValue("currentplayer", std::string_view(currentPlayer_->getName())));
    }
    auto* names = static_cast<PropertyVector*>(node.add(new PropertyVector("playernames")));
    for (const RefPtr<AbstractPlayer>& player : players_) {
        auto* entry = new PropertyNode("", "AbstractPlayer");
        names->add(entry);
        player->writeIdentity(*entry);
    }
}

void PlayerManager::setAside(const std::string& path, std::string_view reason,
                             std::string_view playerName) {
    std::string aside;
    if (!setStoredFileAside(path, getFileMode(), reason, &aside)) {
        protectedFiles_.insert(path);
        postPlayerNotice({PlayerNoticeKind::FileKept,
                          std::string(playerName),
                          describeFileForPlayer(makeFileName(getFileMode(), path)),
                          {}});
        return;
    }
    if (!aside.empty()) {
        const PlayerNoticeKind kind = playerName.empty() ? PlayerNoticeKind::PlayersListSetAside
                                                         : PlayerNoticeKind::ProfileSetAside;
        postPlayerNotice({kind, std::string(playerName), describeFileForPlayer(aside), {}});
    }
}

void PlayerManager::keepOutOfReach(const std::string& path) {
    protectedFiles_.insert(path);
    postPlayerNotice({PlayerNoticeKind::FileOutOfReach,
                      {},
                      describeFileForPlayer(makeFileName(getFileMode(), path)),
                      {}});
}

bool PlayerManager::saveStore(PropertyStore& store, const std::string& path) {
    if (protectedFiles_.count(path) > 0) {
        logError(makeFileName(getFileMode(), path) +
                 ": holds what could not be read and is not saved over");
        return false;
    }
    store.setFileName(path);
    store.setAccessMode(getFileMode());
    if (!store.save()) {
        postPlayerNotice({PlayerNoticeKind::ProgressNotSaved,
                          {},
                          describeFileForPlayer(path.substr(0, path.rfind('/'))),
                          {}});
        return false;
    }
    return true;
}

void PlayerManager::loadPlayers() {
    players_.clear();
    currentPlayer_ = nullptr;
    const std::string path = getListPath();
    RefPtr<PropertyStore> store(new PropertyStore());
    switch (loadStoredFile(*store, path, getFileMode())) {
    case StoredFileLoad::Missing:
        return;
    case StoredFileLoad::OutOfReach:
        keepOutOfReach(path);
        return;
    case StoredFileLoad::Failed:
        setAside(path, "the players list cannot be read", {});
        return;
    case StoredFileLoad::Loaded:
        break;
    }
    const AbstractProperty* list = store->getChild("players");
    const std::string version = store->getNode("players")->getValue("version")->getString();
    if (list == nullptr || !list->isNode() || version != version_) {
        setAside(path,
                 "the players list is of version \"" + version + "\", not \"" + version_ + "\"",
                 {});
        return;
    }
    readList(*store->getNode("players"));
    if (currentPlayer_ != nullptr) {
        loadPlayer(*currentPlayer_);
    }
}

void PlayerManager::loadPlayer(AbstractPlayer& player) {
    const std::string path = getProfilePath(player.getName());
    if (path.empty()) {
        return;
    }
    RefPtr<PropertyStore> store(new PropertyStore());
    switch (loadStoredFile(*store, path, getFileMode())) {
    case StoredFileLoad::Missing:
        return;
    case StoredFileLoad::OutOfReach:
        keepOutOfReach(path);
        return;
    case StoredFileLoad::Failed:
        setAside(path, "the profile of " + player.getName() + " cannot be read", player.getName());
        return;
    case StoredFileLoad::Loaded:
        break;
    }
    const AbstractProperty* version = store->getChild("version");
    const std::string text = store->getValue("version")->getString();
    if (version == nullptr || !version->isValue() || text != version_) {
        setAside(path,
                 "the profile of " + player.getName() + " is of version \"" + text + "\", not \"" +
                     version_ + "\"",
                 player.getName());
        return;
    }
    player.load(*store->getNode("player"));
}

bool PlayerManager::savePlayer(const AbstractPlayer& player) {
    const std::string path = getProfilePath(player.getName());
    if (path.empty()) {
        return false;
    }
    platform::ensureDirectory(getDataFolder() + "/" + playersFolderName_);
    RefPtr<PropertyStore> store(new PropertyStore());
    store->add(new PropertyValue("version", std::string_view(version_)));
    auto* node = static_cast<PropertyNode*>(store->add(new PropertyNode("player", "Player")));
    player.save(*node);
    return saveStore(*store, path);
}

bool PlayerManager::savePlayers() {
    platform::ensureDirectory(getDataFolder() + "/" + playersFolderName_);
    RefPtr<PropertyStore> store(new PropertyStore());
    auto* node = static_cast<PropertyNode*>(store->add(new PropertyNode("players", "Players")));
    writeList(*node);
    bool saved = saveStore(*store, getListPath());
    if (currentPlayer_ != nullptr) {
        saved = savePlayer(*currentPlayer_) && saved;
    }
    return saved;
}

AbstractPlayer* PlayerManager::addPlayer(AbstractPlayer* player) {
    const RefPtr<AbstractPlayer> held(player);
    if (player == nullptr) {
        return nullptr;
    }
    if (const std::string fault = nameFault(player->getName()); !fault.empty()) {
        logWarning("a player with " + fault + " cannot be added");
        return nullptr;
    }
    if (hasPlayer(player->getName())) {
        logWarning("a player called " + player->getName() + " exists already");
        return nullptr;
    }
    players_.push_back(held);
    if (players_.size() == 1) {
        makeCurrent(player);
    }
    return player;
}

std::size_t PlayerManager::findPlayer(std::string_view name) const {
    const std::string wanted = encodeFileName(name);
    const auto found =
        std::find_if(players_.begin(), players_.end(), [&wanted](const RefPtr<AbstractPlayer>& p) {
            return encodeFileName(p->getName()) == wanted;
        });
    return static_cast<std::size_t>(found - players_.begin());
}

bool PlayerManager::hasPlayer(std::string_view name) const {
    return findPlayer(name) < players_.size();
}

bool PlayerManager::deletePlayer(std::string_view name) {
    const std::size_t index = findPlayer(name);
    if (index == players_.size()) {
        return false;
    }
    const RefPtr<AbstractPlayer> player = players_.at(index);
    const std::string folder = getSavedGamesFolder(player->getName());
    if (platform::pathExists(folder)) {
        (void)platform::deleteFolderTree(folder);
    }
    const std::string profile = makeFileName(getFileMode(), getProfilePath(player->getName()));
    if (platform::pathExists(profile)) {
        (void)platform::deleteFile(profile);
    }
    players_.erase(players_.begin() + static_cast<std::ptrdiff_t>(index));
    if (currentPlayer_ == player.get()) {
        currentPlayer_ = nullptr;
        if (!players_.empty()) {
            makeCurrent(players_.front().get());
        }
    }
    (void)savePlayers();
    return true;
}

void PlayerManager::makeCurrent(AbstractPlayer* player) {
    currentPlayer_ = player;
    if (player != nullptr) {
        loadPlayer(*player);
    }
}

bool PlayerManager::setCurrentPlayer(AbstractPlayer* player) {
    const bool listed =
        std::any_of(players_.begin(), players_.end(),
                    [player](const RefPtr<AbstractPlayer>& p) { return p == player; });
    if (player == nullptr || !listed) {
        return false;
    }
    if (player == currentPlayer_) {
        return true;
    }
    if (currentPlayer_ != nullptr) {
        (void)savePlayer(*currentPlayer_);
        if (OrvantaPlayer* profile = getCurrentProfile()) {
            profile->releaseSavedGame();
        }
    }
    makeCurrent(player);
    return true;
}

bool PlayerManager::saveSavedGame(std::string_view playerName, std::string_view gameId,
                                  PropertyStore& store) {
    const std::string path = getSavedGamePath(playerName, gameId);
    if (path.empty()) {
        return false;
    }
    platform::ensureDirectory(getSavedGamesFolder(playerName));
    return saveStore(store, path);
}

bool PlayerManager::loadSavedGame(std::string_view playerName, std::string_view gameId,
                                  PropertyStore& store) {
    const std::string path = getSavedGamePath(playerName, gameId);
    if (path.empty()) {
        return false;
    }
    store.setAccessMode(getFileMode());
    store.addFile(path);
    return platform::pathExists(makeFileName(getFileMode(), path)) && store.load(path);
}

bool PlayerManager::savedGameExists(std::string_view playerName, std::string_view gameId) {
    const std::string path = getSavedGamePath(playerName, gameId);
    return !path.empty() && platform::pathExists(makeFileName(getFileMode(), path));
}

void PlayerManager::deleteSavedGame(std::string_view playerName, std::string_view gameId) {
    if (savedGameExists(playerName, gameId)) {
        (void)platform::deleteFile(
            makeFileName(getFileMode(), getSavedGamePath(playerName, gameId)));
    }
}

} // namespace orv
