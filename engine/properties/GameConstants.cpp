#include "engine/properties/GameConstants.h"

#include "engine/properties/BasicProperties.h"

#include <array>
#include <cstddef>

namespace orv {

namespace {

constexpr std::size_t constantCount = 141;

// The storage of the constants; the names below are read-only views of it.
std::array<int, constantCount> values{};

constexpr std::array<std::string_view, constantCount> kConstantNames{
    "HINT_AUTO_CLOSE_TIME",
    "TILE_LAYER_OFFSETX",
    "TILE_LAYER_OFFSETY",
    "TROPHY_HEADER_DISAPPEAR",
    "BRASTOW_TIP_MINIMAL_TIME_APPEAR",
    "TILE_HINT_MAX_ALPHA",
    "PREVIEW_TILE_FACE_HEIGHT",
    "BONUS_ANIM_SHINE_MSPF",
    "LABEL_APPEAR_TIME",
    "NUM_BRASTOW_STATS",
    "PATH_ANIM_DELAY_MUL",
    "SIDEBOARD_SPEED_EXTRA_X",
    "SIDEBOARD_SPEED_EXTRA_Y",
    "BONUS_ANIM_BONUS_DELAY",
    "BONUS_ANIM_SHINE_ALPHA",
    "PREVIEW_TILE_FACE_WIDTH",
    "TIME_BONUS",
    "TROPHY_SPEEDFREAK_TIME",
    "LEVEL_INFO_DISAPPEAR",
    "BRASTOW_TIP_FREQUENCY",
    "TROPHY_HEADER_APPEAR",
    "MIN_NUM_HINTS",
    "HINT_CLICK_TIME_RIVER",
    "MULTIPLIER_MINIMUM",
    "RENDERER_TILE_SIDE_HEIGHT",
    "STAR_WIDTH",
    "BONUS_ANIM_EXPLOSION_TIME",
    "DIALOG_FADE_TIME",
    "HINT_ENTER_FROM_OPEN",
    "MAX_NUM_HINTS",
    "PATH_APPEAR_DELAY",
    "PREVIEW_HEIGHT",
    "DIALOG_APPEAR_TIME",
    "DIALOG_BACKGROUND_ALPHA",
    "FLOOR_COMPLETE_JINGLE_DELAY",
    "GOODIE_WIGGLE_ANGLE",
    "HINT_CLOCK_TIME_PENALTY",
    "LAYER_OFFSETX",
    "SMALL_STAR_APPEAR_TIME",
    "TILE_FACE_WIDTH",
    "TILE_FLASH_COLOR",
    "TILE_HINT_HOVER_COLOR",
    "LAYER_OFFSETY",
    "MAX_FIRST_RADIUS",
    "RENDERER_TILE_FACE_WIDTH",
    "TILE_SHADOW_OFFSETX",
    "TILE_SHADOW_OFFSETY",
    "BONUS_ANIM_FLASH_MSPF",
    "STAR_MOVE_TIME",
    "TILE_FACE_HEIGHT",
    "TILE_HINT_COLOR",
    "TILE_FACE_OFFSETX",
    "TILE_FACE_OFFSETY",
    "BONUS_ANIM_FLY_TIME",
    "BONUS_ANIM_SCALE_DELAY",
    "DIALOG_ZOOM_HIDE_DELAY",
    "TIME_ALMOST_UP_SOUND",
    "LEVELSTART_TIMES",
    "PREVIEW_WIDTH",
    "BONUS_ANIM_STAR_INTERVAL",
    "LEVEL_INFO_DELAY",
    "SIDEBOARD_PADDING_X",
    "SIDEBOARD_PADDING_Y",
    "TILE_FADEOUT_TIME",
    "SIDEBOARD_HEIGHT_PER_TILE",
    "SIDEBOARD_WIDTH_PER_TILE",
    "BRASTOW_STAT_FREQUENCY",
    "NUM_BRASTOW_TIPS",
    "PREVIEW_SCROLL_DURATION",
    "TILE_SUPER_HINT_COLOR",
    "INFO_DIALOGS_ANIM_TIME",
    "BRASTOW_TIP_FIRST_DELAY",
    "DOOR_ANIM_DELAY",
    "GOODIE_APPEAR_TIME",
    "PANEL_PADDING",
    "PREVIEW_LAYER_OFFSETX",
    "PREVIEW_LAYER_OFFSETY",
    "RENDERER_SHADOW_OFFSETX",
    "RENDERER_SHADOW_OFFSETY",
    "TILE_BLOCKED_MAX_ALPHA",
    "TILE_HEIGHT",
    "TILE_HOVER_ALPHA",
    "TILE_SUPER_HINT_ALPHA",
    "TROPHY_COMBO_FRENZY_MULTIPLIER",
    "BONUS_ANIM_FLASH_COUNT",
    "BUILD_LAYOUT_DURATION",
    "TILE_FLIGHT_TIME",
    "TROPHY_DIALOG_TIME",
    "BONUS_ANIM_SHINE_FADE_TIME",
    "DIALOG_ZOOM_SCROLL_TIME",
    "MIN_SECOND_RADIUS",
    "NUM_BRASTOW_UNLOCK_TEXT",
    "RENDERER_TILE_LAYER_OFFSETX",
    "RENDERER_TILE_LAYER_OFFSETY",
    "TILE_DARKEN_COLOR",
    "TILE_HINT_MIN_ALPHA",
    "TROPHY_STAR_COUNT",
    "BUTTON_OK_APPEAR_TIME",
    "DIALOG_ZOOM_APPEAR_TIME",
    "MIN_NUM_SHUFFLES",
    "MULTIPLIER_PERCENTAGE",
    "PREVIEW_SCALE",
    "SIDEBOARD_FREECELL_PADDING_X",
    "SIDEBOARD_FREECELL_PADDING_Y",
    "SUPER_HINT_DURATION",
    "TEAR_DOWN_LAYOUT_DURATION",
    "BONUS_ANIM_SHINE_TIME",
    "RENDERER_TILE_SIDE_WIDTH",
    "SMALL_STAR_Y",
    "TILE_DARKEN_ALPHA",
    "RENDERER_TILE_FACE_HEIGHT",
    "STARS_LEFT_PADDING",
    "TILE_SELECT_COLOR",
    "ELEVATOR_OPENING_SIZE",
    "HINT_TIME_PENALTY",
    "TILE_WIDTH",
    "DIALOG_ZOOM_DISAPPEAR_TIME",
    "HINT_CLICK_TIME_SEASONFLOWERS",
    "NUM_BRASTOW_MISCELLANEOUS",
    "TILE_BLOCKED_MIN_ALPHA",
    "TILE_SELECT_ALPHA",
    "TROPHY_CLOSE_CALL_MILLISECONDS",
    "TROPHY_PLENTY_OF_TIME_PERCENTAGE",
    "PATH_ANIM_FADE_TIME",
    "SIDEBOARD_LOCATIONX",
    "SIDEBOARD_LOCATIONY",
    "TILE_BLOCKED_COLOR",
    "TILE_HOVER_COLOR",
    "TIMEBAR_ANIMATION_DURATION",
    "LEVEL_INFO_APPEAR",
    "TEAR_DOWN_LAYOUT_MIN_DURATION",
    "TILE_FLASH_MAX_ALPHA",
    "TIME_ALMOST_UP_ANIM",
    "TROPHY_INFO_SHOW_TIME",
    "MAX_SECOND_RADIUS",
    "MIN_FIRST_RADIUS",
    "PREVIEW_SCALE_RECROOM",
    "STAR_Y",
    "MAX_NUM_SHUFFLES",
    "GOODIE_WIGGLE_TIME",
    "TILE_SIDEBOARD_FADE_TIME",
};

} // namespace

constinit const int& HINT_AUTO_CLOSE_TIME = values[0];
constinit const int& TILE_LAYER_OFFSETX = values[1];
constinit const int& TILE_LAYER_OFFSETY = values[2];
constinit const int& TROPHY_HEADER_DISAPPEAR = values[3];
constinit const int& BRASTOW_TIP_MINIMAL_TIME_APPEAR = values[4];
constinit const int& TILE_HINT_MAX_ALPHA = values[5];
constinit const int& PREVIEW_TILE_FACE_HEIGHT = values[6];
constinit const int& BONUS_ANIM_SHINE_MSPF = values[7];
constinit const int& LABEL_APPEAR_TIME = values[8];
constinit const int& NUM_BRASTOW_STATS = values[9];
constinit const int& PATH_ANIM_DELAY_MUL = values[10];
constinit const int& SIDEBOARD_SPEED_EXTRA_X = values[11];
constinit const int& SIDEBOARD_SPEED_EXTRA_Y = values[12];
constinit const int& BONUS_ANIM_BONUS_DELAY = values[13];
constinit const int& BONUS_ANIM_SHINE_ALPHA = values[14];
constinit const int& PREVIEW_TILE_FACE_WIDTH = values[15];
constinit const int& TIME_BONUS = values[16];
constinit const int& TROPHY_SPEEDFREAK_TIME = values[17];
constinit const int& LEVEL_INFO_DISAPPEAR = values[18];
constinit const int& BRASTOW_TIP_FREQUENCY = values[19];
constinit const int& TROPHY_HEADER_APPEAR = values[20];
constinit const int& MIN_NUM_HINTS = values[21];
constinit const int& HINT_CLICK_TIME_RIVER = values[22];
constinit const int& MULTIPLIER_MINIMUM = values[23];
constinit const int& RENDERER_TILE_SIDE_HEIGHT = values[24];
constinit const int& STAR_WIDTH = values[25];
constinit const int& BONUS_ANIM_EXPLOSION_TIME = values[26];
constinit const int& DIALOG_FADE_TIME = values[27];
constinit const int& HINT_ENTER_FROM_OPEN = values[28];
constinit const int& MAX_NUM_HINTS = values[29];
constinit const int& PATH_APPEAR_DELAY = values[30];
constinit const int& PREVIEW_HEIGHT = values[31];
constinit const int& DIALOG_APPEAR_TIME = values[32];
constinit const int& DIALOG_BACKGROUND_ALPHA = values[33];
constinit const int& FLOOR_COMPLETE_JINGLE_DELAY = values[34];
constinit const int& GOODIE_WIGGLE_ANGLE = values[35];
constinit const int& HINT_CLOCK_TIME_PENALTY = values[36];
constinit const int& LAYER_OFFSETX = values[37];
constinit const int& SMALL_STAR_APPEAR_TIME = values[38];
constinit const int& TILE_FACE_WIDTH = values[39];
constinit const int& TILE_FLASH_COLOR = values[40];
constinit const int& TILE_HINT_HOVER_COLOR = values[41];
constinit const int& LAYER_OFFSETY = values[42];
constinit const int& MAX_FIRST_RADIUS = values[43];
constinit const int& RENDERER_TILE_FACE_WIDTH = values[44];
constinit const int& TILE_SHADOW_OFFSETX = values[45];
constinit const int& TILE_SHADOW_OFFSETY = values[46];
constinit const int& BONUS_ANIM_FLASH_MSPF = values[47];
constinit const int& STAR_MOVE_TIME = values[48];
constinit const int& TILE_FACE_HEIGHT = values[49];
constinit const int& TILE_HINT_COLOR = values[50];
constinit const int& TILE_FACE_OFFSETX = values[51];
constinit const int& TILE_FACE_OFFSETY = values[52];
constinit const int& BONUS_ANIM_FLY_TIME = values[53];
constinit const int& BONUS_ANIM_SCALE_DELAY = values[54];
constinit const int& DIALOG_ZOOM_HIDE_DELAY = values[55];
constinit const int& TIME_ALMOST_UP_SOUND = values[56];
constinit const int& LEVELSTART_TIMES = values[57];
constinit const int& PREVIEW_WIDTH = values[58];
constinit const int& BONUS_ANIM_STAR_INTERVAL = values[59];
constinit const int& LEVEL_INFO_DELAY = values[60];
constinit const int& SIDEBOARD_PADDING_X = values[61];
constinit const int& SIDEBOARD_PADDING_Y = values[62];
constinit const int& TILE_FADEOUT_TIME = values[63];
constinit const int& SIDEBOARD_HEIGHT_PER_TILE = values[64];
constinit const int& SIDEBOARD_WIDTH_PER_TILE = values[65];
constinit const int& BRASTOW_STAT_FREQUENCY = values[66];
constinit const int& NUM_BRASTOW_TIPS = values[67];
constinit const int& PREVIEW_SCROLL_DURATION = values[68];
constinit const int& TILE_SUPER_HINT_COLOR = values[69];
constinit const int& INFO_DIALOGS_ANIM_TIME = values[70];
constinit const int& BRASTOW_TIP_FIRST_DELAY = values[71];
constinit const int& DOOR_ANIM_DELAY = values[72];
constinit const int& GOODIE_APPEAR_TIME = values[73];
constinit const int& PANEL_PADDING = values[74];
constinit const int& PREVIEW_LAYER_OFFSETX = values[75];
constinit const int& PREVIEW_LAYER_OFFSETY = values[76];
constinit const int& RENDERER_SHADOW_OFFSETX = values[77];
constinit const int& RENDERER_SHADOW_OFFSETY = values[78];
constinit const int& TILE_BLOCKED_MAX_ALPHA = values[79];
constinit const int& TILE_HEIGHT = values[80];
constinit const int& TILE_HOVER_ALPHA = values[81];
constinit const int& TILE_SUPER_HINT_ALPHA = values[82];
constinit const int& TROPHY_COMBO_FRENZY_MULTIPLIER = values[83];
constinit const int& BONUS_ANIM_FLASH_COUNT = values[84];
constinit const int& BUILD_LAYOUT_DURATION = values[85];
constinit const int& TILE_FLIGHT_TIME = values[86];
constinit const int& TROPHY_DIALOG_TIME = values[87];
constinit const int& BONUS_ANIM_SHINE_FADE_TIME = values[88];
constinit const int& DIALOG_ZOOM_SCROLL_TIME = values[89];
constinit const int& MIN_SECOND_RADIUS = values[90];
constinit const int& NUM_BRASTOW_UNLOCK_TEXT = values[91];
constinit const int& RENDERER_TILE_LAYER_OFFSETX = values[92];
constinit const int& RENDERER_TILE_LAYER_OFFSETY = values[93];
constinit const int& TILE_DARKEN_COLOR = values[94];
constinit const int& TILE_HINT_MIN_ALPHA = values[95];
constinit const int& TROPHY_STAR_COUNT = values[96];
constinit const int& BUTTON_OK_APPEAR_TIME = values[97];
constinit const int& DIALOG_ZOOM_APPEAR_TIME = values[98];
constinit const int& MIN_NUM_SHUFFLES = values[99];
constinit const int& MULTIPLIER_PERCENTAGE = values[100];
constinit const int& PREVIEW_SCALE = values[101];
constinit const int& SIDEBOARD_FREECELL_PADDING_X = values[102];
constinit const int& SIDEBOARD_FREECELL_PADDING_Y = values[103];
constinit const int& SUPER_HINT_DURATION = values[104];
constinit const int& TEAR_DOWN_LAYOUT_DURATION = values[105];
constinit const int& BONUS_ANIM_SHINE_TIME = values[106];
constinit const int& RENDERER_TILE_SIDE_WIDTH = values[107];
constinit const int& SMALL_STAR_Y = values[108];
constinit const int& TILE_DARKEN_ALPHA = values[109];
constinit const int& RENDERER_TILE_FACE_HEIGHT = values[110];
constinit const int& STARS_LEFT_PADDING = values[111];
constinit const int& TILE_SELECT_COLOR = values[112];
constinit const int& ELEVATOR_OPENING_SIZE = values[113];
constinit const int& HINT_TIME_PENALTY = values[114];
constinit const int& TILE_WIDTH = values[115];
constinit const int& DIALOG_ZOOM_DISAPPEAR_TIME = values[116];
constinit const int& HINT_CLICK_TIME_SEASONFLOWERS = values[117];
constinit const int& NUM_BRASTOW_MISCELLANEOUS = values[118];
constinit const int& TILE_BLOCKED_MIN_ALPHA = values[119];
constinit const int& TILE_SELECT_ALPHA = values[120];
constinit const int& TROPHY_CLOSE_CALL_MILLISECONDS = values[121];
constinit const int& TROPHY_PLENTY_OF_TIME_PERCENTAGE = values[122];
constinit const int& PATH_ANIM_FADE_TIME = values[123];
constinit const int& SIDEBOARD_LOCATIONX = values[124];
constinit const int& SIDEBOARD_LOCATIONY = values[125];
constinit const int& TILE_BLOCKED_COLOR = values[126];
constinit const int& TILE_HOVER_COLOR = values[127];
constinit const int& TIMEBAR_ANIMATION_DURATION = values[128];
constinit const int& LEVEL_INFO_APPEAR = values[129];
constinit const int& TEAR_DOWN_LAYOUT_MIN_DURATION = values[130];
constinit const int& TILE_FLASH_MAX_ALPHA = values[131];
constinit const int& TIME_ALMOST_UP_ANIM = values[132];
constinit const int& TROPHY_INFO_SHOW_TIME = values[133];
constinit const int& MAX_SECOND_RADIUS = values[134];
constinit const int& MIN_FIRST_RADIUS = values[135];
constinit const int& PREVIEW_SCALE_RECROOM = values[136];
constinit const int& STAR_Y = values[137];
constinit const int& MAX_NUM_SHUFFLES = values[138];
constinit const int& GOODIE_WIGGLE_TIME = values[139];
constinit const int& TILE_SIDEBOARD_FADE_TIME = values[140];

void GameConstants::apply() {
    BasicProperties* settings = BasicProperties::get();
    if (settings == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < constantCount; ++i) {
        values[i] = settings->getInteger(kConstantNames[i]);
    }
}

std::span<const std::string_view> GameConstants::getNames() {
    return kConstantNames;
}

} // namespace orv
