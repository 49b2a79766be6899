#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PropertyNode;

/// A trophy's state in a player's profile. The numbers are stored in the
/// profile file and never change.
namespace TrophyState {
inline constexpr int kNotEarned = 0;
/// Earned; the trophy room presents it when it next opens.
inline constexpr int kEarned = 1;
/// Being presented by the open trophy room.
inline constexpr int kPresenting = 2;
inline constexpr int kSeen = 3;
/// Earned during a level and held back until its place presents it.
inline constexpr int kHeldBack = 4;
} // namespace TrophyState

/// One picture and text of a trophy: entry 0 is its place on the shelf,
/// entry 1 the texts of its award.
struct TrophyInfoEntry {
    int x = 0; ///< screen pixels of the trophy room
    int y = 0;
    std::string image;   ///< resource identifier
    std::string textId;  ///< text identifier of the title
    std::string section; ///< resource section of the picture
    std::string headerId;
};

/// One trophy: its definition and the player's state of it.
class TrophyInfo : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A trophy without entries (for a definition the file lacks).
    TrophyInfo() = default;
    /// Reads the "trophyinfos" of one "TROPHIES" element; an entry without
    /// "section" takes `defaultSection`, one without "x" or "y" takes 0.
    TrophyInfo(const PropertyNode& definition, std::string_view defaultSection);

    /// The entry at `index`; an empty entry (no picture, no texts) when the
    /// definition has none there, so a short definition never breaks a reader.
    [[nodiscard]] virtual const TrophyInfoEntry& entry(std::size_t index) const;

    std::vector<TrophyInfoEntry> entries;
    int state = TrophyState::kNotEarned;
};

/// The game's trophies in a player's profile: their definitions from the
/// definition file and the player's state of each, addressed by index 0-19.
///
///     RefPtr<TrophyList> trophies(new TrophyList());
///     if (trophies->award(12)) { ... show it ... }
///     trophies->save(*profileNode);    // "trophyVector"
class TrophyList : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// How many trophies the game has, whatever the definition file holds.
    static constexpr std::size_t kTrophyCount = 20;
    static constexpr std::string_view kDefinitionFile = "media/properties/trophies.xml";

    /// Takes the definitions from the definition file (in the archive's
    /// global mode); every state 0. The file is read once and its
    /// definitions kept for the next lists, until the definition file is set
    /// or the archive is set up again. A missing or short file still gives
    /// kTrophyCount trophies (those it lacks have no entries); extra
    /// definitions are ignored. Both are logged when the file is read.
    TrophyList();

    /// The definition file that new lists read: kDefinitionFile unless set
    /// (tests and tools point it elsewhere; empty restores it). Setting it
    /// forgets the definitions kept, so the next list reads it again.
    static void setDefinitionFile(std::string_view file);
    [[nodiscard]] static const std::string& getDefinitionFile();

    /// The trophies a place holds back for its own presentation: the
    /// hallway's floors (5, 6, 7), the casino's records (10, 11) and the
    /// hallway's stars (14, 15).
    static constexpr std::array<std::size_t, 7> kHeldBackTrophies{5, 6, 7, 10, 11, 14, 15};
    /// The Boolean a saved list carries since held-back trophies are kept
    /// as such (`save`).
    static constexpr std::string_view kHeldBackKeptKey = "heldBackKept";

    /// Adds "trophyVector": one Integer state per trophy in index order
    /// (`savedState`), and kHeldBackKeptKey.
    virtual void save(PropertyNode& node) const;
    /// Reads "trophyVector": the state of trophy i from element i. Elements
    /// beyond the trophies and states outside 0-4 are ignored (logged); a
    /// short vector leaves the other trophies as they are. A held-back
    /// trophy (4) loads as earned (1): its place's presentation ended with
    /// the session that saved it. A list saved without kHeldBackKeptKey
    /// wrote held-back trophies as seen: those of kHeldBackTrophies in state
    /// 3 load as earned, so the trophy room shows them once.
    virtual void load(const PropertyNode& node);

    [[nodiscard]] std::size_t size() const { return trophies.size(); }
    /// The trophy at `index` (0-19; asserted).
    [[nodiscard]] TrophyInfo& get(std::size_t index) const;
    [[nodiscard]] int getState(std::size_t index) const { return get(index).state; }
    void setState(std::size_t index, int state) { get(index).state = state; }

    /// 0 -> 1: true when the trophy was not earned before.
    bool award(std::size_t index);
    /// 0 -> 4: true when the trophy was not earned before.
    bool holdBack(std::size_t index);
    /// 4 -> 1: a held-back trophy is handed to the trophy room.
    void releaseHeldBack(std::size_t index);
    /// Every earned trophy (state 1, 2 or 4) becomes seen (3).
    void markAllSeen();
    /// True when some trophy waits for the trophy room (state 1).
    [[nodiscard]] bool hasNewTrophies() const;

    std::vector<RefPtr<TrophyInfo>> trophies;
    bool saveNotShownAsNew = true;
    std::string section;
};

/// The state a trophy in `state` is saved with: a held-back trophy (4) as
/// it is, any other earned state as seen (3) when `saveNotShownAsNew` is set.
[[nodiscard]] int savedState(int state, bool saveNotShownAsNew);

/// The text of `textId` with every "%1" replaced by the digit-grouping text
/// "CTEXT_DIGIT_GROUPING_SYMBOL" (so "250%1000" reads "250,000" with a comma),
/// blanks and tabs trimmed at both ends.
[[nodiscard]] std::wstring formatTrophyText(std::string_view textId);
/// `formatTrophyText(textId)`, then the first "%2" replaced by the text of
/// `secondId`, or of `secondId` + "_PLUS" when `plus` is set; trimmed again.
[[nodiscard]] std::wstring formatTrophyHeader(std::string_view textId, std::string_view secondId,
                                              bool plus);

} // namespace orv
