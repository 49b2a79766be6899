#pragma once

#include "engine/core/ClassRecord.h"

namespace orv {

/// The receiving side of keyboard and mouse events: one operation per event,
/// each answering whether it handled the event (true stops the offer to
/// further listeners). An interface part: the widget, dialog or screen that
/// carries it answers `getInterface(iInputListener::classRecord)` with it.
///
/// Coordinates are window client pixels, already clamped to the client area
/// by the input handler; `flags` are the MK_ bits of the mouse message. A
/// listener is borrowed by every container it is in: its owner removes it
/// before it goes away.
///
///     class Button : public Sprite, public iInputListener {
///         bool onLeftButtonUp(int x, int y, int) override { return hitTest(x, y) && fire(); }
///         void reset() override { pressed_ = false; }
///     };
class iInputListener {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] virtual const ClassRecord& getClassRecord() const { return classRecord; }

    iInputListener() = default;
    iInputListener(const iInputListener&) = delete;
    iInputListener& operator=(const iInputListener&) = delete;
    virtual ~iInputListener() = default;

    /// `key` is a virtual-key code (VK_).
    virtual bool onKeyDown(int key);
    virtual bool onKeyUp(int key);
    /// `character` is one Unicode code point.
    virtual bool onChar(int character);
    virtual bool onMouseMove(int x, int y, int flags);
    virtual bool onLeftButtonDown(int x, int y, int flags, bool doubleClick);
    virtual bool onLeftButtonUp(int x, int y, int flags);
    virtual bool onMiddleButtonDown(int x, int y, int flags, bool doubleClick);
    virtual bool onMiddleButtonUp(int x, int y, int flags);
    virtual bool onRightButtonDown(int x, int y, int flags, bool doubleClick);
    virtual bool onRightButtonUp(int x, int y, int flags);

    /// Stores the flag and returns it. A disabled listener is not offered
    /// events (a disabled container still reaches its exclusive listener).
    virtual bool setInputEnabled(bool enabled);
    [[nodiscard]] virtual bool isInputEnabled() const { return inputEnabled_; }
    /// Drops any pressed or dragging state (called when the listener is
    /// removed from a container, or moved in front again).
    virtual void reset() = 0;

private:
    bool inputEnabled_ = true;
};

} // namespace orv
