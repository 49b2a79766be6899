#include "engine/scene/Label.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/resources/Image.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord Label::classRecord{"Label", parentRecords<Sprite::classRecord>};

namespace {

constexpr int kAlphaChannel = 0;
constexpr std::wstring_view kEllipsis = L"...";

bool isBreakable(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view trimLeadingBlanks(std::wstring_view text) {
    std::size_t first = 0;
    while (first < text.size() && isBreakable(text[first])) {
        ++first;
    }
    return text.substr(first);
}

int measure(const Font& font, std::wstring_view text) {
    return font.measureText(text, 0, Font::kWholeText, TextExtent::MaxRight);
}

// The right edge of every prefix of `text`: entry i for the first i
// characters (entry 0 is 0). A prefix's boxes are those of the whole text up
// to it, so one layout gives every prefix's extent.
std::vector<int> prefixExtents(const Font& font, std::wstring_view text) {
    TextLayout layout;
    font.layoutText(text, layout, 0, Font::kWholeText);
    std::vector<int> extents(text.size() + 1, 0);
    int largest = 0;
    for (std::size_t i = 0; i < layout.boxes.size() && i < text.size(); ++i) {
        largest = std::max(largest, layout.boxes[i].right);
        extents[i + 1] = largest;
    }
    return extents;
}

// Word wrapping of one paragraph to `width`: break at the last blank or tab
// of the longest prefix that fits, or inside a word that alone is too wide.
void wrapParagraph(const Font& font, std::wstring_view paragraph, int width,
                   std::vector<std::wstring>& out) {
    if (paragraph.empty()) {
        out.emplace_back();
        return;
    }
    std::wstring_view rest = paragraph;
    while (!rest.empty() && measure(font, rest) > width) {
        const std::vector<int> extents = prefixExtents(font, rest);
        std::size_t breakAt = 0;
        std::size_t firstTooWide = rest.size();
        for (std::size_t i = 1; i <= rest.size(); ++i) {
            if (extents[i] > width) {
                firstTooWide = i;
                break;
            }
            if (i < rest.size() && isBreakable(rest[i])) {
                breakAt = i;
            }
        }
        if (breakAt == 0) {
            // No blank seen: cut after the longest prefix that fits, and
            // never after nothing, so that every pass takes a character.
            breakAt = std::max<std::size_t>(firstTooWide - 1, 1);
        }
        out.emplace_back(rest.substr(0, breakAt));
        rest = trimLeadingBlanks(rest.substr(breakAt));
    }
    rest = trimLeadingBlanks(rest);
    if (!rest.empty()) {
        out.emplace_back(rest);
    }
}

// The longest "first i characters + ..." that fits `width` (never ending in
// a blank before the dots); empty when not even one character fits.
std::wstring truncateParagraph(const Font& font, std::wstring_view paragraph, int width) {
    std::wstring best;
    for (std::size_t i = 1; i <= paragraph.size(); ++i) {
        if (paragraph[i - 1] == L' ') {
            while (i <= paragraph.size() && paragraph[i - 1] == L' ') {
                ++i;
            }
            if (i > paragraph.size()) {
                break;
            }
        }
        std::wstring candidate(paragraph.substr(0, i));
        candidate += kEllipsis;
        if (measure(font, candidate) > width) {
            break;
        }
        best = std::move(candidate);
    }
    return best;
}

} // namespace

Label::Label(PropertyNode* definition) : Sprite(definition) {
    readDefinition(definition);
}

Label::Label(Font* font, int x, int y, int width, int height, int wrapStyle)
    : Sprite(x, y, width, height), font_(font), wrapStyle_(wrapStyle) {}

Label::~Label() = default;

BaseObject* Label::createFromDefinition(PropertyNode* definition) {
    return new Label(definition);
}

void Label::setAlignH(int alignment) {
    if (alignment != alignH_) {
        alignH_ = alignment;
        markForLayout();
    }
}

void Label::setText(std::wstring_view text) {
    std::wstring converted(text);
    replaceAll(converted, L"\\n", L"\n", true);
    if (converted != text_) {
        text_ = std::move(converted);
        markForLayout();
    }
}

void Label::setFont(Font* font) {
    font_ = font; // RefPtr takes the new reference before dropping the old
    markForLayout();
}

void Label::setColor(std::uint32_t color, int layerIndex) {
    if (layerIndex < 0) {
        logWarning("label '" + getName() + "': colour for layer " + std::to_string(layerIndex) +
                   " ignored");
        return;
    }
    const auto index = static_cast<std::size_t>(layerIndex);
    if (colors_.size() <= index) {
        colors_.resize(index + 1, 0);
    } else if (colors_[index] == color) {
        return;
    }
    colors_[index] = color;
    markForLayout();
}

void Label::setWrapStyle(int wrapStyle) {
    if (wrapStyle != wrapStyle_) {
        wrapStyle_ = wrapStyle;
        markForLayout();
    }
}

void Label::setPadStyle(int padStyle) {
    if (padStyle != padStyle_) {
        padStyle_ = padStyle;
        markForLayout();
    }
}

void Label::setAutoFitHeight(bool autoFit) {
    if (autoFit != autoFitHeight_) {
        autoFitHeight_ = autoFit;
        markForLayout();
    }
}

void Label::setLineHeight(int lineHeight) {
    if (lineHeight != lineHeight_) {
        lineHeight_ = lineHeight;
        markForLayout();
    }
}

int Label::getLineStep() const {
    if (!font_ || lineHeight_ >= 1) {
        return lineHeight_;
    }
    return font_->getLineHeight();
}

void Label::setWidth(int width) {
    if (width != getWidth()) {
        markForLayout();
    }
    Sprite::setWidth(width);
}

void Label::setImage(Image* image) {
    const int width = getWidth();
    const int height = getHeight();
    Sprite::setImage(image);
    if (wrapStyle_ != kAutoWidth) {
        setWidth(width);
    }
    if (!autoFitHeight_) {
        setHeight(height);
    }
}

void Label::relayout() {
    // The padding shift follows the anchor, which the sprite's own setters
    // change without telling the label.
    if (!needsLayout_ && getAnchorKind() == laidOutAnchor_) {
        return;
    }
    laidOutAnchor_ = getAnchorKind();
    if (!font_) {
        lines_.clear();
        setImage(nullptr);
        offsetX_ = 0;
        offsetY_ = 0;
        textWidth_ = 0;
        textHeight_ = 0;
        needsLayout_ = false;
        return;
    }
    buildLines();
    arrangeLines();
    if (wrapStyle_ == kAutoWidth || getWidth() > 0) {
        renderImage();
    } else {
        setImage(nullptr);
    }
    // Cleared last: taking the new image's size marks the label again.
    needsLayout_ = false;
}

void Label::buildLines() {
    lines_.clear();
    std::vector<std::wstring> paragraphs;
    splitString(text_, paragraphs, L"\n", true);
    const int width = getWidth();
    std::vector<std::wstring> texts;
    for (const std::wstring& paragraph : paragraphs) {
        switch (wrapStyle_) {
        case kAutoWidth:
            texts.push_back(paragraph);
            break;
        case kWordWrap:
            wrapParagraph(*font_, paragraph, width, texts);
            break;
        case kTruncate:
            if (!paragraph.empty() && measure(*font_, paragraph) > width) {
                texts.push_back(truncateParagraph(*font_, paragraph, width));
            } else {
                texts.push_back(paragraph);
            }
            break;
        default:
            break; // an unknown wrap style shows nothing
        }
    }
    for (std::wstring& text : texts) {
        lines_.push_back(TextLine{std::move(text), 0, 0, 0});
    }
}

void Label::arrangeLines() {
    const int step = getLineStep();
    textWidth_ = 0;
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        TextLine& line = lines_[k];
        line.width = measure(*font_, line.text);
        line.y = static_cast<int>(k) * step;
        textWidth_ = std::max(textWidth_, line.width);
    }
    for (TextLine& line : lines_) {
        switch (alignH_) {
        case kAlignCenter:
            line.x = (textWidth_ - line.width) / 2;
            break;
        case kAlignRight:
            line.x = textWidth_ - line.width;
            break;
        default:
            line.x = 0;
            break;
        }
    }
    textHeight_ =
        lines_.empty() ? 0 : font_->getHeight() + (static_cast<int>(lines_.size()) - 1) * step;

