#include "game/players/HighScoreEntry.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

namespace orv {

const ClassRecord HighScoreEntry::classRecord{"HighScoreEntry",
                                              parentRecords<BaseObject::classRecord>};
const ClassRecord OrvantaScoreEntry::classRecord{"OrvantaScoreEntry",
                                                 parentRecords<HighScoreEntry::classRecord>};

HighScoreEntry::HighScoreEntry(std::string_view name, int score, bool playerScore)
    : playername(name), scorevalue(score), isplayerscore(playerScore) {}

HighScoreEntry::HighScoreEntry(const PropertyNode& node)
    : playername(node.getValue("playername")->getString()),
      scorevalue(node.getValue("scorevalue")->getInt()),
      isplayerscore(node.getValue("isplayerscore")->getBool()) {}

BaseObject* HighScoreEntry::createFromDefinition(PropertyNode* definition) {
    return new HighScoreEntry(definition != nullptr ? *definition : *DUMMY_NODE);
}

void HighScoreEntry::write(PropertyNode& node) const {
    node.setTypeName("HighScoreEntry");
    node.add(new PropertyValue("scorevalue", scorevalue));
    node.add(new PropertyValue("playername", std::string_view(playername)));
    node.addNamedBool("isplayerscore", isplayerscore, false);
}

OrvantaScoreEntry::OrvantaScoreEntry(std::string_view name, int score, bool playerScore,
                                     int reached)
    : HighScoreEntry(name, score, playerScore), level(reached) {}

OrvantaScoreEntry::OrvantaScoreEntry(const PropertyNode& node)
    : HighScoreEntry(node), level(node.getValue("level")->getInt()) {}

BaseObject* OrvantaScoreEntry::createFromDefinition(PropertyNode* definition) {
    return new OrvantaScoreEntry(definition != nullptr ? *definition : *DUMMY_NODE);
}

void OrvantaScoreEntry::write(PropertyNode& node) const {
    HighScoreEntry::write(node);
    node.setTypeName("OrvantaScore");
    node.add(new PropertyValue("level", level));
}

} // namespace orv
