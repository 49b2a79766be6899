#include "game/players/TrophyList.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/FileArchive.h"

#include <cassert>
#include <cstdint>
#include <memory>

namespace orv {

const ClassRecord TrophyInfo::classRecord{"TrophyInfo", parentRecords<BaseObject::classRecord>};
const ClassRecord TrophyList::classRecord{"TrophyList", parentRecords<BaseObject::classRecord>};

TrophyInfo::TrophyInfo(const PropertyNode& definition, std::string_view defaultSection) {
    const PropertyVector* infos = definition.getVector("trophyinfos");
    for (const RefPtr<AbstractProperty>& element : infos->getElements()) {
        const PropertyNode* info = asNode(element.get());
        TrophyInfoEntry entry;
        entry.image = info->getValue("image")->getString();
        entry.headerId = info->getValue("headerId")->getString();
        entry.textId = info->getValue("textId")->getString();
        entry.section = info->getChild("section") != nullptr
                            ? info->getValue("section")->getString()
                            : std::string(defaultSection);
        entry.x = info->getValue("x")->getInt();
        entry.y = info->getValue("y")->getInt();
        entries.push_back(std::move(entry));
    }
}

const TrophyInfoEntry& TrophyInfo::entry(std::size_t index) const {
    static const TrophyInfoEntry empty;
    return index < entries.size() ? entries[index] : empty;
}

namespace {

std::string& definitionFile() {
    static std::string file(TrophyList::kDefinitionFile);
    return file;
}

// The definitions as read from the definition file, shared by every list.
struct TrophyDefinitions {
    bool saveNotShownAsNew = true;
    std::string section;
    std::vector<std::vector<TrophyInfoEntry>> trophies; // at most kTrophyCount
};

// The definitions read last, and for which file and archive. A players list
// makes a trophy list per player, so the file is read once, not per player.
struct TrophyDefinitionsCache {
    std::shared_ptr<const TrophyDefinitions> definitions;
    std::string file;
    std::uint32_t archiveGeneration = 0;
};

TrophyDefinitionsCache& trophyDefinitionsCache() {
    static TrophyDefinitionsCache cache;
    return cache;
}

std::shared_ptr<const TrophyDefinitions> readTrophyDefinitions(const std::string& file) {
    auto definitions = std::make_shared<TrophyDefinitions>();
    RefPtr<PropertyStore> store(new PropertyStore());
    if (!store->load(file)) {
        logWarning(file + ": cannot be read; the trophies have no pictures or texts");
    }
    if (store->getChild("SAVE_NOT_SHOWN_AS_NEW") != nullptr) {
        definitions->saveNotShownAsNew = store->getValue("SAVE_NOT_SHOWN_AS_NEW")->getBool();
    }
    definitions->section = store->getValue("TROPHY_SECTION")->getString();
    const PropertyVector* elements = store->getVector("TROPHIES");
    for (const RefPtr<AbstractProperty>& element : elements->getElements()) {
        if (definitions->trophies.size() == TrophyList::kTrophyCount) {
            logWarning(file + ": holds more than " + std::to_string(TrophyList::kTrophyCount) +
                       " trophies; the rest are ignored");
            break;
        }
        const TrophyInfo info(*asNode(element.get()), definitions->section);
        definitions->trophies.push_back(info.entries);
    }
    if (definitions->trophies.size() < TrophyList::kTrophyCount && elements->size() > 0) {
        logWarning(file + ": defines " + std::to_string(elements->size()) + " of the " +
                   std::to_string(TrophyList::kTrophyCount) + " trophies");
    }
    return definitions;
}

// The definitions of `file`, read when the cache holds another file's or the
// archive changed since.
std::shared_ptr<const TrophyDefinitions> getTrophyDefinitions(const std::string& file) {
    TrophyDefinitionsCache& cache = trophyDefinitionsCache();
    const std::uint32_t generation = FileArchive::getGeneration();
    if (!cache.definitions || cache.file != file || cache.archiveGeneration != generation) {
        cache.definitions = readTrophyDefinitions(file);
        cache.file = file;
        cache.archiveGeneration = generation;
    }
    return cache.definitions;
}

} // namespace

void TrophyList::setDefinitionFile(std::string_view file) {
    definitionFile() = file.empty() ? std::string(kDefinitionFile) : std::string(file);
    trophyDefinitionsCache() = {};
}

const std::string& TrophyList::getDefinitionFile() {
    return definitionFile();
}

TrophyList::TrophyList() {
    const std::shared_ptr<const TrophyDefinitions> definitions =
        getTrophyDefinitions(definitionFile());
    saveNotShownAsNew = definitions->saveNotShownAsNew;
    section = definitions->section;
    trophies.reserve(kTrophyCount);
    for (const std::vector<TrophyInfoEntry>& entries : definitions->trophies) {
        RefPtr<TrophyInfo> trophy(new TrophyInfo());
        trophy->entries = entries;
        trophies.push_back(std::move(trophy));
    }
    while (trophies.size() < kTrophyCount) {
        trophies.emplace_back(new TrophyInfo());
    }
}

void TrophyList::save(PropertyNode& node) const {
    auto* states = static_cast<PropertyVector*>(node.add(new PropertyVector("trophyVector")));
    for (const RefPtr<TrophyInfo>& trophy : trophies) {
        states->add(new PropertyValue("", savedState(trophy->state, saveNotShownAsNew)));
    }
    node.add(new PropertyValue(std::string(kHeldBackKeptKey), true));
}

void TrophyList::load(const PropertyNode& node) {
    const PropertyVector* states = node.getVector("trophyVector");
    if (states->size() > trophies.size()) {
        logWarning("profile: \"trophyVector\" holds " + std::to_string(states->size()) +
                   " states for " + std::to_string(trophies.size()) +
                   " trophies; the rest are ignored");
    }
    for (std::size_t i = 0; i < std::min(states->size(), trophies.size()); ++i) {
        const int state = PropertyValue::toInt(states->at(static_cast<std::ptrdiff_t>(i)));
        if (state < TrophyState::kNotEarned || state > TrophyState::kHeldBack) {
            logWarning("profile: trophy " + std::to_string(i) + " has the unknown state " +
                       std::to_string(state) + "; it is kept as it was");
            continue;
        }
        trophies[i]->state = state;
    }
    // A trophy still held back when the profile was saved lost its place's
    // presentation with the session: the trophy room shows it next.
    for (const RefPtr<TrophyInfo>& trophy : trophies) {
        if (trophy->state == TrophyState::kHeldBack) {
            trophy->state = TrophyState::kEarned;
        }
    }
    // Profiles saved before held-back trophies were kept wrote them as seen,
    // though no room had shown them: they are shown as new once.
    if (node.getChild(kHeldBackKeptKey) == nullptr) {
        for (const std::size_t index : kHeldBackTrophies) {
            if (index < trophies.size() && trophies[index]->state == TrophyState::kSeen) {
                trophies[index]->state = TrophyState::kEarned;
            }
        }
    }
}

TrophyInfo& TrophyList::get(std::size_t index) const {
    assert(index < trophies.size());
    return *trophies.at(index);
}

bool TrophyList::award(std::size_t index) {
    if (index >= trophies.size() || getState(index) != TrophyState::kNotEarned) {
        return false;
    }
    setState(index, TrophyState::kEarned);
    return true;
}

bool TrophyList::holdBack(std::size_t index) {
    if (index >= trophies.size() || getState(index) != TrophyState::kNotEarned) {
        return false;
    }
    setState(index, TrophyState::kHeldBack);
    return true;
}

int savedState(int state, bool saveNotShownAsNew) {
    if (state == TrophyState::kHeldBack) {
        // Not shown anywhere yet: never written as seen.
        return state;
    }
    return state != TrophyState::kNotEarned && saveNotShownAsNew ? TrophyState::kSeen : state;
}

void TrophyList::releaseHeldBack(std::size_t index) {
    if (index < trophies.size() && getState(index) == TrophyState::kHeldBack) {
        setState(index, TrophyState::kEarned);
    }
}

void TrophyList::markAllSeen() {
    for (const RefPtr<TrophyInfo>& trophy : trophies) {
        if (trophy->state != TrophyState::kNotEarned) {
            trophy->state = TrophyState::kSeen;
        }
    }
}

bool TrophyList::hasNewTrophies() const {
    for (const RefPtr<TrophyInfo>& trophy : trophies) {
        if (trophy->state == TrophyState::kEarned) {
            return true;
        }
    }
    return false;
}

std::wstring formatTrophyText(std::string_view textId) {
    std::wstring text = getText(textId);
    replaceAll(text, L"%1", getText("CTEXT_DIGIT_GROUPING_SYMBOL"), true);
    trimWhitespace(text, true, true);
    return text;
}

std::wstring formatTrophyHeader(std::string_view textId, std::string_view secondId, bool plus) {
    std::wstring text = getText(textId);
    replaceAll(text, L"%1", getText("CTEXT_DIGIT_GROUPING_SYMBOL"), true);
    if (text.find(L"%2") != std::wstring::npos) {
        const std::string second = std::string(secondId) + (plus ? "_PLUS" : "");
        replaceAll(text, L"%2", getText(second), false);
    }
    trimWhitespace(text, true, true);
    return text;
}

} // namespace orv
