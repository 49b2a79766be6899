#pragma once

#include "engine/core/BaseObject.h"

#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// One row of a high-score table.
class HighScoreEntry : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    HighScoreEntry(std::string_view name, int score, bool playerScore);
    /// Reads "playername", "scorevalue" and "isplayerscore" (false only for
    /// "false" or an empty text).
    explicit HighScoreEntry(const PropertyNode& node);
    /// The object factory's create function ("HighScoreEntry").
    static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Types `node` "HighScoreEntry" and adds "scorevalue", "playername" and
    /// "isplayerscore".
    virtual void write(PropertyNode& node) const;
    /// This row's score <= the other's.
    [[nodiscard]] virtual bool isNotAbove(const HighScoreEntry& other) const {
        return scorevalue <= other.scorevalue;
    }

    std::string playername; ///< UTF-8
    int scorevalue = 0;
    bool isplayerscore = false; ///< false for an invented default row
};

/// The game's row: also the level or floor reached.
class OrvantaScoreEntry : public HighScoreEntry {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    OrvantaScoreEntry(std::string_view name, int score, bool playerScore, int reached);
    /// Reads the row's keys and "level".
    explicit OrvantaScoreEntry(const PropertyNode& node);
    /// The object factory's create function ("OrvantaScore").
    static BaseObject* createFromDefinition(PropertyNode* definition);

    /// As the base, typed "OrvantaScore", then "level".
    void write(PropertyNode& node) const override;

    int level = 0;
};

} // namespace orv
