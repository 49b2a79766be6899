#include "engine/gui/InputLabel.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/graphics/Font.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/system/Messages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace orv {

constinit const ClassRecord InputLabel::classRecord{
    "InputLabel",
    parentRecords<Sprite::classRecord, iInputListener::classRecord, iGuiMethod::classRecord>};

namespace {

constexpr wchar_t kBlank = L' ';
constexpr int kBackspace = 8;
constexpr int kKeyC = 'C';
constexpr int kKeyV = 'V';
constexpr int kKeyX = 'X';
// The largest Unicode code point, and the surrogate range that holds none.
constexpr int kLastCodePoint = 0x10FFFF;
constexpr int kFirstSurrogate = 0xD800;
constexpr int kLastSurrogate = 0xDFFF;

bool shiftHeld() {
    return InputHandler::isKeyHeld(platform::VK_SHIFT);
}

bool controlHeld() {
    return InputHandler::isKeyHeld(platform::VK_CONTROL);
}

// Whether the game window can reach the clipboard; without it the clipboard
// keys do nothing (a cut would lose the text).
bool clipboardReachable() {
    const GameWindow* window = GameWindow::getInstance();
    return window != nullptr && window->getHandle() != nullptr;
}

// `text` without control characters: pasted text may hold line breaks and
// tabs, which a one-line field cannot show.
std::wstring oneLine(std::wstring_view text) {
    std::wstring line;
    line.reserve(text.size());
    for (const wchar_t c : text) {
        if (c >= L' ' && c != L'\x7F') {
            line.push_back(c);
        }
    }
    return line;
}

int clampIndex(int index, const std::wstring& text) {
    return std::clamp(index, 0, static_cast<int>(text.size()));
}

} // namespace

InputLabel::InputLabel(PropertyNode* definition, Label* label) : Sprite(definition) {
    readDefinition(definition);

    label_ = label;
    label_->setText(text_);
    label_->relayout();
    GameTree::appendChild(label, this);

    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (const PropertyValue* value = source.findValue("cursorimage")) {
        const std::string sectionName = source.getValue("section")->getString();
        const RefPtr<Image> image = widget::findImage(value->getString(), sectionName);
        if (image) {
            setCursorImage(image.get());
        } else {
            logWarning("InputLabel '" + getName() + "': no cursor image '" + value->getString() +
                       "' in section '" + sectionName + "'");
        }
    }
    if (const PropertyValue* on = source.findValue("durationon")) {
        const PropertyValue* off = source.findValue("durationoff");
        setBlinkDurations(on->getInt(), off != nullptr ? off->getInt() : on->getInt());
    }
    allowed_.clear();
}

InputLabel::~InputLabel() = default;

BaseObject* InputLabel::createFromDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    PropertyNode* labelDefinition = asNode(source.getChild("label"));
    const RefPtr<BaseObject> made(
        labelDefinition == DUMMY_NODE ? nullptr : orv::createFromDefinition(labelDefinition));
    Label* label = kindCast<Label>(made.get());
    if (label == nullptr) {
        logWarning("InputLabel '" + source.getValue("name")->getString() +
                   "': no \"label\" that builds a Label; the input is not built");
        return nullptr;
    }
    return new InputLabel(definition, label);
}

void InputLabel::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (const PropertyValue* value = source.findValue("width")) {
        setWidth(value->getInt());
    }
    if (const PropertyValue* value = source.findValue("height")) {
        setHeight(value->getInt());
    }
    struct IntegerKey {
        std::string_view key;
        int InputLabel::*field;
    };
    static constexpr std::array<IntegerKey, 9> integerKeys{{
        {"maxlength", &InputLabel::maxLength_},
        {"cursorx", &InputLabel::cursorX_},
        {"cursory", &InputLabel::cursorY_},
        {"maxwidth", &InputLabel::maxWidth_},
        {"selcolor", &InputLabel::selColor_},
        {"selbordercolor", &InputLabel::selBorderColor_},
        {"selalpha", &InputLabel::selAlpha_},
        {"selborderalpha", &InputLabel::selBorderAlpha_},
        {"selyoffset", &InputLabel::selYOffset_},
    }};
    for (const IntegerKey& key : integerKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = value->getInt();
        }
    }
    // The text is not held to the limits here.
    if (const PropertyValue* value = source.findValue("text")) {
        text_ = value->getText();
    }
    if (const PropertyValue* value = source.findValue("stripspaces")) {
        stripSpaces_ = value->getBool();
    }
}

void* InputLabel::getInterface(const ClassRecord& interfaceRecord) {
    return widget::queryWidgetInterface(*this, interfaceRecord);
}

// --- text ------------------------------------------------------------------

