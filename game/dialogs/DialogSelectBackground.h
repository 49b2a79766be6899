#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "game/dialogs/DialogOrvanta.h"

#include <array>
#include <cstdint>
#include <string>

namespace orv {

class Button;
class Image;
class Label;
class OrvantaPlayer;
class Sprite;

/// The chooser of the playing screen's background (11, numbered 0 to 10) and
/// tile set (4, numbered 0 to 3), "DIALOG_SELECT_BACKGROUND", opened from the
/// hallway. Each side has previous and next buttons, a preview, a name and a
/// position count; a choice not unlocked yet shows greyed under a lock (and
/// OK is disabled meanwhile), a choice unlocked since the player last looked
/// carries a blinking NEW.
///
/// The locks follow the current player's `unlockedStuff` entries: 6 for
/// backgrounds 3 to 6, 16 for backgrounds 7 to 10, 2, 9 and 14 for tile sets
/// 1, 2 and 3 (0 locked, 1 newly unlocked, 2 shown). OK stores both choices
/// in the profile; OK and Cancel mark every NEW that was shown as seen.
///
///     Dialog* chooser = hallway->getDialog("DIALOG_SELECT_BACKGROUND");
///     hallway->showDialog(chooser);
///
/// The previews are copies: greying a locked one leaves the shared resource
/// image as it was. Main thread only.
class DialogSelectBackground : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kBackgrounds = 11;
    static constexpr int kTileSets = 4;
    /// The greyed part of a locked preview, in the preview's pixels.
    static constexpr int kBackgroundGreyX = 4;
    static constexpr int kBackgroundGreyY = 5;
    static constexpr int kBackgroundGreyWidth = 163;
    static constexpr int kBackgroundGreyHeight = 218;
    static constexpr int kTileSetGreyX = 17;
    static constexpr int kTileSetGreyY = 16;
    static constexpr int kTileSetGreyWidth = 60;
    static constexpr int kTileSetGreyHeight = 196;

    /// The components of the definition, the six buttons bound, the NEW
    /// markers blinking; shows the current player's choices (0 without a
    /// player; a choice out of range reads as 0).
    explicit DialogSelectBackground(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Moves the background choice by `step`; nothing when it would leave 0
    /// to 10.
    void stepBackground(int step);
    /// Moves the tile-set choice by `step`; nothing when it would leave 0 to 3.
    void stepTileSet(int step);
    /// Whether background `index` (tile set `index`) is still locked for
    /// `unlocked` (a player's `unlockedStuff`).
    [[nodiscard]] static bool isBackgroundLocked(int index, const std::array<int, 20>& unlocked);
    [[nodiscard]] static bool isTileSetLocked(int index, const std::array<int, 20>& unlocked);

    /// What a preview shows of the shared resource image `shared`: the image
    /// itself, or when `locked` a copy greyed in the rectangle `grey`
    /// (clipped to the image); the shared image is never changed.
    [[nodiscard]] static RefPtr<Image> previewPicture(Image& shared, bool locked, const Rect& grey);

    /// The buttons' callbacks (context: the dialog).
    static int onOk(void* dialog, void* button);
    static int onCancel(void* dialog, void* button);
    static int onNextBackground(void* dialog, void* button);
    static int onPrevBackground(void* dialog, void* button);
    static int onNextTileSet(void* dialog, void* button);
    static int onPrevTileSet(void* dialog, void* button);

    [[nodiscard]] int getBackgroundIndex() const { return background_; }
    [[nodiscard]] int getTileSetIndex() const { return tileSet_; }
    /// The five seen flags: backgrounds 3-6, 7-10, tile sets 1, 2, 3.
    [[nodiscard]] const std::array<bool, 5>& getSeen() const { return seen_; }

private:
    void markSeen();
    void refreshButtons();
    void refreshLabels();
    // The preview `sprite` shows image `name` of section "default" as
    // `previewPicture` makes it.
    static void showPreview(Sprite* sprite, const std::string& name, bool locked, const Rect& grey);

    Sprite* backgroundPreview_ = nullptr;
    Sprite* tileSetPreview_ = nullptr;
    Button* nextBackground_ = nullptr;
    Button* prevBackground_ = nullptr;
    Button* nextTileSet_ = nullptr;
    Button* prevTileSet_ = nullptr;
    Button* ok_ = nullptr;
    Label* backgroundLabel_ = nullptr;
    Label* tileSetLabel_ = nullptr;
    Label* backgroundCount_ = nullptr;
    Label* tileSetCount_ = nullptr;
    Sprite* backgroundLock_ = nullptr;
    Sprite* tileSetLock_ = nullptr;
    Sprite* newBackground_ = nullptr;
    Sprite* newTileSet_ = nullptr;
    std::int32_t background_ = 0;
    std::int32_t tileSet_ = 0;
    std::array<bool, 5> seen_{};
};

} // namespace orv
