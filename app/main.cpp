// The program "orvanta": runs the game from the folder that holds it, where
// media.dat and the loose media/ tree live.

#include "app/OrvantaMain.h"
#include "engine/system/Platform.h"

int main() {
    return orv::runProgram(orv::platform::getProgramFolder());
}
