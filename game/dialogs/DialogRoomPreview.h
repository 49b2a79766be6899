#pragma once

#include "engine/core/RefPtr.h"
#include "game/dialogs/DialogOrvanta.h"

#include <array>
#include <string>

namespace orv {

class Image;
class Label;
class Level;
class Sprite;
struct RoomRecord;

/// The panel the hallway shows while the pointer rests on a room door
/// ("DIALOG_ROOM_PREVIEW"): a small picture of the room's layout, its game
/// type, its silver and gold goals and the current player's record for the
/// room. It grows in about its middle, then fades its parts in; it fades
/// them out and shrinks away when asked to go. It never takes input: clicks
/// and moves pass through to the doors under it.
///
/// The hallway shows it once per visit (it then waits at scale 0) and drives
/// it with `setStatistics`, `openPreview` and `closePreview`:
///
///     preview->setStatistics(level.get());   // the room under the pointer
///     preview->openPreview();                // grows in (or turns a fade back)
///     ...
///     preview->closePreview();               // fades out and shrinks
///
/// Times are milliseconds of `INFO_DIALOGS_ANIM_TIME`. Main thread only.
class DialogRoomPreview : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Where the preview stands.
    enum class State : int {
        Hidden = 0,    ///< at scale 0
        Growing = 1,   ///< scaling in, then the parts fading in
        Shown = 3,     ///< fully shown
        FadingOut = 4, ///< the parts fading out
        Shrinking = 5, ///< scaling out
    };

    /// The parts shown, in the order they are kept.
    static constexpr std::array<const char*, 8> kPartNames{
        "SPRITE_PREVIEW",       "LABEL_GAMETYPE",    "LABEL_BESTSCORE", "LABEL_BESTTIME",
        "LABEL_TIMESCOMPLETED", "LABEL_TIMESPLAYED", "LABEL_GOLD",      "LABEL_SILVER"};

    explicit DialogRoomPreview(PropertyNode* definition);
    DialogRoomPreview(const DialogRoomPreview&) = delete;
    DialogRoomPreview& operator=(const DialogRoomPreview&) = delete;
    ~DialogRoomPreview() override;

    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Fills the panel for `level` (a hallway room; a reference is kept
    /// while it is shown, null empties the panel): the layout picture, the
    /// game type, the goals, and the current player's record of the room
    /// (none without a current player).
    void setStatistics(Level* level);
    /// Fills the record labels from `record`: "-" for a best score or best
    /// time of 0, the counts in decimal.
    void setRecord(const RoomRecord& record);

    /// The scene's show slot: the base's opening, then the panel made ready
    /// at scale 0, invisible, drawn from its buffer about its middle, its
    /// parts transparent. Input stays off and nothing is swallowed.
    void open() override;
    /// Starts showing: nothing while growing or shown; while the parts fade
    /// out they turn back at once; otherwise the opening sound and the
    /// growth, then the parts fade in.
    void openPreview();
    /// Starts hiding: nothing while fading out, shrinking or hidden; while
    /// growing it shrinks at once; when shown the closing sound, the parts
    /// fade out, then it shrinks.
    void closePreview();

    /// The preview never handles the pointer.
    bool onMouseMove(int x, int y, int flags) override;
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onLeftButtonUp(int x, int y, int flags) override;

    [[nodiscard]] State getState() const { return state_; }
    [[nodiscard]] Level* getLevel() const { return level_.get(); }
    /// The part named `kPartNames[index]`, found at the last opening (null
    /// before it or when the definition lacks it).
    [[nodiscard]] Sprite* getPart(std::size_t index) const { return parts_.at(index); }

private:
    void findParts();
    void fadePartsIn();
    void shrink();
    void setLabel(const char* name, const std::wstring& text);
    static int onGrown(void* dialog, void* modifier);
    static int onPartsIn(void* dialog, void* modifier);
    static int onPartsOut(void* dialog, void* modifier);
    static int onShrunk(void* dialog, void* modifier);

    std::array<Sprite*, kPartNames.size()> parts_{};
    RefPtr<Level> level_;
    RefPtr<Image> layoutPicture_;
    State state_ = State::Hidden;
};

/// The name of game type `gameType` (0 Classic to 5 Speed) as the vector
/// setting "GAMETYPE_HEADERS" gives it; empty for a number it lacks.
[[nodiscard]] std::wstring gameTypeHeader(int gameType);

} // namespace orv
