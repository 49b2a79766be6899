#include "game/players/HighScoreTable.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "game/players/HighScoreManager.h"

#include <algorithm>
#include <string>

namespace orv {

const ClassRecord HighScoreTable::classRecord{"HighScoreTable",
                                              parentRecords<BaseObject::classRecord>};

HighScoreTable::HighScoreTable(int maxentries, bool descending)
    : descending_(descending), maxentries_(std::max(1, maxentries)) {}

void HighScoreTable::read(const PropertyNode& node) {
    const std::string where = "score table \"" + node.getName() + "\": ";
    if (node.getChild("descending") != nullptr) {
        descending_ = node.getValue("descending")->getBool();
    }
    maxentries_ = node.getValue("maxentries")->getInt();
    if (maxentries_ <= 0) {
        logWarning(where + "the capacity " + std::to_string(maxentries_) + " becomes " +
                   std::to_string(kDefaultCapacity));
        maxentries_ = kDefaultCapacity;
    }
    entries_.clear();
    for (const RefPtr<AbstractProperty>& element : node.getVector("entries")->getElements()) {
        const PropertyNode* row = asNode(element.get());
        RefPtr<HighScoreEntry> entry;
        if (row->getTypeName() == "HighScoreEntry") {
            entry = new HighScoreEntry(*row);
        } else if (row->getTypeName() == "OrvantaScore") {
            entry = new OrvantaScoreEntry(*row);
        } else {
            logWarning(where + "a row of type \"" + row->getTypeName() + "\" is skipped");
            continue;
        }
        if (entries_.size() == static_cast<std::size_t>(maxentries_)) {
            logWarning(where + "holds more rows than its capacity; the rest are dropped");
            break;
        }
        entries_.push_back(entry);
    }
    lastscore_ = node.getChild("lastscore") != nullptr ? node.getValue("lastscore")->getInt() : -1;
    if (lastscore_ < -1 || lastscore_ >= static_cast<int>(entries_.size())) {
        logWarning(where + "the last score's place " + std::to_string(lastscore_) +
                   " is no row; it is cleared");
        lastscore_ = -1;
    }
}

void HighScoreTable::write(PropertyNode& node) const {
    node.addNamedBool("descending", descending_, false);
    node.add(new PropertyValue("maxentries", maxentries_));
    node.add(new PropertyValue("lastscore", lastscore_));
    auto* rows = static_cast<PropertyVector*>(node.add(new PropertyVector("entries")));
    for (const RefPtr<HighScoreEntry>& entry : entries_) {
        auto* row = new PropertyNode("", "HighScoreEntry");
        rows->add(row);
        entry->write(*row);
    }
}

int HighScoreTable::addScore(HighScoreEntry* entry) {
    const RefPtr<HighScoreEntry> held(entry);
    if (entry == nullptr) {
        return -1;
    }
    const auto before = std::find_if(entries_.begin(), entries_.end(),
                                     [this, entry](const RefPtr<HighScoreEntry>& row) {
                                         return row->isNotAbove(*entry) == descending_;
                                     });
    std::size_t place = static_cast<std::size_t>(before - entries_.begin());
    if (before != entries_.end()) {
        entries_.insert(before, held);
        while (entries_.size() > static_cast<std::size_t>(maxentries_)) {
            entries_.pop_back();
        }
    } else if (entries_.size() < static_cast<std::size_t>(maxentries_)) {
        entries_.push_back(held);
    } else {
        place = entries_.size();
    }
    // A row placed beyond the capacity was dropped again: it never entered.
    lastscore_ = place < entries_.size() && entries_[place] == held ? static_cast<int>(place) : -1;
    if (lastscore_ >= 0 && entry->isplayerscore && owner_ != nullptr) {
        (void)owner_->save();
    }
    return lastscore_;
}

bool HighScoreTable::hasPlayerEntry(std::string_view name) const {
    return std::any_of(entries_.begin(), entries_.end(), [name](const RefPtr<HighScoreEntry>& row) {
        return row->isplayerscore && row->playername == name;
    });
}

} // namespace orv
