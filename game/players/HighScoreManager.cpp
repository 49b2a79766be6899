#include "game/players/HighScoreManager.h"

#include "engine/core/Log.h"
#include "engine/core/RandomGenerator.h"
#include "engine/platform/DataFolders.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/FileNames.h"
#include "engine/system/Platform.h"
#include "game/players/PlayerFiles.h"
#include "game/players/PlayerNotices.h"

#include <set>

namespace orv {

namespace {

RefPtr<HighScoreManager>& theHighScoreManager() {
    static RefPtr<HighScoreManager> manager;
    return manager;
}

constexpr int kDefaultRows = 5;
constexpr int kExtraNameDraws = 10;

} // namespace

const ClassRecord HighScoreManager::classRecord{"HighScoreManager",
                                                parentRecords<BaseObject::classRecord>};

HighScoreManager::HighScoreManager(bool scrambled, std::string version)
    : version_(std::move(version)), scrambled_(scrambled) {}

HighScoreManager::~HighScoreManager() {
    for (auto& [name, table] : tables_) {
        table->setOwner(nullptr);
    }
}

HighScoreManager& HighScoreManager::create(bool scrambled, std::string_view version) {
    RefPtr<HighScoreManager>& manager = theHighScoreManager();
    if (!manager) {
        std::string chosen(version);
        if (chosen.empty() && BasicProperties::get() != nullptr) {
            chosen = BasicProperties::get()->getString("HIGHSCORES_VERSION");
        }
        manager = new HighScoreManager(scrambled, std::move(chosen));
    }
    return *manager;
}

HighScoreManager* HighScoreManager::get() {
    return theHighScoreManager().get();
}

void HighScoreManager::destroyInstance() {
    theHighScoreManager() = nullptr;
}

ArchiveMode HighScoreManager::getFileMode() const {
    return scrambled_ ? ArchiveMode::EncryptFile : ArchiveMode::File;
}

std::string HighScoreManager::getFilePath() const {
    return (dataFolder_.empty() ? getSharedDataFolder() : dataFolder_) + "/players/scores.xml";
}

void HighScoreManager::setTable(std::string_view name, HighScoreTable* table) {
    if (table == nullptr) {
        return;
    }
    const auto found = tables_.find(name);
    if (found != tables_.end()) {
        found->second->setOwner(nullptr);
        found->second = table;
    } else {
        tables_.emplace(std::string(name), table);
    }
    table->setOwner(this);
}

HighScoreTable* HighScoreManager::getTable(std::string_view name) const {
    const auto found = tables_.find(name);
    return found != tables_.end() ? found->second.get() : nullptr;
}

void HighScoreManager::readTables(const PropertyNode& node) {
    const AbstractProperty* version = node.getChild("version");
    version_ = version != nullptr ? node.getValue("version")->getString() : "0.0";
    for (const RefPtr<AbstractProperty>& element : node.getVector("scoretables")->getElements()) {
        const PropertyNode* stored = asNode(element.get());
        if (stored->getName().empty()) {
            logWarning("scores: a table without a name is skipped");
            continue;
        }
        RefPtr<HighScoreTable> table(new HighScoreTable(HighScoreTable::kDefaultCapacity, true));
        table->read(*stored);
        setTable(stored->getName(), table.get());
    }
}

void HighScoreManager::writeTables(PropertyNode& node) const {
    node.add(new PropertyValue("version", std::string_view(version_)));
    auto* list = static_cast<PropertyVector*>(node.add(new PropertyVector("scoretables")));
    for (const auto& [name, table] : tables_) {
        auto* stored = new PropertyNode(name, "ScoreTable");
        list->add(stored);
        table->write(*stored);
    }
}

void HighScoreManager::load() {
    const std::string path = getFilePath();
    RefPtr<PropertyStore> store(new PropertyStore());
    const StoredFileLoad result = loadStoredFile(*store, path, getFileMode());
    if (result == StoredFileLoad::Missing) {
        return;
    }
    if (result == StoredFileLoad::OutOfReach) {
        fileProtected_ = true;
        postPlayerNotice({PlayerNoticeKind::FileOutOfReach,
                          {},
                          describeFileForPlayer(makeFileName(getFileMode(), path)),
                          {}});
        return;
    }
    std::string reason = "the scores cannot be read";
    if (result == StoredFileLoad::Loaded) {
        const AbstractProperty* node = store->getChild("highscoretables");
        const PropertyNode* tables = store->getNode("highscoretables");
        const AbstractProperty* version = tables->getChild("version");
        const std::string text = tables->getValue("version")->getString();
        if (node != nullptr && node->isNode() && version != nullptr && text == version_) {
            readTables(*tables);
            return;
        }
        reason = "the scores are of version \"" + text + "\", not \"" + version_ + "\"";
    }
    if (!setStoredFileAside(path, getFileMode(), reason)) {
        fileProtected_ = true;
    }
}

bool HighScoreManager::save() {
    const std::string path = getFilePath();
    if (fileProtected_) {
        logError(makeFileName(getFileMode(), path) +
                 ": holds what could not be read and is not saved over");
        return false;
    }
    platform::ensureDirectory(path.substr(0, path.rfind('/')));
    RefPtr<PropertyStore> store(new PropertyStore());
    auto* node = static_cast<PropertyNode*>(
        store->add(new PropertyNode("highscoretables", "HighScoreTables")));
    writeTables(*node);
    store->setFileName(path);
    store->setAccessMode(getFileMode());
    return store->save();
}

HighScoreTable* getHighScoreTable(std::string_view name, bool fill) {
    HighScoreManager* manager = HighScoreManager::get();
    if (manager == nullptr) {
        return nullptr;
    }
    HighScoreTable* table = manager->getTable(name);
    if (table == nullptr) {
        RefPtr<HighScoreTable> created(new HighScoreTable(kDefaultRows, true));
        manager->setTable(name, created.get());
        table = created.get();
    }
    if (fill && table->getEntries().size() != static_cast<std::size_t>(kDefaultRows)) {
        fillDefaultHighScores(*table);
    }
    return table;
}

void fillDefaultHighScores(HighScoreTable& table) {
    const RefPtr<PropertyVector> names =
        BasicProperties::get() != nullptr
            ? BasicProperties::get()->getVector("CTEXT_HIGHSCORE_NAMES")
            : nullptr;
    const int count = names ? static_cast<int>(names->size()) : 0;
    if (count == 0) {
        logWarning("CTEXT_HIGHSCORE_NAMES holds no names; the invented scores have none");
    }
    std::set<int> used;
    for (int i = 0; i < kDefaultRows; ++i) {
        std::string name;
        if (count > 0) {
            int index = Random::nextInt(0, count);
            for (int draw = 0; draw < kExtraNameDraws && used.count(index) > 0; ++draw) {
                index = Random::nextInt(0, count);
            }
            used.insert(index);
            name = asValue(names->at(index))->getString();
        }
        table.addScore(new OrvantaScoreEntry(name, 1000 * (i + 1), false, i));
    }
}

} // namespace orv
