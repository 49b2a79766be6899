#pragma once

#include "engine/properties/ConstantsHook.h"

#include <span>
#include <string_view>

namespace orv {

/// Copies the game's tuning constants (timings, sizes, colours, alphas,
/// counts and thresholds) from the Integer settings of the property files into
/// process-wide integers that game code reads directly.
///
/// Start-up installs one as the definition store's constants hook, so the
/// integers follow the last load. A name no property file defines reads 0, and
/// after a copy the Integer table holds every name of the list.
///
///     getDefinitionStore().setConstantsHook(new GameConstants());
///     getDefinitionStore().load();
///     int width = TILE_WIDTH;
class GameConstants : public ConstantsHook {
public:
    /// Copies every constant, in the list's order, from the Integer table of
    /// the settings (inserting 0 for a missing name). Does nothing before the
    /// settings exist.
    void apply() override;

    /// The names of the constants, in the order of copying.
    [[nodiscard]] static std::span<const std::string_view> getNames();
};

// The constants. Only `GameConstants::apply` writes them; 0 before the first
// copy. Each is the Integer setting of the same name.
extern const int& HINT_AUTO_CLOSE_TIME;
extern const int& TILE_LAYER_OFFSETX;
extern const int& TILE_LAYER_OFFSETY;
extern const int& TROPHY_HEADER_DISAPPEAR;
extern const int& BRASTOW_TIP_MINIMAL_TIME_APPEAR;
extern const int& TILE_HINT_MAX_ALPHA;
extern const int& PREVIEW_TILE_FACE_HEIGHT;
extern const int& BONUS_ANIM_SHINE_MSPF;
extern const int& LABEL_APPEAR_TIME;
extern const int& NUM_BRASTOW_STATS;
extern const int& PATH_ANIM_DELAY_MUL;
extern const int& SIDEBOARD_SPEED_EXTRA_X;
extern const int& SIDEBOARD_SPEED_EXTRA_Y;
extern const int& BONUS_ANIM_BONUS_DELAY;
extern const int& BONUS_ANIM_SHINE_ALPHA;
extern const int& PREVIEW_TILE_FACE_WIDTH;
extern const int& TIME_BONUS;
extern const int& TROPHY_SPEEDFREAK_TIME;
extern const int& LEVEL_INFO_DISAPPEAR;
extern const int& BRASTOW_TIP_FREQUENCY;
extern const int& TROPHY_HEADER_APPEAR;
extern const int& MIN_NUM_HINTS;
extern const int& HINT_CLICK_TIME_RIVER;
extern const int& MULTIPLIER_MINIMUM;
extern const int& RENDERER_TILE_SIDE_HEIGHT;
extern const int& STAR_WIDTH;
extern const int& BONUS_ANIM_EXPLOSION_TIME;
extern const int& DIALOG_FADE_TIME;
extern const int& HINT_ENTER_FROM_OPEN;
extern const int& MAX_NUM_HINTS;
extern const int& PATH_APPEAR_DELAY;
extern const int& PREVIEW_HEIGHT;
extern const int& DIALOG_APPEAR_TIME;
extern const int& DIALOG_BACKGROUND_ALPHA;
extern const int& FLOOR_COMPLETE_JINGLE_DELAY;
extern const int& GOODIE_WIGGLE_ANGLE;
extern const int& HINT_CLOCK_TIME_PENALTY;
extern const int& LAYER_OFFSETX;
extern const int& SMALL_STAR_APPEAR_TIME;
extern const int& TILE_FACE_WIDTH;
extern const int& TILE_FLASH_COLOR;
extern const int& TILE_HINT_HOVER_COLOR;
extern const int& LAYER_OFFSETY;
extern const int& MAX_FIRST_RADIUS;
extern const int& RENDERER_TILE_FACE_WIDTH;
extern const int& TILE_SHADOW_OFFSETX;
extern const int& TILE_SHADOW_OFFSETY;
extern const int& BONUS_ANIM_FLASH_MSPF;
extern const int& STAR_MOVE_TIME;
extern const int& TILE_FACE_HEIGHT;
extern const int& TILE_HINT_COLOR;
extern const int& TILE_FACE_OFFSETX;
extern const int& TILE_FACE_OFFSETY;
extern const int& BONUS_ANIM_FLY_TIME;
extern const int& BONUS_ANIM_SCALE_DELAY;
extern const int& DIALOG_ZOOM_HIDE_DELAY;
extern const int& TIME_ALMOST_UP_SOUND;
extern const int& LEVELSTART_TIMES;
extern const int& PREVIEW_WIDTH;
extern const int& BONUS_ANIM_STAR_INTERVAL;
extern const int& LEVEL_INFO_DELAY;
extern const int& SIDEBOARD_PADDING_X;
extern const int& SIDEBOARD_PADDING_Y;
extern const int& TILE_FADEOUT_TIME;
extern const int& SIDEBOARD_HEIGHT_PER_TILE;
extern const int& SIDEBOARD_WIDTH_PER_TILE;
extern const int& BRASTOW_STAT_FREQUENCY;
extern const int& NUM_BRASTOW_TIPS;
extern const int& PREVIEW_SCROLL_DURATION;
extern const int& TILE_SUPER_HINT_COLOR;
extern const int& INFO_DIALOGS_ANIM_TIME;
extern const int& BRASTOW_TIP_FIRST_DELAY;
extern const int& DOOR_ANIM_DELAY;
extern const int& GOODIE_APPEAR_TIME;
extern const int& PANEL_PADDING;
extern const int& PREVIEW_LAYER_OFFSETX;
extern const int& PREVIEW_LAYER_OFFSETY;
extern const int& RENDERER_SHADOW_OFFSETX;
extern const int& RENDERER_SHADOW_OFFSETY;
extern const int& TILE_BLOCKED_MAX_ALPHA;
extern const int& TILE_HEIGHT;
extern const int& TILE_HOVER_ALPHA;
extern const int& TILE_SUPER_HINT_ALPHA;
extern const int& TROPHY_COMBO_FRENZY_MULTIPLIER;
extern const int& BONUS_ANIM_FLASH_COUNT;
extern const int& BUILD_LAYOUT_DURATION;
extern const int& TILE_FLIGHT_TIME;
extern const int& TROPHY_DIALOG_TIME;
extern const int& BONUS_ANIM_SHINE_FADE_TIME;
extern const int& DIALOG_ZOOM_SCROLL_TIME;
extern const int& MIN_SECOND_RADIUS;
extern const int& NUM_BRASTOW_UNLOCK_TEXT;
extern const int& RENDERER_TILE_LAYER_OFFSETX;
extern const int& RENDERER_TILE_LAYER_OFFSETY;
extern const int& TILE_DARKEN_COLOR;
extern const int& TILE_HINT_MIN_ALPHA;
extern const int& TROPHY_STAR_COUNT;
extern const int& BUTTON_OK_APPEAR_TIME;
extern const int& DIALOG_ZOOM_APPEAR_TIME;
extern const int& MIN_NUM_SHUFFLES;
extern const int& MULTIPLIER_PERCENTAGE;
extern const int& PREVIEW_SCALE;
extern const int& SIDEBOARD_FREECELL_PADDING_X;
extern const int& SIDEBOARD_FREECELL_PADDING_Y;
extern const int& SUPER_HINT_DURATION;
extern const int& TEAR_DOWN_LAYOUT_DURATION;
extern const int& BONUS_ANIM_SHINE_TIME;
extern const int& RENDERER_TILE_SIDE_WIDTH;
extern const int& SMALL_STAR_Y;
extern const int& TILE_DARKEN_ALPHA;
extern const int& RENDERER_TILE_FACE_HEIGHT;
extern const int& STARS_LEFT_PADDING;
extern const int& TILE_SELECT_COLOR;
extern const int& ELEVATOR_OPENING_SIZE;
extern const int& HINT_TIME_PENALTY;
extern const int& TILE_WIDTH;
extern const int& DIALOG_ZOOM_DISAPPEAR_TIME;
extern const int& HINT_CLICK_TIME_SEASONFLOWERS;
extern const int& NUM_BRASTOW_MISCELLANEOUS;
extern const int& TILE_BLOCKED_MIN_ALPHA;
extern const int& TILE_SELECT_ALPHA;
extern const int& TROPHY_CLOSE_CALL_MILLISECONDS;
extern const int& TROPHY_PLENTY_OF_TIME_PERCENTAGE;
extern const int& PATH_ANIM_FADE_TIME;
extern const int& SIDEBOARD_LOCATIONX;
extern const int& SIDEBOARD_LOCATIONY;
extern const int& TILE_BLOCKED_COLOR;
extern const int& TILE_HOVER_COLOR;
extern const int& TIMEBAR_ANIMATION_DURATION;
extern const int& LEVEL_INFO_APPEAR;
extern const int& TEAR_DOWN_LAYOUT_MIN_DURATION;
extern const int& TILE_FLASH_MAX_ALPHA;
extern const int& TIME_ALMOST_UP_ANIM;
extern const int& TROPHY_INFO_SHOW_TIME;
extern const int& MAX_SECOND_RADIUS;
extern const int& MIN_FIRST_RADIUS;
extern const int& PREVIEW_SCALE_RECROOM;
extern const int& STAR_Y;
extern const int& MAX_NUM_SHUFFLES;
extern const int& GOODIE_WIGGLE_TIME;
extern const int& TILE_SIDEBOARD_FADE_TIME;

} // namespace orv
