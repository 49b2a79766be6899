#pragma once

#include "engine/core/BaseObject.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

/// What a property is. The numbers are part of the saved format's meaning and
/// never change.
enum class PropertyKind : std::int32_t {
    Abstract = 0,
    Value = 1,
    Node = 2,
    Vector = 3,
};

/// Common part of the three kinds of property: a value (`PropertyValue`), a
/// node of named children (`PropertyNode`) and an ordered list
/// (`PropertyVector`).
///
/// Every property has a type name and a name. For a value the type name is
/// its type ("Integer", "Double", "Float", "Boolean", "String", "Text", or
/// empty for an untyped value such as an XML attribute); for a node it is the
/// element name of its definition, normally a class or factory name
/// ("Sprite", "Level"); "Vector" for a vector and "root" for a store. The name
/// is the property's key inside its parent (the "id" attribute in XML) and may
/// be empty.
///
/// The class record "AbstractProperty" is a root of the registry: type tests
/// over the records say a property is not kind of `BaseObject`, although it
/// carries the reference count and operations of one.
class AbstractProperty : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    [[nodiscard]] PropertyKind getKind() const { return kind_; }
    [[nodiscard]] bool isValue() const { return kind_ == PropertyKind::Value; }
    [[nodiscard]] bool isNode() const { return kind_ == PropertyKind::Node; }
    [[nodiscard]] bool isVector() const { return kind_ == PropertyKind::Vector; }

    [[nodiscard]] const std::string& getTypeName() const { return typeName_; }
    void setTypeName(std::string_view typeName) { typeName_ = typeName; }
    [[nodiscard]] const std::string& getName() const { return name_; }
    /// Renames the property. A parent node keeps it under the name it had when
    /// it was added.
    void setName(std::string_view name) { name_ = name; }

    /// Expands "setup" references of the definition trees below this property
    /// from the node setups of the named settings. Values do nothing.
    virtual void resolve() {}

protected:
    AbstractProperty(PropertyKind kind, std::string_view name, std::string_view typeName)
        : kind_(kind), typeName_(typeName), name_(name) {}

private:
    PropertyKind kind_;
    std::string typeName_;
    std::string name_;
};

} // namespace orv
