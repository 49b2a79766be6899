#pragma once

#include "engine/core/RefPtr.h"
#include "engine/properties/AbstractProperty.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace orv {

/// An ordered list of properties (type name "Vector"): the elements of a
/// "Vector" element of a property file, in document order. Elements may have
/// names, and several may share one; the vector keeps every one.
///
///     for (std::size_t i = 0; i < levels->size(); ++i) {
///         PropertyNode* level = asNode(levels->at(i)); // DUMMY_NODE when not a node
///     }
class PropertyVector : public AbstractProperty {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit PropertyVector(std::string_view name);

    /// Appends `child` (which must not be null) and takes one reference to it.
    /// Returns `child`. On `DUMMY_VECTOR` nothing is stored and no reference
    /// taken: the caller keeps a new child it has not referenced.
    virtual AbstractProperty* add(AbstractProperty* child);
    /// Adds an unnamed "Boolean" value with the text "true" or "false" through
    /// `add` and returns it (borrowed from this vector).
    AbstractProperty* addBool(bool value);

    /// The element at `index`, borrowed from this vector, or null when the
    /// index is out of range (negative indices included).
    [[nodiscard]] AbstractProperty* at(std::ptrdiff_t index) const;
    [[nodiscard]] std::size_t size() const { return elements_.size(); }
    [[nodiscard]] std::span<const RefPtr<AbstractProperty>> getElements() const {
        return elements_;
    }

    /// Resolves every element, in order, the first time; later calls return
    /// at once (a tree shares subtrees, which must not be walked again for
    /// every path that leads to them).
    void resolve() override;

protected:
    PropertyVector(PropertyKind kind, std::string_view name, std::string_view typeName)
        : AbstractProperty(kind, name, typeName) {}

    std::vector<RefPtr<AbstractProperty>> elements_;
    /// Set once the property and everything below it has been resolved.
    bool resolved_ = false;
};

/// The shared stand-in for a vector that is missing or of another kind: named
/// "DUMMY_VECTOR", always empty, alive for the whole process.
extern PropertyVector* const DUMMY_VECTOR;

/// `property` as a vector, or `DUMMY_VECTOR` when it is null or of another
/// kind.
[[nodiscard]] PropertyVector* asVector(AbstractProperty* property);

} // namespace orv
