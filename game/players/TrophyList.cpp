#include "game/players/TrophyList.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"

#include <cassert>

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

} // namespace

void TrophyList::setDefinitionFile(std::string_view file) {
    definitionFile() = file.empty() ? std::string(kDefinitionFile) : std::string(file);
}

const std::string& TrophyList::getDefinitionFile() {
    return definitionFile();
}

TrophyList::TrophyList() {
    RefPtr<PropertyStore> store(new PropertyStore());
    const std::string file = definitionFile();
    if (!store->load(file)) {
        logWarning(file + ": cannot be read; the trophies have no pictures or texts");
    }
    if (store->getChild("SAVE_NOT_SHOWN_AS_NEW") != nullptr) {
        saveNotShownAsNew = store->getValue("SAVE_NOT_SHOWN_AS_NEW")->getBool();
    }
    section = store->getValue("TROPHY_SECTION")->getString();
    const PropertyVector* definitions = store->getVector("TROPHIES");
    for (const RefPtr<AbstractProperty>& element : definitions->getElements()) {
        if (trophies.size() == kTrophyCount) {
            logWarning(file + ": holds more than " + std::to_string(kTrophyCount) +
                       " trophies; the rest are ignored");
            break;
        }
        trophies.emplace_back(new TrophyInfo(*asNode(element.get()), section));
    }
    if (trophies.size() < kTrophyCount && definitions->size() > 0) {
        logWarning(file + ": defines " + std::to_string(definitions->size()) + " of the " +
                   std::to_string(kTrophyCount) + " trophies");
    }
    while (trophies.size() < kTrophyCount) {
        trophies.emplace_back(new TrophyInfo());
    }
}

void TrophyList::save(PropertyNode& node) const {
    auto* states = static_cast<PropertyVector*>(node.add(new PropertyVector("trophyVector")));
    for (const RefPtr<TrophyInfo>& trophy : trophies) {
        const int state = trophy->state != TrophyState::kNotEarned && saveNotShownAsNew
                              ? TrophyState::kSeen
                              : trophy->state;
        states->add(new PropertyValue("", state));
    }
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
