#include "engine/scene/StyleLabel.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/graphics/StyleFormatRegistry.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/system/Platform.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord StyleLabel::classRecord{"StyleLabel",
                                                    parentRecords<Sprite::classRecord>};

namespace {

constexpr int kStyleAlphaChannel = 0;
constexpr std::wstring_view kStyleEllipsis = L"...";

// The colour a run's text is drawn in, as a label computes it: the font's
// own unless the font is a tinted mask and the run has an override.
std::uint32_t textColor(const Label& run) {
    const Font* font = run.getFont();
    if (font == nullptr) {
        return 0;
    }
    if (!font->isTintedMask() || run.getColors().empty()) {
        return font->getColor();
    }
    return run.getColors().front();
}

// Whether two rectangles share a pixel; an empty one shares none.
bool overlaps(std::int64_t x1, std::int64_t y1, std::int64_t w1, std::int64_t h1, std::int64_t x2,
              std::int64_t y2, std::int64_t w2, std::int64_t h2) {
    if (w1 <= 0 || h1 <= 0 || w2 <= 0 || h2 <= 0) {
        return false;
    }
    return x1 < x2 + w2 && x2 < x1 + w1 && y1 < y2 + h2 && y2 < y1 + h1;
}

} // namespace

StyleLabel::StyleLabel(PropertyNode* definition) : Sprite(definition) {
    readDefinition(definition);
}

StyleLabel::StyleLabel(Font* font, int x, int y, int width, int height)
    : Sprite(x, y, width, height) {
    state_.font = font;
}

StyleLabel::~StyleLabel() = default;

BaseObject* StyleLabel::createFromDefinition(PropertyNode* definition) {
    return new StyleLabel(definition);
}

void StyleLabel::setText(std::wstring_view text) {
    std::wstring converted(text);
    replaceAll(converted, L"\\n", L"\n", true);
    if (converted != text_) {
        text_ = std::move(converted);
        rebuild();
    }
}

void StyleLabel::rebuild() {
    parse();
    renderImage();
}

std::string StyleLabel::describeTarget() const {
    return "styled label '" + getName() + "'";
}

RefPtr<Font> StyleLabel::findFont(std::string_view name, std::string_view section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    // Held while the reference is taken: the loader thread changes the maps.
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<Font>(kindCast<Font>(resources->getObject(name, section)));
}

RefPtr<Image> StyleLabel::findImage(std::string_view name, std::string_view section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<Image>(kindCast<Image>(resources->getObject(name, section)));
}

void StyleLabel::addFloatingImage(Image* image, int x, int y) {
    floatingImages_.emplace_back(new Sprite(x, y, image));
}

void StyleLabel::startLine() {
    currentLine_ = new StyleLine();
    lineTruncated_ = false;
}

// --- parsing -------------------------------------------------------------------

void StyleLabel::parse() {
    state_.penX = 0;
    state_.penY = 0;
    state_.lineHeight = 0;
    position_ = 0;
    segmentStart_ = 0;
    nextLineHeight_ = 0;
    lines_.clear();
    floatingImages_.clear();
    startLine();

    // A working copy: an escaped bracket loses its backslash while the text
    // is read, and the stored text stays as it was set.
    std::wstring text = text_;
    for (position_ = 0; position_ < text.size(); ++position_) {
        const wchar_t c = text[position_];
        if (c == L'\n') {
            emitRun(text);
            newLine();
        } else if (c == L' ') {
            emitRun(text);
            const Font* font = state_.font.get();
            if (state_.penX != 0 && font != nullptr) {
                const int blank =
                    font->measureText(L" ", 0, Font::kWholeText, TextExtent::MaxAdvance) -
                    2 * font->getPadding();
                state_.penX = clampLayout(std::int64_t{state_.penX} + blank);
            }
        } else if (c == L'[') {
            if (position_ > 0 && text[position_ - 1] == L'\\') {
                // The bracket moves onto the backslash and stays in the
                // segment; the step below passes over the character after it.
                text.erase(position_ - 1, 1);
            } else {
                parseTag(text);
            }
        }
    }
    position_ = std::min(position_, text.size());
    emitRun(text);
    lines_.push_back(currentLine_);

    if (autoFitHeight_ && lastRight_ > getWidth()) {
        setWidth(lastRight_);
    }
    if (const Font* font = state_.font.get()) {
        setHeight(
            std::max(getHeight(), clampLayout(std::int64_t{font->getHeight()} + state_.penY)));
    }
    if (getHeight() == 0) {
        setHeight(1);
    }
    if (getWidth() == 0) {
        setWidth(1);
    }
    StyleFormatRegistry::destroyInstance();
    currentLine_ = nullptr;
}

