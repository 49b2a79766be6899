#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/ClassRecord.h"

namespace orv {

class Graphics;

/// What a dialog asks of the object that draws its frame: the sizes the
/// frame can take and the painting itself. Painters are made by the object
/// factory from the definition a dialog names ("painter" or "painterid") and
/// attached with `Dialog::setPainter`, which holds a reference.
///
///     class FramePainter : public AbstractPainter {
///         void paint(Graphics& g) override { ...; setDirty(false); }
///         int adjustWidth(int w) override { return roundUpToTiles(w); }
///         int adjustHeight(int h) override { return roundUpToTiles(h); }
///     };
///
/// Main thread only.
class AbstractPainter : public BaseObject {
public:
    static constexpr ClassRecord classRecord{"AbstractPainter",
                                             parentRecords<BaseObject::classRecord>};
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Paints the frame into `graphics`' target image, whose size is the
    /// frame's size in pixels, and clears the dirty flag.
    virtual void paint(Graphics& graphics) = 0;
    /// The smallest width (height) in pixels, not below `width` (`height`),
    /// that the frame can take; the request itself when the frame fits any.
    [[nodiscard]] virtual int adjustWidth(int width) = 0;
    [[nodiscard]] virtual int adjustHeight(int height) = 0;

    /// Set when the frame must be painted again (a new painter starts dirty;
    /// the dialog sets it when it attaches the painter or replaces its
    /// canvas); cleared by `paint`.
    [[nodiscard]] bool isDirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }

private:
    bool dirty_ = true;
};

} // namespace orv
