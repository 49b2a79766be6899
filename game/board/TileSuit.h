#pragma once

#include "engine/core/BaseObject.h"

#include <string>

namespace orv {

class PropertyNode;

/// How the tiles of a suit match: `Exact` when suit and value agree, `Suit`
/// when any two tiles of the suit match (the bonus suits).
enum class MatchType : int { Exact = 0, Suit = 1 };

/// The definition of one suit, read from an element of the "suitDefs"
/// setting (factory name "Suit"): how many values it has and how its tiles
/// match. The other keys are kept for the drawing of the faces.
///
///     <Suit size="4" matchType="suit" faceXIdx="0" faceYIdx="3"/>
class TileSuit : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Reads "size", "numAppears", "image", "matchType" ("exact" or "suit";
    /// anything else is `Exact`), "faceXIdx" and "faceYIdx"; missing keys
    /// read 0 or empty. A null definition reads as the empty dummy node.
    explicit TileSuit(PropertyNode* definition);
    /// The object factory's create function for "Suit".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The suit's position in the tile manager's list; -1 until it is listed.
    [[nodiscard]] int getNumber() const { return number_; }
    void setNumber(int number) { number_ = number; }
    /// Number of values: the suit's tiles have values 0 to size - 1.
    [[nodiscard]] int getSize() const { return size_; }
    [[nodiscard]] int getNumAppears() const { return numAppears_; }
    [[nodiscard]] const std::string& getImage() const { return image_; }
    [[nodiscard]] MatchType getMatchType() const { return matchType_; }
    [[nodiscard]] int getFaceXIdx() const { return faceXIdx_; }
    [[nodiscard]] int getFaceYIdx() const { return faceYIdx_; }

private:
    int number_ = -1;
    int size_ = 0;
    int numAppears_ = 0;
    std::string image_;
    MatchType matchType_ = MatchType::Exact;
    int faceXIdx_ = 0;
    int faceYIdx_ = 0;
};

} // namespace orv
