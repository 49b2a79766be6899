#pragma once

#include "engine/core/BaseObject.h"

#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// A named player that can write its identity into the players list. The
/// game's profile (`OrvantaPlayer`) derives from it and fills `save` and
/// `load`.
class AbstractPlayer : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A player called by the text of the node's "name" (empty when missing).
    explicit AbstractPlayer(const PropertyNode& node);
    /// A player called `name` (UTF-8).
    explicit AbstractPlayer(std::string_view name);

    /// Adds "name", String, to `node`; nothing on the dummy node.
    virtual void writeIdentity(PropertyNode& node) const;
    /// Writes the profile's contents into `node`; nothing here.
    virtual void save(PropertyNode& node) const;
    /// Reads the profile's contents from `node`; nothing here.
    virtual void load(const PropertyNode& node);

    [[nodiscard]] const std::string& getName() const { return name_; }

private:
    std::string name_;
};

} // namespace orv
