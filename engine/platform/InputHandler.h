#pragma once

#include "engine/core/MessageHandler.h"
#include "engine/core/Task.h"
#include "engine/platform/iInputListenerContainer.h"
#include "engine/system/Platform.h"

#include <cstdint>
#include <deque>

namespace orv {

/// Widgets under the pointer, kept by the widgets themselves. After every
/// mouse move an input handler shows the hand while it is above 0 and the
/// arrow otherwise. Main thread only.
extern int hoverCount;

/// The pointer position last queued or replayed by an input handler, in
/// client pixels, for code that needs it outside an event.
[[nodiscard]] int getLastMouseX();
[[nodiscard]] int getLastMouseY();
void setLastMousePosition(int x, int y);

/// Turns window messages into listener calls at a safe point of the frame.
/// As a message hook (added to the window's `MessageHandler`) it queues key,
/// character and mouse messages; as a task it replays the queue once per
/// frame, clamping mouse positions to the client area, and offers each event
/// to its listener container, whose listeners (the most recently added
/// first) are offered it until one handles it.
///
///     RefPtr<InputHandler> input(new InputHandler());
///     window->getMessageHandler()->addHook(input.get());
///     input->addListener(&dialogContainer);    // offered events first
///     input->run(16);                          // the frame's replay
///     window->getMessageHandler()->removeHook(input.get());  // before it dies
///
/// The client size and the cursor come from the process-wide `GameWindow`;
/// without one, positions are not limited to a size and no cursor is set.
/// Main thread only.
class InputHandler : public IMessageHook, public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Active, with an enabled empty container and an empty queue.
    InputHandler() = default;

    /// Queues WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR and the
    /// mouse messages (the last also set the last mouse position); ignores
    /// every other message, and everything while inactive.
    void onWindowMessage(std::uint32_t message, std::uint32_t wParam,
                         std::uint32_t lParam) override;

    /// Puts `listener` (borrowed; null does nothing) in front of the
    /// container, moving it there when it was already in. A swallowing
    /// container arriving resets every listener already there.
    void addListener(iInputListener* listener);
    void removeListener(iInputListener* listener);

    /// The replay: see the class comment. When nothing is queued and the
    /// window has the focus, a pointer resting outside the client area is
    /// offered as a mouse move, so listeners see it leave.
    void run(int elapsedMs) override;
    /// Made inactive, the handler also drops its queue.
    void setActive(bool active) override;
    /// Drops every queued event (a scene that opens must not see input that
    /// arrived before).
    void clearQueue() { queue_.clear(); }
    [[nodiscard]] std::size_t getQueuedCount() const { return queue_.size(); }

    /// The container the events are offered to. Borrowed from the handler.
    [[nodiscard]] iInputListenerContainer& getListenerContainer() { return container_; }
    /// The last position handed to listeners as a mouse move.
    [[nodiscard]] int getLastForwardedX() const { return lastForwardedX_; }
    [[nodiscard]] int getLastForwardedY() const { return lastForwardedY_; }

    /// Whether key `virtualKey` (below 256) is held as far as the replayed
    /// key messages tell; text input asks for VK_SHIFT and VK_CONTROL while
    /// it handles a key. Shared by every handler.
    [[nodiscard]] static bool isKeyHeld(std::uint32_t virtualKey);
    /// Forgets every held key (tests, and a focus loss that lost key ups).
    static void clearKeyState();

    // The ten event operations: each forwards to the container. The mouse
    // move also remembers the position and sets the window's cursor.
    void onKeyDown(int key);
    void onKeyUp(int key);
    void onChar(int character);
    void onMouseMove(int x, int y, int flags);
    void onLeftButtonDown(int x, int y, int flags, bool doubleClick);
    void onLeftButtonUp(int x, int y, int flags);
    void onMiddleButtonDown(int x, int y, int flags, bool doubleClick);
    void onMiddleButtonUp(int x, int y, int flags);
    void onRightButtonDown(int x, int y, int flags, bool doubleClick);
    void onRightButtonUp(int x, int y, int flags);

protected:
    /// Where the pointer is, in client pixels, when the window has the focus;
    /// false otherwise (no window, no focus). Tests replace it.
    virtual bool pollPointer(platform::WindowPoint& point);

private:
    void replay(const platform::Message& event);

    iInputListenerContainer container_;
    std::deque<platform::Message> queue_;
    int lastForwardedX_ = 0;
    int lastForwardedY_ = 0;
};

} // namespace orv
