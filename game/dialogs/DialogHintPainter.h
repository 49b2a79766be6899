#pragma once

#include "engine/gui/DialogPainter.h"

namespace orv {

/// The tutorial hint's speech bubble: the nine frame pieces of
/// `DialogPainter`, one of the four corners swapped for its arrow piece, and
/// the host's footer ("BRASTOW_FOOTER" of section "default") centred on the
/// bottom edge.
///
/// The definition lists eighteen pieces: the nine of the frame, then at
/// position + 9 the arrow version of each (only 9, 11, 15 and 17, the four
/// corners, are used). The corner with the arrow is `getCorner`: 0 top left,
/// 2 top right, 6 bottom left, 8 bottom right, 9 none. An arrow piece must
/// measure what its plain corner does, so that the frame keeps its size.
///
///     <DialogHintPainter id="PAINTER_HINT" section="game" corner="9"> ... </DialogHintPainter>
///
/// Main thread only.
class DialogHintPainter : public DialogPainter {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kNoCorner = 9;

    /// `DialogPainter`'s keys and the integer "corner" (9 when missing).
    explicit DialogHintPainter(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The frame's piece at `index`, the arrow piece for the arrow's corner.
    [[nodiscard]] Image* getImage(int index) override;
    /// The frame, then the host's footer.
    void paint(Graphics& graphics) override;

    [[nodiscard]] int getCorner() const { return corner_; }
    /// Moves the arrow to `corner` (0, 2, 6, 8, or 9 for none; anything else
    /// reads as none) and marks the frame for painting again.
    void setCorner(int corner);

private:
    int corner_ = kNoCorner;
};

} // namespace orv
