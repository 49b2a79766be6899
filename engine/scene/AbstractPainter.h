#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/ClassRecord.h"
#include "engine/core/RefPtr.h"

#include <string>
#include <vector>

namespace orv {

class Graphics;
class Image;
class PropertyNode;

/// What a dialog asks of the object that draws its frame: the sizes the
/// frame can take and the painting itself, plus the piece images the frame
/// is made of. Painters are made by the object factory from the definition
/// a dialog names ("painter" or "painterid") and attached with
/// `Dialog::setPainter`, which holds a reference.
///
/// The pieces are named by resource identifiers in one resource section
/// ("section", "images") and looked up once, on first use (`prepare`):
///
///     class FramePainter : public AbstractPainter {
///         explicit FramePainter(PropertyNode* d) : AbstractPainter(d) {}
///         void paint(Graphics& g) override { g.drawImage(*getImage(0), 0, 0); setDirty(false); }
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

    /// No pieces.
    AbstractPainter();
    /// The keys "section" (the resource section of the pieces) and "images"
    /// (a vector: the text of each element, in order, names one piece; an
    /// empty text names none). Missing keys keep no pieces. `definition` may
    /// be null; it is read here and not kept.
    explicit AbstractPainter(PropertyNode* definition);
    AbstractPainter(const AbstractPainter&) = delete;
    AbstractPainter& operator=(const AbstractPainter&) = delete;
    ~AbstractPainter() override;

    /// Paints the frame into `graphics`' target image, whose size is the
    /// frame's size in pixels, and clears the dirty flag.
    virtual void paint(Graphics& graphics) = 0;
    /// The piece image at `index` after `prepare`: null when the index is
    /// negative or not below the number of names, when the name is empty or
    /// when the section lacks it. Borrowed from the painter, which holds a
    /// reference.
    [[nodiscard]] virtual Image* getImage(int index);
    /// The smallest width (height) in pixels, not below `width` (`height`),
    /// that the frame can take; the request itself when the frame fits any.
    [[nodiscard]] virtual int adjustWidth(int width) = 0;
    [[nodiscard]] virtual int adjustHeight(int height) = 0;

    /// Looks the pieces up once: each non-empty name in the section through
    /// the resource manager (without loading; a piece that is not loaded by
    /// then, or no image, stays null and is logged). Later calls do nothing,
    /// also when there was no resource manager or no name.
    void prepare();
    [[nodiscard]] bool isPrepared() const { return prepared_; }

    [[nodiscard]] const std::string& getSection() const { return section_; }
    [[nodiscard]] const std::vector<std::string>& getImageNames() const { return imageNames_; }

    /// Set when the frame must be painted again (a new painter starts dirty;
    /// the dialog sets it when it attaches the painter or replaces its
    /// canvas); cleared by `paint`.
    [[nodiscard]] bool isDirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }

private:
    bool dirty_ = true;
    bool prepared_ = false;
    std::string section_;
    std::vector<std::string> imageNames_;
    std::vector<RefPtr<Image>> images_;
};

} // namespace orv