void StyleLabel::parseTag(std::wstring& text) {
    emitRun(text);
    std::size_t end = text.find_first_of(L"=]", position_ + 1);
    if (end == std::wstring::npos) {
        end = text.size();
    }
    const std::wstring name = text.substr(segmentStart_, end - segmentStart_);
    std::wstring value;
    position_ = end;
    if (end < text.size() && text[end] == L'=') {
        segmentStart_ = end + 1;
        position_ = std::min(text.find(L']', segmentStart_), text.size());
        value = text.substr(segmentStart_, position_ - segmentStart_);
    }
    segmentStart_ = position_ + 1;
    const std::string shown = wideToString(value.empty() ? name : name + L"=" + value);
    if (position_ >= text.size()) {
        // Applied all the same: nothing after the bracket is shown as text.
        logWarning(describeTarget() + ": tag [" + shown +
                   " has no closing ']'; it runs to the end of the text");
    }
    if (!StyleFormatRegistry::instance()->applyTag(name, value, *this)) {
        logWarning(describeTarget() + ": unknown tag [" + shown + "] ignored");
    }
}

// --- placing runs ----------------------------------------------------------------

void StyleLabel::emitRun(const std::wstring& text) {
    const std::size_t end = std::min(position_, text.size());
    if (segmentStart_ >= end) {
        segmentStart_ = position_ + 1;
        return;
    }
    RefPtr<Label> run(
        new Label(state_.font.get(), state_.penX, state_.penY, 0, 0, Label::kAutoWidth));
    if (!state_.colorStack.empty()) {
        run->setColor(state_.colorStack.back(), 0);
    }
    run->setAlignV(state_.alignV);
    run->setText(std::wstring_view(text).substr(segmentStart_, end - segmentStart_));
    run->relayout();
    const int width = run->getWidth();

    switch (state_.wrapStyle) {
    case StyleLayoutState::kWordWrap:
        if (std::int64_t{state_.penX} + width > getWidth()) {
            (void)wrapRun(*run, width, false);
        }
        break;
    case StyleLayoutState::kTruncate:
        nextLineHeight_ = run->getLineStep();
        truncateRun(*run, width);
        break;
    default:
        nextLineHeight_ = run->getLineStep();
        break;
    }
    run->relayout();
    avoidFloatingImages(*run);

    if (!run->getText().empty()) {
        run->relayout();
        const int placedWidth = run->getWidth();
        currentLine_->runs.push_back(run);
        lastRight_ = clampLayout(std::int64_t{run->getX()} + placedWidth);
        state_.lineHeight = std::max(state_.lineHeight, run->getLineStep());
        state_.penX = clampLayout(std::int64_t{state_.penX} + placedWidth);
    }
    segmentStart_ = position_ + 1;
}

bool StyleLabel::wrapRun(Label& run, int runWidth, bool mustMoveDown) {
    if (state_.penX != 0 && runWidth <= getWidth()) {
        const int top = state_.penY;
        nextLineHeight_ = run.getLineStep();
        newLine();
        if (!mustMoveDown || state_.penY != top) {
            run.setX(state_.penX);
            run.setY(state_.penY);
            return true;
        }
    }
    // Wider than the whole area, or (beside an image) lines that do not
    // move down: the word is dropped.
    run.setText(L"");
    return false;
}

void StyleLabel::truncateRun(Label& run, int runWidth) {
    if (lineTruncated_) {
        run.setText(L"");
        return;
    }
    const int areaWidth = getWidth();
    if (std::int64_t{state_.penX} + runWidth <= areaWidth) {
        return;
    }
    if (lastRight_ >= areaWidth) {
        run.setText(L"");
        return;
    }
    lineTruncated_ = true;
    std::wstring shortened = run.getText().substr(0, 1);
    shortened += kStyleEllipsis;
    run.setText(shortened);
    run.relayout();
    if (std::int64_t{state_.penX} + run.getWidth() <= areaWidth) {
        return;
    }
    run.setText(L"");
    if (!currentLine_->runs.empty()) {
        Label& last = *currentLine_->runs.back();
        const std::wstring& lastText = last.getText();
        std::wstring cut = lastText.substr(0, lastText.size() > 3 ? lastText.size() - 3 : 1);
        cut += kStyleEllipsis;
        last.setText(cut);
        last.relayout();
        lastRight_ = clampLayout(std::int64_t{last.getX()} + last.getWidth());
    }
}

