#include "engine/properties/PropertyNode.h"

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyValue.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <unordered_set>
#include <vector>

namespace orv {

constinit const ClassRecord PropertyNode::classRecord{"PropertyNode",
                                                      parentRecords<AbstractProperty::classRecord>};

namespace {

PropertyNode* makeDummyNode() {
    auto* dummy = new PropertyNode("DUMMY_NODE", "");
    dummy->addRef(); // never released: the dummy lives as long as the process
    return dummy;
}

constexpr std::array<std::string_view, 8> settingsTypeNames{"Integer", "Double", "Float", "Boolean",
                                                            "String",  "Text",   "Node",  "Vector"};

bool isSettingsTypeName(std::string_view typeName) {
    return std::find(settingsTypeNames.begin(), settingsTypeNames.end(), typeName) !=
           settingsTypeNames.end();
}

// True when `target` is `from` or lies anywhere below it. Trees only share
// subtrees, but the walk keeps a visited set so that a loop made by code
// cannot hang it.
bool reaches(const AbstractProperty* from, const AbstractProperty* target,
             std::unordered_set<const AbstractProperty*>& visited) {
    if (from == target) {
        return true;
    }
    if (from->isValue() || !visited.insert(from).second) {
        return false;
    }
    const auto* list = static_cast<const PropertyVector*>(from);
    for (const RefPtr<AbstractProperty>& element : list->getElements()) {
        if (reaches(element.get(), target, visited)) {
            return true;
        }
    }
    if (from->isNode()) {
        for (const PropertyNode::NamedChild& child :
             static_cast<const PropertyNode*>(from)->getChildren()) {
            if (reaches(child.property.get(), target, visited)) {
                return true;
            }
        }
    }
    return false;
}

bool reaches(const AbstractProperty* from, const AbstractProperty* target) {
    std::unordered_set<const AbstractProperty*> visited;
    return reaches(from, target, visited);
}

// The nodes whose resolution is under way on this thread, outermost first. A
// node met again while it is on this path would resolve forever.
thread_local std::vector<const PropertyNode*> resolving;

class ResolvingMark {
public:
    explicit ResolvingMark(const PropertyNode* node) { resolving.push_back(node); }
    ResolvingMark(const ResolvingMark&) = delete;
    ResolvingMark& operator=(const ResolvingMark&) = delete;
    ~ResolvingMark() { resolving.pop_back(); }
};

std::string describe(const AbstractProperty& property) {
    return "'" + property.getName() + "' (" + property.getTypeName() + ")";
}

} // namespace

PropertyNode* const DUMMY_NODE = makeDummyNode();

PropertyNode::PropertyNode(std::string_view name, std::string_view typeName)
    : PropertyVector(PropertyKind::Node, name, typeName) {}

AbstractProperty* PropertyNode::add(AbstractProperty* child) {
    assert(child != nullptr && "a property tree holds no null children");
    if (child == nullptr || this == DUMMY_NODE) {
        return child;
    }
    const RefPtr<AbstractProperty> keep(child); // survives removing its own old entry
    removeChild(child->getName());
    table_.push_back(NamedChild{child->getName(), keep});
    index_.emplace(table_.back().name, std::prev(table_.end()));
    if (!child->isValue() || !child->getTypeName().empty()) {
        elements_.emplace_back(child);
    }
    return child;
}

AbstractProperty* PropertyNode::addNamedBool(std::string_view name, bool value, bool untyped) {
    return add(PropertyValue::create(name, untyped ? "" : "Boolean", value ? L"true" : L"false"));
}

void PropertyNode::removeChild(std::string_view name) {
    AbstractProperty* child = nullptr;
    RefPtr<AbstractProperty> keep; // the child may live only through this node
    if (const auto found = index_.find(name); found != index_.end()) {
        const auto entry = found->second;
        keep = entry->property;
        child = keep.get();
        index_.erase(found);
        table_.erase(entry);
    }
    const auto element = std::find_if(
        elements_.begin(), elements_.end(), [&](const RefPtr<AbstractProperty>& candidate) {
            return child != nullptr ? candidate.get() == child : candidate->getName() == name;
        });
    if (element != elements_.end()) {
        elements_.erase(element);
    }
}

void PropertyNode::clear() {
    index_.clear();
    table_.clear();
    elements_.clear();
}

AbstractProperty* PropertyNode::getChild(std::string_view name) const {
    const auto found = index_.find(name);
    return found != index_.end() ? found->second->property.get() : nullptr;
}

PropertyValue* PropertyNode::getValue(std::string_view name) const {
    return asValue(getChild(name));
}

PropertyValue* PropertyNode::findValue(std::string_view name) const {
    AbstractProperty* child = getChild(name);
    return child != nullptr && child->isValue() ? asValue(child) : nullptr;
}

PropertyNode* PropertyNode::getNode(std::string_view name) const {
    return asNode(getChild(name));
}

PropertyVector* PropertyNode::getVector(std::string_view name) const {
    return asVector(getChild(name));
}

int PropertyNode::getEnumIndex(std::string_view key, std::span<const std::string_view> names,
                               int defaultIndex) const {
    const AbstractProperty* child = getChild(key);
    if (child == nullptr) {
        return defaultIndex;
    }
    const std::string text = asValue(child)->getString();
    const auto found = std::find(names.begin(), names.end(), text);
    return found != names.end() ? static_cast<int>(found - names.begin()) : defaultIndex;
}

void PropertyNode::createChildren() {
    // Handles, not the list: a create function may change this node.
    std::vector<RefPtr<AbstractProperty>> children;
    children.reserve(table_.size());
    for (const NamedChild& child : table_) {
        children.push_back(child.property);
    }
    for (const RefPtr<AbstractProperty>& child : children) {
        const RefPtr<BaseObject> made(createFromDefinition(child.get())); // dropped at once
    }
}

void PropertyNode::resolve() {
    if (std::find(resolving.begin(), resolving.end(), this) != resolving.end()) {
        logWarning("Property node " + describe(*this) +
                   " contains itself; its setups are not resolved again");
        return;
    }
    if (resolved_) {
        return;
    }
    if (resolving.size() >= kMaxResolveNesting) {
        logWarning("Property node " + describe(*this) + " lies " +
                   std::to_string(resolving.size()) +
                   " nodes deep through its setups; it is not resolved");
        return;
    }
    const ResolvingMark mark(this);

    std::string setupName;
    if (const AbstractProperty* setup = getChild("setup")) {
        setupName = asValue(setup)->getString();
        removeChild("setup");
    }
    if (!setupName.empty()) {
        BasicProperties* settings = BasicProperties::get();
        const RefPtr<PropertyNode> setupNode =
            settings != nullptr ? settings->getNode(setupName) : RefPtr<PropertyNode>();
        if (setupNode == nullptr) {
            return; // unknown setup: the children stay as they are
        }
        if (setupNode.get() == this) {
            logWarning("Setup '" + setupName + "' names itself");
        } else {
            std::vector<RefPtr<AbstractProperty>> inherited;
            for (const NamedChild& child : setupNode->getChildren()) {
                if (getChild(child.name) == nullptr) {
                    inherited.push_back(child.property);
                }
            }
            for (const RefPtr<AbstractProperty>& child : inherited) {
                if (reaches(child.get(), this)) {
                    logWarning("Setup '" + setupName + "' would put property node " +
                               describe(*this) + " inside itself through its key '" +
                               child->getName() + "'; the key is skipped");
                    continue;
                }
                add(child.get());
            }
        }
    }

    std::vector<RefPtr<AbstractProperty>> children;
    children.reserve(table_.size());
    for (const NamedChild& child : table_) {
        children.push_back(child.property);
    }
    for (const RefPtr<AbstractProperty>& child : children) {
        child->resolve();
    }
    resolved_ = true;
}

PropertyNode* asNode(AbstractProperty* property) {
    if (property == nullptr || !property->isNode()) {
        return DUMMY_NODE;
    }
    return static_cast<PropertyNode*>(property);
}

BaseObject* createFromDefinition(AbstractProperty* definition) {
    if (definition == nullptr) {
        return nullptr;
    }
    const std::string& typeName = definition->getTypeName();
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    if (!factory.hasCreator(typeName)) {
        logWarning("No create function for the definition " + describe(*definition) +
                   "; it is skipped");
        return nullptr;
    }
    if (!definition->isNode() && !isSettingsTypeName(typeName)) {
        logWarning("The definition " + describe(*definition) +
                   " is not a node and cannot be built; it is skipped");
        return nullptr;
    }
    if (definition->isNode()) {
        return factory.createObject(typeName, static_cast<PropertyNode*>(definition));
    }
    // The factory's signature names a node. Values and vectors travel under a
    // converted pointer that only `propertyOfDefinition` turns back; nothing
    // reads them as nodes.
    return factory.createObject(typeName, reinterpret_cast<PropertyNode*>(definition));
}

AbstractProperty* propertyOfDefinition(PropertyNode* definition) {
    // A node's property part sits at its start, so this undoes both the
    // conversion above and a plain node pointer.
    return reinterpret_cast<AbstractProperty*>(definition);
}

} // namespace orv
