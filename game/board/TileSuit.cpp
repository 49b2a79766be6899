#include "game/board/TileSuit.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <array>
#include <string_view>

namespace orv {

const ClassRecord TileSuit::classRecord{"Suit", parentRecords<BaseObject::classRecord>};

namespace {

constexpr std::array<std::string_view, 2> kMatchTypeNames{"exact", "suit"};

} // namespace

TileSuit::TileSuit(PropertyNode* definition) {
    const PropertyNode* node = definition != nullptr ? definition : DUMMY_NODE;
    size_ = node->getValue("size")->getInt();
    numAppears_ = node->getValue("numAppears")->getInt();
    image_ = node->getValue("image")->getString();
    matchType_ = static_cast<MatchType>(node->getEnumIndex("matchType", kMatchTypeNames, 0));
    faceXIdx_ = node->getValue("faceXIdx")->getInt();
    faceYIdx_ = node->getValue("faceYIdx")->getInt();
}

BaseObject* TileSuit::createFromDefinition(PropertyNode* definition) {
    return new TileSuit(definition);
}

} // namespace orv