int InputLabel::measure(std::wstring_view text, int count, TextExtent extent) const {
    const Font* font = label_->getFont();
    if (font == nullptr || count <= 0 || text.empty()) {
        return 0;
    }
    return font->measureText(text, 0, count, extent);
}

bool InputLabel::validate(std::wstring candidate) const {
    if (stripSpaces_) {
        candidate.erase(0, candidate.find_first_not_of(kBlank));
    }
    if (maxLength_ > 0 && candidate.size() > static_cast<std::size_t>(maxLength_)) {
        return false;
    }
    return maxWidth_ <= 0 || measure(candidate, static_cast<int>(candidate.size()),
                                     TextExtent::MaxRight) <= maxWidth_;
}

void InputLabel::setText(std::wstring_view text, bool cursorToEnd) {
    text_ = text;
    if (stripSpaces_) {
        while (!text_.empty() && text_.front() == kBlank) {
            text_.erase(0, 1);
            cursor_ = std::max(cursor_ - 1, 0);
            placeCursor();
        }
    }
    if (maxWidth_ > 0) {
        while (!text_.empty() &&
               measure(text_, static_cast<int>(text_.size()), TextExtent::MaxRight) > maxWidth_) {
            text_.pop_back();
            cursor_ = std::max(cursor_ - 1, 0);
            placeCursor();
        }
    }
    // A shorter text must not leave the selection reaching past its end.
    selStart_ = clampIndex(selStart_, text_);
    selEnd_ = clampIndex(selEnd_, text_);
    label_->setText(text_);
    label_->relayout();
    if (getFunction() != nullptr) {
        (void)call(static_cast<InputLabel*>(this));
    }
    if (cursorToEnd) {
        cursor_ = static_cast<int>(text_.size());
        placeCursor();
        collapseSelection();
    } else {
        cursor_ = clampIndex(cursor_, text_);
        placeCursor();
        updateSelectionX();
    }
}

void InputLabel::insertText(std::wstring_view text) {
    std::wstring copy = text_;
    if (selStart_ != selEnd_) {
        copy.erase(static_cast<std::size_t>(selStart_),
                   static_cast<std::size_t>(selEnd_ - selStart_));
        cursor_ = clampIndex(selStart_, text_);
        placeCursor();
        collapseSelection();
    }
    const auto at = static_cast<std::size_t>(std::clamp(cursor_, 0, static_cast<int>(copy.size())));
    copy.insert(at, text);
    if (validate(copy)) {
        setText(copy, false);
        cursor_ = clampIndex(cursor_ + static_cast<int>(text.size()), text_);
        placeCursor();
    }
    collapseSelection();
}

