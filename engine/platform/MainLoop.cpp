#include "engine/platform/MainLoop.h"

#include "engine/core/TimedTaskManager.h"
#include "engine/platform/GameWindow.h"
#include "engine/system/Platform.h"

namespace orv {

int runMainLoop(GameWindow& window, TimedTaskManager& frames,
                const std::function<void(std::uint32_t)>& sleep) {
    platform::Message message;
    while (true) {
        if (platform::peekMessage(message)) {
            if (message.message == platform::WM_QUIT) {
                // The exit code travels in wParam as an unsigned number.
                return static_cast<int>(message.wParam);
            }
            // A burst of messages is drained completely before the next frame.
            window.windowProc(message);
            continue;
        }
        window.pollRaiseRequest();
        if (window.isInactive()) {
            if (sleep) {
                sleep(kInactiveLoopSleepMs);
            } else {
                platform::sleepMilliseconds(kInactiveLoopSleepMs);
            }
            continue;
        }
        frames.runFrame();
    }
}

} // namespace orv
