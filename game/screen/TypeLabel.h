#pragma once

#include "engine/core/RefPtr.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/iInputListener.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"

namespace orv {

class PropertyNode;

/// A label that types its text: after `restartTyping` the rendered text is
/// uncovered line by line, each line from left to right over "time" ms,
/// each non-empty line starting "delay" ms after the one before (empty
/// lines add no delay), the first one "start" ms after the restart. A click
/// (inside the label for "range" "inside", anywhere for "all", never for
/// "none") shows the whole text at once. Until the first restart it shows
/// its whole text like any label.
///
///     <TypeLabel name="TIP" font="FONT_TIP" width="300" wrapstyle="wordwrap"
///                delay="700" time="800" start="0" range="inside"/>
///
///     tip->setText(text);
///     tip->restartTyping();          // the scene's move task types it
///
/// Main thread only.
class TypeLabel : public Label, public iInputListener {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Which clicks complete the typing.
    enum Range : int { RangeNone = 0, RangeInside = 1, RangeAll = 2 };

    /// The label's keys and "delay", "time", "start" (ms) and "range" (one
    /// of "none", "inside", "all").
    explicit TypeLabel(PropertyNode* definition);
    TypeLabel(const TypeLabel&) = delete;
    TypeLabel& operator=(const TypeLabel&) = delete;
    ~TypeLabel() override;

    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// Renders the text anew and starts typing it from an empty label. A
    /// label without rendered text is done at once.
    void restartTyping();
    /// Shows the whole text now; true when there was typing left to finish.
    bool finishTyping();
    /// Uncovers what the time elapsed since the restart allows.
    void updateSelf(int elapsedMs) override;

    bool onMouseMove(int x, int y, int flags) override;
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    void reset() override { static_cast<void>(finishTyping()); }

    [[nodiscard]] bool isDone() const { return done_; }
    [[nodiscard]] bool isHovered() const { return hover_.isSet(); }
    [[nodiscard]] int getElapsed() const { return elapsed_; }
    void setTiming(int delay, int time, int start);
    void setRange(Range range) { range_ = range; }

private:
    [[nodiscard]] bool hits(int x, int y) const;
    void updateHover(int x, int y);

    int elapsed_ = 0;
    int delay_ = 700;
    int time_ = 800;
    int start_ = 0;
    RefPtr<Image> full_;
    RefPtr<Image> shown_;
    bool done_ = false;
    Range range_ = RangeInside;
    widget::HoverMark hover_;
};

} // namespace orv
