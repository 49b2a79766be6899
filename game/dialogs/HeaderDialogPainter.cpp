#include "game/dialogs/HeaderDialogPainter.h"

#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord HeaderDialogPainter::classRecord{
    "HeaderDialogPainter", parentRecords<DialogPainter::classRecord>};

namespace {

// The header pieces follow the nine of the frame.
constexpr int kFirstHeaderPiece = 9;

} // namespace

HeaderDialogPainter::HeaderDialogPainter(PropertyNode* definition) : DialogPainter(definition) {
    if (const PropertyValue* enabled =
            definition != nullptr ? definition->findValue("enabled") : nullptr) {
        enabled_ = readEnabled(enabled->getText());
    }
}

BaseObject* HeaderDialogPainter::createFromDefinition(PropertyNode* definition) {
    return new HeaderDialogPainter(definition);
}

std::array<bool, 4> HeaderDialogPainter::readEnabled(std::wstring_view text) {
    std::array<bool, 4> enabled{true, true, true, true};
    // A short text switches only the headers it reaches.
    const std::size_t count = std::min(text.size(), enabled.size());
    for (std::size_t k = 0; k < count; ++k) {
        enabled.at(k) = text[k] != L'0';
    }
    return enabled;
}

void HeaderDialogPainter::paint(Graphics& graphics) {
    DialogPainter::paint(graphics);
    const int width = graphics.getTarget().getWidth();
    const int height = graphics.getTarget().getHeight();
    for (int header = kTop; header <= kRight; ++header) {
        Image* piece = getImage(kFirstHeaderPiece + header);
        if (piece == nullptr || !enabled_.at(static_cast<std::size_t>(header))) {
            continue;
        }
        const int w = piece->getWidth();
        const int h = piece->getHeight();
        int x = 0;
        int y = 0;
        switch (header) {
        case kTop:
            x = (width - w) / 2;
            break;
        case kBottom:
            x = (width - w) / 2;
            y = height - h;
            break;
        case kLeft:
            y = (height - h) / 2;
            break;
        default:
            x = width - w;
            y = (height - h) / 2;
            break;
        }
        paintPiece(graphics, piece, x, y, w, h);
    }
    setDirty(false);
}

} // namespace orv
