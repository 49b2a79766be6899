#pragma once

#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListener.h"

#include <cstddef>
#include <list>

namespace orv {

class BaseObject;

/// A listener that offers each event to an ordered list of listeners until
/// one handles it. The listener added last stands first. Containers nest: a
/// scene's input handler holds the scene's container and those of its open
/// dialogs.
///
/// When its own input is enabled, the container offers an event to each
/// listener whose input is enabled (and to every nested container, enabled
/// or not, so that a disabled one still reaches its exclusive listener),
/// stopping at the first that handles it. When disabled, only the exclusive
/// listener (if set and enabled) is offered the event. A swallowing
/// container reports every event as handled, which makes the dialog it
/// belongs to modal.
///
///     container.addListener(okButton, &Dialog::onOk, dialog);   // first offered
///     container.onLeftButtonUp(x, y, 0);
///
/// Listeners are borrowed: owners remove them before they go. Listeners may
/// add and remove listeners while an event is being offered: a listener
/// removed meanwhile is not offered the event any more, one added meanwhile
/// sees the next event. Main thread only.
class iInputListenerContainer : public iInputListener {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    iInputListenerContainer() = default;

    bool onKeyDown(int key) override;
    bool onKeyUp(int key) override;
    bool onChar(int character) override;
    bool onMouseMove(int x, int y, int flags) override;
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onLeftButtonUp(int x, int y, int flags) override;
    bool onMiddleButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onMiddleButtonUp(int x, int y, int flags) override;
    bool onRightButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onRightButtonUp(int x, int y, int flags) override;

    /// Adds `node`'s listener part in front (see `insertListener`) and, when
    /// `node` has a callback slot (`iGuiMethod`), fills it with `function`
    /// and `context`. Nothing for a null node; a node with neither part only
    /// gets nothing.
    void addListener(BaseObject* node, GuiFunction function = nullptr, void* context = nullptr);
    /// Takes `listener` out of this container and every nested one (`remove
    /// Listener`), resets every listener here when `listener` is a
    /// swallowing container, then puts it in front. Nothing for null.
    void insertListener(iInputListener* listener);
    /// Unlinks every entry equal to `listener`, here and in nested
    /// containers, calling its `reset` first. Nothing for null.
    void removeListener(iInputListener* listener);
    /// `reset` on every listener of the list.
    void reset() override;

    /// The listener offered events while this container's input is disabled;
    /// null for none. Borrowed.
    void setExclusiveListener(iInputListener* listener) { exclusive_ = listener; }
    [[nodiscard]] iInputListener* getExclusiveListener() const { return exclusive_; }
    /// When set, every event counts as handled here.
    void setSwallow(bool swallow) { swallow_ = swallow; }
    [[nodiscard]] bool isSwallowing() const { return swallow_; }

    [[nodiscard]] std::size_t getListenerCount() const { return listeners_.size(); }
    /// True when `listener` is directly in this container's list.
    [[nodiscard]] bool hasListener(const iInputListener* listener) const;
    /// The listeners in offering order (first offered first). Borrowed.
    [[nodiscard]] const std::list<iInputListener*>& getListeners() const { return listeners_; }

private:
    // Offers one event as the class comment says; `offer` calls the event's
    // operation on a listener.
    template <class Offer>
    bool dispatch(const Offer& offer);

    iInputListener* exclusive_ = nullptr;
    std::list<iInputListener*> listeners_;
    bool swallow_ = false;
};

} // namespace orv
