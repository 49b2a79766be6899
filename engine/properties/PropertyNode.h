#pragma once

#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyVector.h"

#include <list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orv {

class PropertyValue;

/// A node of a property tree: the definition of one object (its type name is
/// the class or factory name, "Sprite", "Level" ...) or a plain group of named
/// children. Names are unique within a node: adding a child replaces the one
/// of the same name. Untyped values (the attributes of the XML element) are
/// found by name but are not among the ordered children.
///
/// A lookup that finds nothing, or a child of another kind, continues on the
/// matching dummy, so definitions may leave out any key:
///
///     PropertyNode* definition = ...;
///     int x = definition->getValue("x")->getInt();              // 0 when missing
///     PropertyNode* font = definition->getNode("font");          // DUMMY_NODE when missing
///     PropertyVector* frames = definition->getVector("frames");  // DUMMY_VECTOR when missing
///
/// The record's parent is `AbstractProperty`: a node is not kind of
/// `PropertyVector`, although it keeps its ordered children the same way.
class PropertyNode : public PropertyVector {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// One entry of the name table: the name the child was added under and
    /// the child.
    struct NamedChild {
        std::string name;
        RefPtr<AbstractProperty> property;
    };

    PropertyNode(std::string_view name, std::string_view typeName);

    /// Stores `child` (not null) under its name, after removing any child of
    /// that name, and appends it to the ordered children unless it is an
    /// untyped value. Takes one reference for the name table and one for the
    /// ordered children. Returns `child`. On `DUMMY_NODE` nothing is stored and
    /// no reference taken.
    AbstractProperty* add(AbstractProperty* child) override;
    /// Adds a value `name` with the text "true" or "false", of type "Boolean"
    /// unless `untyped` is set. Returns it (borrowed from this node).
    AbstractProperty* addNamedBool(std::string_view name, bool value, bool untyped);
    /// Removes the child stored under `name` from the name table and its first
    /// occurrence from the ordered children. When no child has that name in
    /// the table, the first ordered child whose own name equals `name` is
    /// removed instead.
    void removeChild(std::string_view name);
    /// Removes every child.
    void clear();

    /// The child stored under `name`, borrowed from this node, or null.
    [[nodiscard]] AbstractProperty* getChild(std::string_view name) const;
    /// The child `name` when it is a value, else `DUMMY_VALUE`. Borrowed.
    [[nodiscard]] PropertyValue* getValue(std::string_view name) const;
    /// The child `name` when it is a value, else null: for keys whose absence
    /// keeps a default. Borrowed.
    [[nodiscard]] PropertyValue* findValue(std::string_view name) const;
    /// The child `name` when it is a node, else `DUMMY_NODE`. Borrowed.
    [[nodiscard]] PropertyNode* getNode(std::string_view name) const;
    /// The child `name` when it is a vector, else `DUMMY_VECTOR`. Borrowed.
    [[nodiscard]] PropertyVector* getVector(std::string_view name) const;

    /// The index in `names` of the text of the child value `key` (matched
    /// exactly, case included), or `defaultIndex` when the key is missing or
    /// matches no name.
    [[nodiscard]] int getEnumIndex(std::string_view key, std::span<const std::string_view> names,
                                   int defaultIndex) const;

    /// Every child, untyped values included, in the name table's order (the
    /// order in which they were added; a replaced child moves to the end).
    [[nodiscard]] const std::list<NamedChild>& getChildren() const { return table_; }
    [[nodiscard]] std::size_t getChildCount() const { return table_.size(); }

    /// Hands every child (in the name table's order) to the object factory
    /// under its type name and drops what comes back. The settings tables use
    /// this to file the entries of a "setups" or "properties" group. Children
    /// whose type name has no create function are skipped and logged.
    void createChildren();

    /// Setup expansion: when this node has a child "setup", that child is
    /// removed and every child of the node setup of that name (from the named
    /// settings) that this node does not have is added to it, shared, not
    /// copied. Then every child is resolved. A setup that cannot be found
    /// leaves this node's children unresolved. A setup that would put a node
    /// inside itself (directly or through other setups) is not followed into
    /// the loop: that key is skipped and logged. A node is resolved once:
    /// later calls return at once, so subtrees shared through setups cost
    /// one walk however many nodes take them. Resolution stops, logged, at
    /// kMaxResolveNesting nodes inside one another.
    void resolve() override;

    /// How many nodes resolution follows inside one another: setups may nest
    /// a tree deeper than its file, but never by this much.
    static constexpr std::size_t kMaxResolveNesting = 1024;

private:
    std::list<NamedChild> table_;
    // Keys view the names stored in `table_`, whose nodes never move.
    std::unordered_map<std::string_view, std::list<NamedChild>::iterator> index_;
};

/// The shared stand-in for a node that is missing or of another kind: named
/// "DUMMY_NODE", no type name, always empty, alive for the whole process.
extern PropertyNode* const DUMMY_NODE;

/// `property` as a node, or `DUMMY_NODE` when it is null or of another kind.
[[nodiscard]] PropertyNode* asNode(AbstractProperty* property);

/// Hands `definition` to the object factory under its type name and returns
/// what the create function made (reference count 0), or null. A type name
/// without a create function is skipped and logged (null). Values and vectors
/// are handed over only under the settings type names ("Integer", "Double",
/// "Float", "Boolean", "String", "Text", "Node", "Vector"), whose create
/// functions accept any property; see `propertyOfDefinition`.
[[nodiscard]] BaseObject* createFromDefinition(AbstractProperty* definition);

/// The property a create function was handed by `createFromDefinition`. The
/// factory's create functions take a `PropertyNode*`, but the settings
/// handlers are also given values and vectors; they must read their argument
/// only through this function and test its kind.
[[nodiscard]] AbstractProperty* propertyOfDefinition(PropertyNode* definition);

} // namespace orv