std::wstring InputLabel::selectedText() const {
    const int start = clampIndex(selStart_, text_);
    const int end = std::max(start, clampIndex(selEnd_, text_));
    return text_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

void InputLabel::removeSelection() {
    std::wstring result = text_;
    result.erase(static_cast<std::size_t>(selStart_),
                 static_cast<std::size_t>(selEnd_ - selStart_));
    cursor_ = clampIndex(selStart_, text_);
    placeCursor();
    setText(result, false);
}

void InputLabel::deleteAtCursor() {
    const bool selection = selStart_ != selEnd_;
    if (text_.empty() || (!selection && cursor_ >= static_cast<int>(text_.size()))) {
        return;
    }
    if (selection) {
        removeSelection();
    } else {
        std::wstring result = text_;
        result.erase(static_cast<std::size_t>(cursor_), 1);
        setText(result, false);
    }
    collapseSelection();
}

// --- cursor and selection --------------------------------------------------

void InputLabel::collapseSelection() {
    selStart_ = cursor_;
    selEnd_ = cursor_;
    selecting_ = false;
    updateSelectionX();
}

void InputLabel::updateSelectionX() {
    selStartX_ = charX(selStart_);
    selEndX_ = charX(selEnd_);
}

void InputLabel::moveCursor(int position, bool extend, bool collapse) {
    const int old = cursor_;
    cursor_ = clampIndex(position, text_);
    if (!extend) {
        if (collapse) {
            collapseSelection();
        }
        placeCursor();
        return;
    }
    // The end that stood at the old cursor follows it; from a collapsed
    // selection, the start follows a move left and the end a move right.
    const bool endFollows = old != selStart_ || (old == selEnd_ && cursor_ > selEnd_);
    (endFollows ? selEnd_ : selStart_) = cursor_;
    if (selEnd_ < selStart_) {
        std::swap(selStart_, selEnd_);
    }
    updateSelectionX();
    placeCursor();
}

void InputLabel::selectWordAt(int index) {
    const auto at = static_cast<std::size_t>(clampIndex(index, text_));
    const std::size_t blank = text_.rfind(kBlank, at);
    selStart_ = blank == std::wstring::npos ? 0 : static_cast<int>(blank) + 1;
    const std::size_t stop = text_.find_first_of(L"\t .,", at);
    const int length = static_cast<int>(text_.size());
    if (stop == std::wstring::npos) {
        selEnd_ = length;
    } else {
        const bool punctuation = text_[stop] == L'.' || text_[stop] == L',';
        selEnd_ = std::min(static_cast<int>(stop) + (punctuation ? 0 : 1), length);
    }
    updateSelectionX();
    cursor_ = clampIndex(selEnd_, text_);
    placeCursor();
    doubleClicked_ = true;
}

int InputLabel::charX(int index) {
    label_->relayout();
    return label_->getX() + label_->getOffset().first +
           measure(text_, std::min(index, static_cast<int>(text_.size())), TextExtent::MaxInkRight);
}

int InputLabel::charIndexAt(int x) {
    const int local = x - getAbsoluteX();
    if (text_.empty() || local < 1) {
        return 0;
    }
    const int length = static_cast<int>(text_.size());
    int previousX = 0;
    for (int i = 0; i <= length; ++i) {
        const int edge = charX(i);
        if (local < edge) {
            return i > 0 && std::abs(local - previousX) < std::abs(edge - local) ? i - 1 : i;
        }
        previousX = edge;
    }
    return length;
}

void InputLabel::placeCursor() {
    if (!cursorSprite_) {
        return;
    }
    cursorSprite_->setX(cursorX_ - static_cast<int>(label_->getAnchorOffsetX()) + charX(cursor_));
    cursorSprite_->setY(cursorY_ - static_cast<int>(label_->getAnchorOffsetY()) + label_->getY() +
                        label_->getOffset().second);
}

// --- focus and cursor sprite -----------------------------------------------

void InputLabel::setFocus(bool focused) {
    focused_ = focused;
    if (!cursorSprite_) {
        return;
    }
    cursorSprite_->setSuspended(!focused);
    cursorSprite_->setVisible(focused);
    if (!focused) {
        cursor_ = static_cast<int>(text_.size());
        collapseSelection();
        placeCursor();
    }
}

void InputLabel::setCursorImage(Image* image) {
    // The cursor sprite that goes also leaves the node tree, so that no
    // second cursor stays on the screen.
    if (cursorSprite_) {
        cursorSprite_->removeAllModifiers();
        cursorSprite_->setRemovalMark(true);
    }
    blink_ = nullptr;
    cursorSprite_ = nullptr;
    if (image == nullptr) {
        return;
    }
    cursorSprite_ = new Sprite(0, 0, image);
    GameTree::appendChild(cursorSprite_.get(), this);
    startBlink();
    placeCursor();
}

void InputLabel::startBlink() {
    if (!cursorSprite_) {
        return;
    }
    cursorSprite_->removeAllModifiers();
    blink_ = new ModifierBlink(0, 255, 0, 0, blinkOn_, blinkOff_, 0);
    cursorSprite_->addModifier(blink_.get(), true);
    setFocus(focused_);
}

void InputLabel::setBlinkDurations(int onMs, int offMs) {
    blinkOn_ = onMs;
    blinkOff_ = offMs;
    // The blink has no setters for its phases: a new one takes the
    // durations (it starts its cycle again).
    if (blink_) {
        startBlink();
    }
}

// --- drawing and hit test --------------------------------------------------

bool InputLabel::hitTest(int x, int y) const {
    return Sprite::hitTest(x, y) || label_->hitTest(x, y);
}

void InputLabel::render(Graphics& graphics) {
    Sprite::render(graphics);
    if (selStart_ == selEnd_) {
        return;
    }
    label_->relayout();
    const int x = getX() + selStartX_;
    const int y = label_->getY() + getY() + selYOffset_ + label_->getOffset().second;
    const int width = selEndX_ - selStartX_;
    const int height = label_->getTextHeight();
    const std::uint32_t savedColor = graphics.getColor();
    const int savedAlpha = graphics.getAlpha();
    graphics.setColor(static_cast<std::uint32_t>(selColor_));
    graphics.setAlpha(selAlpha_);
    graphics.fillRect(x, y, width, height);
    graphics.setColor(static_cast<std::uint32_t>(selBorderColor_));
    graphics.setAlpha(selBorderAlpha_);
    graphics.drawRect(x - 1, y - 1, width + 2, height + 2);
    graphics.setColor(savedColor);
    graphics.setAlpha(savedAlpha);
}

// --- events ----------------------------------------------------------------

void InputLabel::callMethod(iGuiMethod& method) {
    if (method.getFunction() != nullptr) {
        (void)method.call(static_cast<InputLabel*>(this));
    }
}

bool InputLabel::onKeyDown(int key) {
    if (!focused_) {
        return false;
    }
    const RefPtr<InputLabel> keepAlive = widget::keepAlive(this);
    switch (key) {
    case static_cast<int>(platform::VK_LEFT):
        leftHeld_ = true;
        break;
    case static_cast<int>(platform::VK_RIGHT):
        rightHeld_ = true;
        break;
    case static_cast<int>(platform::VK_DELETE):
        deleteHeld_ = true;
        break;
    case kKeyC:
        if (controlHeld() && clipboardReachable()) {
            setClipboardText(selStart_ != selEnd_ ? selectedText() : text_);
        }
        break;
    case kKeyV:
        if (controlHeld() && clipboardReachable()) {
            // An empty clipboard pastes nothing (and keeps the selection).
            const std::wstring pasted = oneLine(getClipboardText());
            if (!pasted.empty()) {
                insertText(pasted);
            }
        }
        break;
    case kKeyX:
        if (controlHeld() && clipboardReachable()) {
            if (selStart_ == selEnd_) {
                selStart_ = 0;
                selEnd_ = static_cast<int>(text_.size());
                updateSelectionX();
            }
            setClipboardText(selectedText());
            insertText(L"");
        }
        break;
    default:
        break;
    }
    if (leftHeld_) {
        moveCursor(cursor_ - 1, shiftHeld(), true);
    } else if (rightHeld_) {
        moveCursor(cursor_ + 1, shiftHeld(), true);
    } else if (deleteHeld_) {
        deleteAtCursor();
    }
    return true;
}

bool InputLabel::onKeyUp(int key) {
    if (!focused_) {
        return false;
    }
    const RefPtr<InputLabel> keepAlive = widget::keepAlive(this);
    switch (key) {
    case static_cast<int>(platform::VK_RETURN):
        setFocus(false);
        callMethod(enterCallback_);
        return true;
    case static_cast<int>(platform::VK_ESCAPE):
        setFocus(false);
        callMethod(escapeCallback_);
        return true;
    case static_cast<int>(platform::VK_TAB):
        setFocus(false);
        callMethod(tabCallback_);
        return true;
    case static_cast<int>(platform::VK_HOME):
        moveCursor(0, shiftHeld(), true);
        return true;
    case static_cast<int>(platform::VK_END):
        moveCursor(static_cast<int>(text_.size()), shiftHeld(), true);
        return true;
    case static_cast<int>(platform::VK_LEFT):
        leftHeld_ = false;
        return true;
    case static_cast<int>(platform::VK_RIGHT):
        rightHeld_ = false;
        return true;
    case static_cast<int>(platform::VK_DELETE):
        deleteHeld_ = false;
        return true;
    default:
        return false;
    }
}

bool InputLabel::onChar(int character) {
    if (!focused_) {
        return false;
    }
    const RefPtr<InputLabel> keepAlive = widget::keepAlive(this);
    if (character == kBackspace) {
        if (!text_.empty() && (cursor_ > 0 || selStart_ != selEnd_)) {
            if (selStart_ == selEnd_) {
                selStart_ = cursor_ - 1;
                selEnd_ = cursor_;
            }
            removeSelection();
            collapseSelection();
        }
        return true;
    }
    // Only whole code points the font can draw (and, when a set is given,
    // only allowed ones) are typed.
    if (character < 0 || character > kLastCodePoint ||
        (character >= kFirstSurrogate && character <= kLastSurrogate)) {
        return true;
    }
    const auto typed = static_cast<wchar_t>(character);
    const Font* font = label_->getFont();
    if (font != nullptr && font->hasGlyph(typed) &&
        (allowed_.empty() || allowed_.find(typed) != std::wstring::npos)) {
        insertText(std::wstring_view(&typed, 1));
    }
    return true;
}

bool InputLabel::onMouseMove(int x, int /*y*/, int /*flags*/) {
    if (focused_ && selecting_) {
        moveCursor(charIndexAt(x), true, true);
    }
    return false;
}

bool InputLabel::onLeftButtonDown(int x, int y, int /*flags*/, bool doubleClick) {
    if (!hitTest(x, y)) {
        if (focused_) {
            setFocus(false);
        }
        return false;
    }
    setFocus(true);
    if (doubleClick) {
        selectWordAt(charIndexAt(x));
    } else {
        // A new single press starts afresh: the release after its drag
        // extends the selection again.
        doubleClicked_ = false;
        moveCursor(charIndexAt(x), shiftHeld(), true);
        selecting_ = true;
    }
    return false;
}

bool InputLabel::onLeftButtonUp(int x, int y, int /*flags*/) {
    if (focused_) {
        if (!selecting_) {
            if (!hitTest(x, y)) {
                setFocus(false);
            }
        } else if (!doubleClicked_) {
            moveCursor(charIndexAt(x), true, true);
        }
    }
    selecting_ = false;
    return false;
}

} // namespace orv
