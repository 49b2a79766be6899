#pragma once

#include <array>
#include <span>
#include <string_view>

namespace orv {

/// The static run-time type record of a registered class: its name and the
/// records of its direct parents, in declaration order.
///
/// Records are constant-initialised, so they may be used from any static
/// initialiser. Type tests follow the records, not the C++ class graph: the
/// two differ on purpose in a few places (see BaseObject.h).
///
///     const ClassRecord Sprite::classRecord{
///         "Sprite", parentRecords<GameNode::classRecord, IRenderable::classRecord>};
///     if (object->getClassRecord().isKindOf(GameNode::classRecord)) ...
class ClassRecord {
public:
    constexpr ClassRecord(std::string_view name, std::span<const ClassRecord* const> parents = {})
        : name_(name), parents_(parents) {}

    ClassRecord(const ClassRecord&) = delete;
    ClassRecord& operator=(const ClassRecord&) = delete;

    /// The class name exactly as registered ("GameNode", "Sprite").
    [[nodiscard]] constexpr std::string_view getName() const { return name_; }
    [[nodiscard]] constexpr std::span<const ClassRecord* const> getParents() const {
        return parents_;
    }

    /// True when this record is `other` or when one of its parents is kind of
    /// `other`, searched depth first in declaration order.
    [[nodiscard]] bool isKindOf(const ClassRecord& other) const;

private:
    std::string_view name_;
    std::span<const ClassRecord* const> parents_;
};

/// The parent list of a class record, built at compile time:
/// `parentRecords<BaseObject::classRecord>`.
template <const ClassRecord&... Parents>
inline constexpr std::array<const ClassRecord*, sizeof...(Parents)> parentRecords{&Parents...};

} // namespace orv
