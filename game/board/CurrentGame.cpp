#include "game/board/Layout.h"

namespace orv {

FreeTileRule currentFreeTileRule() {
    return FreeTileRule::Standard;
}

} // namespace orv
