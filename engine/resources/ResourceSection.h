#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/ResourceObject.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;
class ResourceManager;

/// One section of the resource definitions: a name, whether it loads in the
/// background by itself ("auto"), and its objects by name. The manager loads
/// and unloads whole sections; objects are found by section and name.
///
/// A section node of the definitions looks like
///
///     <Section name="lobby" auto="false">
///         <Image id="BACKGROUND" file="media/lobby/back.jpg"/>
///         <Sound id="SOUND_DOOR" file="media/sounds/door.ogg" archive="zip"/>
///     </Section>
///
/// Every node child is an object whose element name chooses its kind through
/// the object factory and whose id is its name; value children are skipped.
///
/// Like the manager's other data, a section is read and changed only under
/// the manager's data lock.
class ResourceSection : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    using ObjectMap = std::map<std::string, RefPtr<ResourceObject>, std::less<>>;

    /// An empty section called `name`.
    explicit ResourceSection(std::string_view name, bool autoLoad = false);
    /// Reads "name" and "auto" from `definition` (null or `DUMMY_NODE` give an
    /// unnamed empty section) and builds its objects. When `manager`
    /// (borrowed for the call; may be null) already holds an object that
    /// `sameFile` matches, that object is stored instead of the new one, so a
    /// file named by several sections is loaded once. A child whose type name
    /// the factory does not know, or that does not make a resource object, is
    /// skipped and logged.
    ResourceSection(PropertyNode* definition, ResourceManager* manager);

    /// Stores `object` (not null) under `name`, releasing an object stored
    /// there before. Takes a reference.
    void addObject(std::string_view name, ResourceObject* object);
    /// The object called `name`, borrowed from this section, or null.
    [[nodiscard]] ResourceObject* findObject(std::string_view name) const;
    /// Every object by name, in name order (the order the loader serves them).
    [[nodiscard]] const ObjectMap& getObjects() const { return objects_; }

    /// True when at least one object is not loaded.
    [[nodiscard]] bool hasUnloadedObject() const;
    /// The first object in name order that is not loaded, borrowed; null when
    /// every object is loaded.
    [[nodiscard]] ResourceObject* firstUnloadedObject() const;
    /// The summed size of every object (what a request counts).
    [[nodiscard]] int getTotalSize() const;
    /// The summed loaded size of every object.
    [[nodiscard]] int getLoadedSize() const;

    [[nodiscard]] const std::string& getName() const { return name_; }
    [[nodiscard]] bool isAutoLoad() const { return autoLoad_; }
    /// Set once the section has been requested or queued for loading.
    [[nodiscard]] bool isStarted() const { return started_; }
    void setStarted(bool started) { started_ = started; }

    /// The `BaseObject` dump, then "Auto Load: <yes|no>; Has Started:
    /// <yes|no>; Name: <name>;\n\tObjects:" and for each object "\n\t\t" and
    /// its dump.
    [[nodiscard]] std::string toString() const override;

private:
    ObjectMap objects_;
    std::string name_;
    bool autoLoad_ = false;
    bool started_ = false;
};

} // namespace orv
