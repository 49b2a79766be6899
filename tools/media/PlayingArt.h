#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

#include <array>

namespace orv::media {

/// Where the playing screen's furniture stands on the 800 x 600 screen, in
/// pixels: the wooden band along the top, the band of buttons along the
/// bottom left and the console on the right that holds the two bars. The
/// board lies on the cloth between them; the rack of the games that have one
/// stands on the cloth above the console. SCENE_GAME in dialogs.xml places
/// its widgets on these.
namespace hud {
inline constexpr int topBandHeight = 50;
inline constexpr int bottomBandTop = 550;
inline constexpr int consoleLeft = 680;
inline constexpr int consoleTop = 226;
} // namespace hud

/// The six playing backgrounds, one per game type (Classic, FreeCell, Split,
/// Triple, River, Speed): a calm cloth of the type's colour with a faint
/// pattern of its own, under the wooden furniture of the HUD.
[[nodiscard]] std::array<ColorImage, 6> drawPlayingBackgrounds();

/// The pieces of the time bar and the bonus bar, by file stem under
/// media/images/game/.
struct BarPieces {
    ColorImage timeTube;     ///< TIMEBAR_BACKGROUND: a brass tube with a dark glass groove
    ColorImage timeFill;     ///< IMAGE_TIMEBARFILL: the jade fill, drawn below its top edge
    ColorImage timeTopMask;  ///< IMAGE_TIMEBARTOPMASK: the meniscus that shapes the edge
    ColorImage timeTop;      ///< IMAGE_TIMEBARTOP: the bright line along the edge
    ColorImage clock;        ///< TIMEBAR_CLOCK: the clock face
    ColorImage clockHand;    ///< TIMEBAR_ROTATE: the sweeping hand, 36 frames
    ColorImage clockGlow;    ///< TIMEBAR_GLOW: the red halo that blinks when time runs out
    ColorImage bonusTube;    ///< BONUSBAR_BACKGROUND
    ColorImage bonusFill;    ///< BONUSBAR_FILLING: the gold fill, shown from the bottom
    ColorImage box;          ///< BONUSBAR_BOX: the box of the next bonus, 6 flash frames
    ColorImage sunshine;     ///< BONUSBAR_SUNSHINE: turning rays, 8 frames
    ColorImage ring;         ///< IMAGE_COUNTDOWNTIMER: the multiplier's countdown ring
    GreyImage ringThreshold; ///< IMAGE_COUNTDOWNTHRESHOLD: the order in which the ring empties
    ColorImage ringPlate;    ///< BONUSBAR_CIRCLE: the lacquer plate under the ring
    ColorImage star;         ///< BONUS_STAR: the flying bonus's trail spark, 4 frames
};

[[nodiscard]] BarPieces drawBarPieces();

/// Adds the backgrounds and the bars' pieces to the media and a row of them
/// to the contact sheet.
void addPlayingArt(MediaSet& media, Gallery& sheet);

} // namespace orv::media
