#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "game/players/HighScoreEntry.h"

#include <string_view>
#include <vector>

namespace orv {

class HighScoreManager;
class PropertyNode;

/// An ordered, bounded table of rows, best first.
///
///     RefPtr<HighScoreTable> table(new HighScoreTable(5, true));
///     const int place = table->addScore(new OrvantaScoreEntry("Ada", 4200, true, 3));
///     if (place >= 0) { ... it entered at that place ... }
class HighScoreTable : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The capacity a table gets when its stored one is unusable.
    static constexpr int kDefaultCapacity = 5;

    /// An empty table holding at most `maxentries` rows (at least 1), higher
    /// scores better when `descending`; lastscore -1.
    HighScoreTable(int maxentries, bool descending);

    /// Replaces the rows by those of a "ScoreTable" node: "descending" and
    /// "lastscore" when present, "maxentries", "entries". A capacity of 0 or
    /// less becomes kDefaultCapacity, rows beyond the capacity and rows of
    /// another type than "HighScoreEntry" or "OrvantaScore" are dropped, and a
    /// lastscore that is no row becomes -1; each is logged.
    virtual void read(const PropertyNode& node);
    /// Adds "descending", "maxentries", "lastscore" and "entries".
    virtual void write(PropertyNode& node) const;

    /// Offers `entry` (the table takes a reference; it is released when it
    /// does not enter): it goes before the first row it beats (or ties with,
    /// in a descending table), the row beyond the capacity is dropped.
    /// Returns its place from 0 and keeps it as lastscore, or -1 when it did
    /// not enter. When a player's row enters a table kept by the high-score
    /// manager, the manager saves the tables at once.
    int addScore(HighScoreEntry* entry);
    /// True when a player's row (not an invented one) is called exactly `name`.
    [[nodiscard]] bool hasPlayerEntry(std::string_view name) const;

    [[nodiscard]] const std::vector<RefPtr<HighScoreEntry>>& getEntries() const { return entries_; }
    [[nodiscard]] bool isDescending() const { return descending_; }
    [[nodiscard]] int getLastScore() const { return lastscore_; }
    void setLastScore(int lastscore) { lastscore_ = lastscore; }
    [[nodiscard]] int getMaxEntries() const { return maxentries_; }

    /// The manager that keeps the table (borrowed; set and cleared by it).
    void setOwner(HighScoreManager* owner) { owner_ = owner; }

private:
    std::vector<RefPtr<HighScoreEntry>> entries_;
    bool descending_ = true;
    int lastscore_ = -1;
    int maxentries_ = kDefaultCapacity;
    HighScoreManager* owner_ = nullptr;
};

} // namespace orv
