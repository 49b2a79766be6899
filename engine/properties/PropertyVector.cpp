#include "engine/properties/PropertyVector.h"

#include "engine/properties/PropertyValue.h"

#include <cassert>

namespace orv {

constinit const ClassRecord PropertyVector::classRecord{
    "PropertyVector", parentRecords<AbstractProperty::classRecord>};

namespace {

PropertyVector* makeDummyVector() {
    auto* dummy = new PropertyVector("DUMMY_VECTOR");
    dummy->addRef(); // never released: the dummy lives as long as the process
    return dummy;
}

} // namespace

PropertyVector* const DUMMY_VECTOR = makeDummyVector();

PropertyVector::PropertyVector(std::string_view name)
    : AbstractProperty(PropertyKind::Vector, name, "Vector") {}

AbstractProperty* PropertyVector::add(AbstractProperty* child) {
    assert(child != nullptr && "a property tree holds no null children");
    if (child != nullptr && this != DUMMY_VECTOR) {
        elements_.emplace_back(child);
    }
    return child;
}

AbstractProperty* PropertyVector::addBool(bool value) {
    return add(PropertyValue::create("", "Boolean", value ? L"true" : L"false"));
}

AbstractProperty* PropertyVector::at(std::ptrdiff_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= elements_.size()) {
        return nullptr;
    }
    return elements_[static_cast<std::size_t>(index)].get();
}

void PropertyVector::resolve() {
    if (resolved_) {
        return;
    }
    resolved_ = true; // also ends a walk that comes back here through a loop
    // A copy of the handles: resolving an element may add to this vector's
    // nodes, never to the vector itself, but the copy keeps the walk safe.
    const std::vector<RefPtr<AbstractProperty>> elements = elements_;
    for (const RefPtr<AbstractProperty>& element : elements) {
        element->resolve();
    }
}

PropertyVector* asVector(AbstractProperty* property) {
    if (property == nullptr || !property->isVector()) {
        return DUMMY_VECTOR;
    }
    return static_cast<PropertyVector*>(property);
}

} // namespace orv
