#pragma once

#include "engine/core/BaseObject.h"

#include <map>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// Builds a new object of one class from its definition node. The result has
/// a reference count of 0 (the caller takes the first reference), or is null
/// when the definition is not meant to become an object (the settings tables
/// file their values and return null).
using CreateFunction = BaseObject* (*)(PropertyNode* definition);

/// The process-wide map from class name to create function through which
/// objects described in property files are built.
///
/// Each library registers its creatable classes in one registration function
/// (`registerPropertyClasses`, ...) that start-up calls before anything is
/// loaded; tests call the ones they need.
///
///     ObjectFactoryContainer::get().registerCreator("Sprite", &Sprite::createFromDefinition);
///     RefPtr<BaseObject> object = ObjectFactoryContainer::get().createObject("Sprite", node);
class ObjectFactoryContainer : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Creates the singleton when it does not exist yet (with one reference of
    /// its own) and returns it.
    static ObjectFactoryContainer& get();
    /// Drops the singleton's reference; the next `get` starts empty. Called in
    /// the exit sequence.
    static void destroyInstance();

    /// Stores `function` under `className`, replacing an earlier entry. A null
    /// function is refused (logged), so `createObject` never calls one.
    void registerCreator(std::string_view className, CreateFunction function);
    [[nodiscard]] bool hasCreator(std::string_view className) const;

    /// Builds an object of the class registered under `typeName` from
    /// `definition`. The result carries no reference. A name without a create
    /// function is a fault of the data: it is logged and null is returned, and
    /// every caller skips such a definition.
    [[nodiscard]] BaseObject* createObject(std::string_view typeName, PropertyNode* definition);

private:
    ObjectFactoryContainer() = default;

    std::map<std::string, CreateFunction, std::less<>> creators_;
};

} // namespace orv