void StyleLabel::avoidFloatingImages(Label& run) {
    const int step = run.getLineStep();
    while (!run.getText().empty()) {
        const int width = run.getWidth();
        const auto hit = std::find_if(
            floatingImages_.begin(), floatingImages_.end(), [&](const RefPtr<Sprite>& image) {
                return overlaps(run.getX(), run.getY(), width, step, image->getX(), image->getY(),
                                image->getWidth(), image->getHeight());
            });
        if (hit == floatingImages_.end()) {
            return;
        }
        const int right = clampLayout(std::int64_t{(*hit)->getX()} + (*hit)->getWidth() + 1);
        if (right <= run.getX()) {
            run.setText(L""); // at the edge of the layout range: no room left
            return;
        }
        state_.penX = right;
        run.setX(right);
        if (state_.wrapStyle == StyleLayoutState::kWordWrap &&
            std::int64_t{state_.penX} + width > getWidth()) {
            if (!wrapRun(run, width, true)) {
                return;
            }
        }
    }
}

void StyleLabel::newLine() {
    if (!currentLine_) {
        startLine();
    }
    const std::int64_t top = state_.penY;
    const std::int64_t bottom = top + state_.lineHeight;
    std::int64_t space = std::int64_t{getWidth()} - lastRight_;
    for (const RefPtr<Sprite>& image : floatingImages_) {
        const std::int64_t left = image->getX();
        const std::int64_t imageTop = image->getY();
        if (left + image->getWidth() > lastRight_ && left < lastRight_ + space &&
            imageTop + image->getHeight() > top && imageTop < bottom) {
            space = std::max<std::int64_t>(0, space - image->getWidth());
        }
    }
    // A line wider than the area is left where it is: moving it by a
    // negative space would push its start out of the image.
    int shift = 0;
    if (space > 0 && state_.alignH == StyleLayoutState::kAlignCenter) {
        shift = static_cast<int>(space / 2);
    } else if (space > 0 && state_.alignH == StyleLayoutState::kAlignRight) {
        shift = static_cast<int>(space);
    }
    if (shift != 0) {
        for (const RefPtr<Label>& run : currentLine_->runs) {
            run->setX(clampLayout(std::int64_t{run->getX()} + shift));
        }
    }
    lines_.push_back(currentLine_);

    int advance = state_.lineHeight;
    if (advance == 0 && state_.font) {
        advance = state_.font->getLineHeight();
    }
    state_.penY = clampLayout(std::int64_t{state_.penY} + advance);
    state_.penX = 0;
    state_.lineHeight = nextLineHeight_;
    startLine();

    if (autoFitHeight_) {
        if (getHeight() < state_.penY) {
            setHeight(state_.penY);
        }
        if (getWidth() < lastRight_) {
            setWidth(lastRight_);
        }
    }
}

// --- rendering -------------------------------------------------------------------

void StyleLabel::renderImage() {
    const int width = getWidth();
    const int height = getHeight();
    RefPtr<Image> image = width > 0 && height > 0 ? createDisplayImage(width, height) : nullptr;
    RefPtr<Graphics> graphics = image ? createGraphics(*image) : nullptr;
    if (!graphics) {
        logWarning(describeTarget() + ": no image of " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels to draw the text into");
        setImage(nullptr);
        setSize(width, height);
        return;
    }
    image->setUseAlphaChannel(true);
    // New images are not cleared: start from transparent black.
    graphics->setColor(0);
    graphics->clear();
    graphics->setChannel(kStyleAlphaChannel, 0, 0, 0);

    // Each run's box takes its text colour, so that the glyphs' edges blend
    // towards their own colour; the alpha stays 0 until glyphs raise it.
    for (const RefPtr<StyleLine>& line : lines_) {
        for (const RefPtr<Label>& run : line->runs) {
            graphics->setColor(textColor(*run));
            graphics->fillRect(run->getX(), run->getY(), run->getWidth(), run->getHeight());
        }
    }
    for (const RefPtr<StyleLine>& line : lines_) {
        for (const RefPtr<Label>& run : line->runs) {
            graphics->setFont(run->getFont());
            graphics->setColor(textColor(*run));
            // The run's own layer colours: an override colours the top
            // layer, the other layers keep theirs.
            graphics->drawTextRun(
                {TextLine{run->getText(), run->getWidth(), run->getX(), run->getY()}},
                run->getColors());
        }
    }
    graphics->setFont(nullptr);
    for (const RefPtr<Sprite>& floating : floatingImages_) {
        if (Image* picture = floating->getImage()) {
            graphics->drawImage(*picture, floating->getX(), floating->getY());
            graphics->maxChannel(*picture, kStyleAlphaChannel, floating->getX(), floating->getY());
        }
    }
    setImage(image.get());
}

} // namespace orv
