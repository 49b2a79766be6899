#include "game/players/AbstractPlayer.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

namespace orv {

const ClassRecord AbstractPlayer::classRecord{"AbstractPlayer",
                                              parentRecords<BaseObject::classRecord>};

AbstractPlayer::AbstractPlayer(const PropertyNode& node)
    : name_(node.getValue("name")->getString()) {}

AbstractPlayer::AbstractPlayer(std::string_view name) : name_(name) {}

void AbstractPlayer::writeIdentity(PropertyNode& node) const {
    if (&node != DUMMY_NODE) {
        node.add(new PropertyValue("name", std::string_view(name_)));
    }
}

void AbstractPlayer::save(PropertyNode& /*node*/) const {}

void AbstractPlayer::load(const PropertyNode& /*node*/) {}

} // namespace orv
