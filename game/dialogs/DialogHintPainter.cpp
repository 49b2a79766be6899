#include "game/dialogs/DialogHintPainter.h"

#include "engine/graphics/Graphics.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"

namespace orv {

constinit const ClassRecord DialogHintPainter::classRecord{
    "DialogHintPainter", parentRecords<DialogPainter::classRecord>};

namespace {

// The pieces that may carry the arrow.
bool isArrowCorner(int corner) {
    return corner == 0 || corner == 2 || corner == 6 || corner == 8;
}

} // namespace

DialogHintPainter::DialogHintPainter(PropertyNode* definition) : DialogPainter(definition) {
    if (const PropertyValue* corner =
            definition != nullptr ? definition->findValue("corner") : nullptr) {
        setCorner(corner->getInt());
    }
}

BaseObject* DialogHintPainter::createFromDefinition(PropertyNode* definition) {
    return new DialogHintPainter(definition);
}

Image* DialogHintPainter::getImage(int index) {
    if (index == corner_) {
        return DialogPainter::getImage(index + kNoCorner);
    }
    return index >= 0 && index < kNoCorner ? DialogPainter::getImage(index) : nullptr;
}

void DialogHintPainter::setCorner(int corner) {
    const int next = isArrowCorner(corner) ? corner : kNoCorner;
    if (next != corner_) {
        corner_ = next;
        setDirty(true);
    }
}

void DialogHintPainter::paint(Graphics& graphics) {
    DialogPainter::paint(graphics);
    const RefPtr<Image> footer = widget::findImage("BRASTOW_FOOTER", "default");
    if (footer == nullptr) {
        return;
    }
    const int width = graphics.getTarget().getWidth();
    const int height = graphics.getTarget().getHeight();
    // The footer is laid over the frame: its clear parts leave the frame and
    // its alpha as they are.
    const bool adjust = getAdjustAlpha();
    setAdjustAlpha(false);
    paintPiece(graphics, footer.get(), (width - footer->getWidth()) / 2,
               height - footer->getHeight(), footer->getWidth(), footer->getHeight());
    setAdjustAlpha(adjust);
}

} // namespace orv