    offsetX_ = 0;
    offsetY_ = 0;
    const auto anchor = static_cast<int>(getAnchorKind());
    const bool placedInWidth =
        wrapStyle_ != kAutoWidth && (alignH_ == kAlignCenter || alignH_ == kAlignRight);
    if (padStyle_ == kPadOffset && anchor >= 0 && anchor <= 8) {
        const int padding = font_->getPadding();
        offsetX_ = (anchor % 3 - 1) * padding;
        offsetY_ = (anchor / 3 - 1) * padding;
        // A block centred or set right inside a fixed width is placed by its
        // ink: the padding ring hangs out evenly round a centred block and
        // beyond the right edge of a right-aligned one, whatever the anchor.
        if (placedInWidth) {
            offsetX_ = alignH_ == kAlignCenter ? 0 : padding;
        }
    }
    if (placedInWidth) {
        if (alignH_ == kAlignCenter) {
            offsetX_ += (getWidth() - textWidth_) / 2;
        } else {
            offsetX_ += getWidth() - textWidth_;
        }
    }
}

std::uint32_t Label::getTextColor() const {
    if (!font_->isTintedMask() || colors_.empty()) {
        return font_->getColor();
    }
    return colors_.front();
}

void Label::renderImage() {
    int width = textWidth_;
    if (wrapStyle_ != kAutoWidth) {
        width = std::min(width, getWidth());
    }
    int height = textHeight_;
    if (!autoFitHeight_) {
        height = std::min(height, getHeight());
    }
    if (width <= 0 || height <= 0) {
        setImage(nullptr);
        return;
    }
    RefPtr<Image> image = createDisplayImage(width, height);
    RefPtr<Graphics> graphics = image ? createGraphics(*image) : nullptr;
    if (!graphics) {
        logWarning("label '" + getName() + "': no image of " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels to draw the text into");
        setImage(nullptr);
        return;
    }
    image->setUseAlphaChannel(true);
    // Transparent in the text colour, so that the edges of the glyphs blend
    // towards their own colour rather than black.
    graphics->setColor(getTextColor());
    graphics->clear();
    graphics->setChannel(kAlphaChannel, 0, 0, 0);
    font_->drawLines(*graphics, lines_, colors_);
    setImage(image.get());
}

void Label::render(Graphics& graphics) {
    relayout();
    graphics.translate(offsetX_, offsetY_);
    Sprite::render(graphics);
    graphics.translate(-offsetX_, -offsetY_);
}

} // namespace orv
