#include "game/board/Progression.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

namespace orv {

const ClassRecord Progression::classRecord{"Progression", parentRecords<BaseObject::classRecord>};

Progression::Progression(const AbstractProperty* property) {
    read(property);
}

BaseObject* Progression::createFromDefinition(PropertyNode* definition) {
    return new Progression(definition);
}

void Progression::read(const AbstractProperty* property) {
    if (property != nullptr && property->isValue()) {
        start_ = PropertyValue::toFloat(property);
        value_ = start_;
        cap_ = start_;
        delta_ = 0.0F;
        return;
    }
    const PropertyNode* node = property != nullptr && property->isNode()
                                   ? static_cast<const PropertyNode*>(property)
                                   : DUMMY_NODE;
    value_ = PropertyValue::toFloat(node->getChild("start"));
    delta_ = PropertyValue::toFloat(node->getChild("delta"));
    cap_ = PropertyValue::toFloat(node->getChild("cap"));
    start_ = value_;
}

float Progression::step() {
    value_ += delta_;
    // The cap is a ceiling for a growing progression, a floor for a
    // shrinking one; without a step nothing is stopped.
    const bool passed = (delta_ > 0.0F && value_ > cap_) || (delta_ < 0.0F && value_ < cap_);
    if (passed) {
        value_ = cap_;
    }
    return value_;
}

} // namespace orv
