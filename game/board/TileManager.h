#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "game/board/TileDef.h"
#include "game/board/TileSuit.h"

#include <vector>

namespace orv {

class PropertyVector;

/// The suit numbers with a fixed role: 0 to 4 are the ordinary suits of a
/// deal, 5 and 6 the two bonus suits, 7 a tile without a suit yet.
inline constexpr int kOrdinarySuits = 5;
inline constexpr int kFirstBonusSuit = 5;
inline constexpr int kSecondBonusSuit = 6;
inline constexpr int kNoSuit = 7;

/// The process-wide list of suit definitions and the distribution of faces
/// for a new board.
///
/// Start-up creates it once the settings are loaded, from the vector setting
/// "suitDefs" (one "Suit" element per suit, numbered by position); tests
/// build one from a vector of their own.
///
///     TileManager::create();
///     std::vector<TileDef> faces;
///     TileManager::get()->distribute(144, 2, 4, kOrdinarySuits, faces);
class TileManager : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Builds the suit list from `suitDefs`: every element is created through
    /// the object factory by its type name; an element that does not make a
    /// `TileSuit` is logged and skipped. Null reads as an empty list.
    explicit TileManager(PropertyVector* suitDefs);

    /// Replaces the process-wide manager with one built from the vector
    /// setting "suitDefs" and returns it; the global holds one reference.
    static TileManager& create();
    /// Replaces the process-wide manager with `manager` (tests); null clears it.
    static void setInstance(TileManager* manager);
    /// The process-wide manager, or null before `create`. Borrowed.
    [[nodiscard]] static TileManager* get();
    static void destroyInstance();

    [[nodiscard]] int getSuitCount() const { return static_cast<int>(suits_.size()); }
    /// The suit numbered `number`, or null when there is none. Borrowed.
    [[nodiscard]] const TileSuit* getSuit(int number) const;
    /// The match type of suit `number`; `Exact` for a suit that does not exist.
    [[nodiscard]] MatchType matchTypeOf(int number) const;
    /// Whether (suit, idx) names a face of an existing suit.
    [[nodiscard]] bool isValidFace(int suit, int idx) const;

    /// Appends the faces for a board of `tileCount` tiles to `out`, in groups
    /// of `groupSize` equal faces, with `bonusCount` bonus tiles per cycle and
    /// the first `ordinarySuits` suits as the ordinary ones. Picks draw from
    /// the process-wide `RandomGenerator`.
    ///
    /// A full cycle holds every ordinary face 2 x groupSize times plus the
    /// bonus tiles; what is left over is filled with distinct faces picked at
    /// random, each `groupSize` times. A count that cannot be filled that way
    /// appends fewer faces than tiles (the leftover gets none): callers must
    /// compare the number of faces with their tile count.
    void distribute(int tileCount, int groupSize, int bonusCount, int ordinarySuits,
                    std::vector<TileDef>& out) const;

private:
    void appendSuit(int suit, std::vector<TileDef>& out) const;
    void bonusStep(int& remaining, int cycleSize, int bonusCount, std::vector<TileDef>& out) const;
    void remainderStep(int& remaining, int groupSize, int bonusCount, int ordinarySuits,
                       int ordinaryTotal, std::vector<TileDef>& out) const;
    [[nodiscard]] int sizeOf(int suit) const;

    std::vector<RefPtr<TileSuit>> suits_;
};

} // namespace orv
