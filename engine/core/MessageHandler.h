#pragma once

#include "engine/core/BaseObject.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

/// Receives the window's messages through a `MessageHandler`. Input handlers
/// derive from it (as their first base).
class IMessageHook {
public:
    IMessageHook() = default;
    IMessageHook(const IMessageHook&) = delete;
    IMessageHook& operator=(const IMessageHook&) = delete;
    virtual ~IMessageHook() = default;

    /// One window message (a WM_ number or one of the window's own event
    /// codes) with its two arguments. Called on the main thread.
    virtual void onWindowMessage(std::uint32_t message, std::uint32_t wParam,
                                 std::uint32_t lParam) = 0;
};

/// The window's list of message hooks: `dispatch` offers each message to every
/// hook in the order they were added.
///
/// Hooks may add and remove hooks (themselves included) from inside a
/// dispatch, without waiting: a hook added during a dispatch is appended and
/// still receives the message being dispatched (it stands last); a hook
/// removed during a dispatch is not called again, and the walk goes on with
/// the entry after the one being called. The list is tidied when the
/// outermost dispatch ends.
///
///     handler.addHook(inputHandler);                 // an IMessageHook
///     handler.dispatch(WM_KEYDOWN, VK_ESCAPE, 0);
///
/// Hooks are borrowed: a hook must remove itself before it dies. Main thread
/// only.
class MessageHandler : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    MessageHandler() = default;

    /// Appends `hook` (not null) unless it is already in the list.
    virtual void addHook(IMessageHook* hook);
    /// Removes `hook` from the list; nothing when it is not there.
    virtual void removeHook(IMessageHook* hook);
    /// Calls every hook's `onWindowMessage` in list order. May be nested (a
    /// hook may dispatch).
    void dispatch(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);

    /// True while hooks are being called.
    [[nodiscard]] bool isBusy() const { return depth_ > 0; }
    [[nodiscard]] bool hasHook(const IMessageHook* hook) const;
    /// Hooks currently in the list.
    [[nodiscard]] std::size_t getHookCount() const;

private:
    // Null entries are hooks removed during a dispatch; they are erased when
    // the outermost dispatch ends, so that indices stay valid meanwhile.
    std::vector<IMessageHook*> hooks_;
    int depth_ = 0;
};

} // namespace orv
