// Building nodes from definition nodes of the property tree. Kept apart from
// GameNode.cpp because it is the one part of the node tree that reads
// property trees and uses the object factory.

#include "engine/core/GameNode.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

namespace {

std::string describeNode(const GameNode& node, const PropertyNode& definition) {
    return "node '" + node.getName() + "' (definition '" + definition.getName() + "' of type '" +
           definition.getTypeName() + "')";
}

// The value under `key` when it is present as a value; null when it is
// missing. A child of another kind is logged and reads as missing, so the
// default stays.
const AbstractProperty* presentValue(const PropertyNode& definition, std::string_view key,
                                     const GameNode& node) {
    const AbstractProperty* child = definition.getChild(key);
    if (child == nullptr) {
        return nullptr;
    }
    if (!child->isValue()) {
        logWarning("Key '" + std::string(key) + "' of " + describeNode(node, definition) +
                   " is not a value; the default is kept");
        return nullptr;
    }
    return child;
}

// Builds element `index` of the vector `key` through the object factory and
// returns it as a `T`, or null (logged; anything made that is not a `T` is
// disposed of) when it cannot be used.
template <class T>
T* buildElement(const PropertyVector& elements, std::size_t index, std::string_view key,
                const GameNode& node, const PropertyNode& definition, std::string_view kind) {
    PropertyNode* element = asNode(elements.at(static_cast<std::ptrdiff_t>(index)));
    BaseObject* made = orv::createFromDefinition(element);
    T* wanted = kindCast<T>(made);
    if (wanted == nullptr) {
        logWarning("Element " + std::to_string(index) + " of '" + std::string(key) + "' in " +
                   describeNode(node, definition) + " (type '" + element->getTypeName() +
                   "') does not make a " + std::string(kind) + "; it is skipped");
        if (made != nullptr) {
            // Created with no reference: one reference taken and dropped
            // frees it (and leaves a shared object alone).
            const RefPtr<BaseObject> discard(made);
        }
    }
    return wanted;
}

struct IntegerKey {
    std::string_view key;
    int GameNode::*field;
};

struct BooleanKey {
    std::string_view key;
    bool GameNode::*field;
};

} // namespace

GameNode::GameNode(PropertyNode* definition) {
    initFromProperties(definition);
}

BaseObject* GameNode::createFromDefinition(PropertyNode* definition) {
    return new GameNode(definition);
}

void GameNode::initFromProperties(PropertyNode* definition) {
    // The factory may hand over a value or vector in a node's place; it reads
    // as the empty dummy node.
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));

    // Stored straight into the fields: overrides of the setters must not run
    // while the node is being built.
    if (const AbstractProperty* name = presentValue(source, "name", *this)) {
        name_ = asValue(name)->getString();
    }
    static constexpr std::array<IntegerKey, 3> integerKeys{{
        {"tag", &GameNode::tag_},
        {"x", &GameNode::x_},
        {"y", &GameNode::y_},
    }};
    for (const IntegerKey& key : integerKeys) {
        if (const AbstractProperty* value = presentValue(source, key.key, *this)) {
            this->*key.field = PropertyValue::toInt(value);
        }
    }
    static constexpr std::array<BooleanKey, 2> booleanKeys{{
        {"suspended", &GameNode::suspended_},
        {"visible", &GameNode::visible_},
    }};
    for (const BooleanKey& key : booleanKeys) {
        if (const AbstractProperty* value = presentValue(source, key.key, *this)) {
            this->*key.field = PropertyValue::toBool(value);
        }
    }

    const PropertyVector& children = *source.getVector("children");
    for (std::size_t index = 0; index < children.size(); ++index) {
        if (auto* child =
                buildElement<GameNode>(children, index, "children", *this, source, "node")) {
            GameTree::appendChild(child, this);
        }
    }

    const PropertyVector& modifiers = *source.getVector("modifiers");
    for (std::size_t index = 0; index < modifiers.size(); ++index) {
        if (auto* modifier =
                buildElement<Modifier>(modifiers, index, "modifiers", *this, source, "modifier")) {
            addModifier(modifier, true);
        }
    }
}

} // namespace orv
