#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/TextLine.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListener.h"
#include "engine/scene/Sprite.h"

#include <string>
#include <string_view>

namespace orv {

class Image;
class Label;
class ModifierBlink;
class PropertyNode;

/// A single-line text entry field: a sprite (its image is the field's
/// background) with a `Label` child that shows the text, an optional cursor
/// sprite child that blinks while the field has the focus, and a selection
/// rectangle drawn under the text.
///
/// While focused it takes the keyboard: typed characters (those the label's
/// font can draw, and, when set, only the allowed ones), Backspace, Delete,
/// Left, Right, Home, End (Shift held extends the selection), Ctrl+C, Ctrl+X
/// and Ctrl+V through the game window's clipboard; Enter, Escape and Tab
/// take the focus away and call their own callbacks. The mouse places the
/// cursor, drags a selection and selects a word by double click. The text is
/// limited by a character count ("maxlength", for insertions) and by a pixel
/// width ("maxwidth": insertions that would pass it are refused; `setText`
/// cuts the end off). A field holds one line: pasted text loses its control
/// characters (line breaks, tabs).
///
/// Every change of the text calls the main callback slot as
/// function(context, input); the Enter, Escape and Tab callbacks get the
/// input too. A callback may drop the last reference to the field: a field
/// held by a reference stays alive until the event is done.
///
/// Positions of characters (`charX`, the selection's pixel ends, the
/// cursor sprite's place) are in the input's own coordinates; events come
/// in window client pixels. Character indices count wide characters (one
/// code point each).
///
/// Definition keys, after the `Sprite` keys: "label" (required: a node the
/// object factory builds, a `Label`), "width", "height", "maxlength",
/// "text", "cursorx", "cursory", "stripspaces", "maxwidth", "selcolor",
/// "selbordercolor", "selalpha", "selborderalpha", "selyoffset",
/// "cursorimage" with "section", "durationon", "durationoff".
///
///     RefPtr<InputLabel> name(kindCast<InputLabel>(createFromDefinition(nameDefinition)));
///     name->setText(L"Player", true);
///     name->getEnterCallback().setMethod(&NameDialog::onOk, dialog);
///     dialogContainer.addListener(name.get(), &NameDialog::onNameChanged, dialog);
///     name->setFocus(true);
///
/// Main thread only.
class InputLabel : public Sprite, public iInputListener, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Built from a definition node (keys above) around `label`, built
    /// beforehand from the definition's "label" (not null; the input takes a
    /// reference and makes it its child).
    InputLabel(PropertyNode* definition, Label* label);
    InputLabel(const InputLabel&) = delete;
    InputLabel& operator=(const InputLabel&) = delete;
    ~InputLabel() override;

    /// The object factory's create function for "InputLabel": null (logged)
    /// for a definition without a "label" that builds a `Label`.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `iInputListener`, `iGuiMethod` and `IRenderable` with those
    /// parts; null for anything else.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    [[nodiscard]] const std::wstring& getText() const { return text_; }
    /// Replaces the text, then applies "stripspaces" (leading blanks go, the
    /// cursor one left for each) and "maxwidth" (the last character goes
    /// while the text is too wide, the cursor one left for each); the
    /// character count is not applied. Shows it, calls the main callback,
    /// and puts the cursor at the end (collapsing the selection) or keeps it
    /// inside the text.
    void setText(std::wstring_view text, bool cursorToEnd);
    /// Inserts `text` at the cursor in place of the selection when the
    /// result stays within the limits; otherwise the text is unchanged. The
    /// selection collapses at the cursor either way.
    void insertText(std::wstring_view text);
    /// The characters from the selection's start to its end.
    [[nodiscard]] std::wstring selectedText() const;

    /// Focused, the field takes the keyboard and shows its cursor; unfocused
    /// it hides the cursor and (with a cursor sprite) moves it to the end,
    /// collapsing the selection.
    void setFocus(bool focused);
    [[nodiscard]] bool isFocused() const { return focused_; }

    /// Moves the cursor to `position` (clamped to the text). With `extend`,
    /// the selection end at the old cursor follows it; without, `collapse`
    /// collapses the selection at the cursor.
    void moveCursor(int position, bool extend, bool collapse);
    [[nodiscard]] int getCursor() const { return cursor_; }
    [[nodiscard]] int getSelectionStart() const { return selStart_; }
    [[nodiscard]] int getSelectionEnd() const { return selEnd_; }
    /// Pixel ends of the selection, from `charX`.
    [[nodiscard]] int getSelectionStartX() const { return selStartX_; }
    [[nodiscard]] int getSelectionEndX() const { return selEndX_; }

    /// Where character `index` begins, in the input's coordinates: the
    /// label's x, plus its laid-out text's x, plus the ink width of the first
    /// `index` characters (0 without a font).
    [[nodiscard]] int charX(int index);
    /// The index of the character boundary nearest to window x `x`.
    [[nodiscard]] int charIndexAt(int x);
    /// Puts the cursor sprite at the cursor.
    void placeCursor();

    /// A new cursor sprite showing `image`, blinking; null removes the
    /// cursor sprite. The previous cursor sprite leaves the node tree.
    void setCursorImage(Image* image);
    /// (Re)starts the cursor's blinking with the stored durations.
    void startBlink();
    /// Milliseconds the cursor is shown and hidden.
    void setBlinkDurations(int onMs, int offMs);
    [[nodiscard]] int getBlinkOn() const { return blinkOn_; }
    [[nodiscard]] int getBlinkOff() const { return blinkOff_; }

    /// When not empty, only these characters can be typed.
    void setAllowedCharacters(std::wstring_view characters) { allowed_ = characters; }
    [[nodiscard]] int getMaxLength() const { return maxLength_; }
    [[nodiscard]] int getMaxWidth() const { return maxWidth_; }
    [[nodiscard]] bool getStripSpaces() const { return stripSpaces_; }

    /// Callbacks of Enter, Escape and Tab; the owner fills them.
    [[nodiscard]] iGuiMethod& getEnterCallback() { return enterCallback_; }
    [[nodiscard]] iGuiMethod& getEscapeCallback() { return escapeCallback_; }
    [[nodiscard]] iGuiMethod& getTabCallback() { return tabCallback_; }

    /// Borrowed from the input; the cursor sprite and blink may be null.
    [[nodiscard]] Label* getLabel() const { return label_.get(); }
    [[nodiscard]] Sprite* getCursorSprite() const { return cursorSprite_.get(); }
    [[nodiscard]] ModifierBlink* getBlink() const { return blink_.get(); }

    /// The sprite's box, or else the label's.
    [[nodiscard]] bool hitTest(int x, int y) const override;
    /// The background, then the selection rectangle with its frame.
    void render(Graphics& graphics) override;

    /// Focused: the editing keys (see the class comment); always handled.
    bool onKeyDown(int key) override;
    /// Focused: Enter, Escape, Tab, Home, End and the release of Left,
    /// Right and Delete are handled.
    bool onKeyUp(int key) override;
    /// Focused: Backspace, or a typed character; always handled.
    bool onChar(int character) override;
    /// Extends a mouse selection under way. Not handled.
    bool onMouseMove(int x, int y, int flags) override;
    /// Takes or loses the focus, places the cursor or selects a word. Not
    /// handled, so other listeners see the press too.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// Ends a mouse selection. Not handled.
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// The field keeps its state.
    void reset() override {}

private:
    void readDefinition(PropertyNode* definition);
    // Text width of `text` with `extent`; 0 without a font.
    [[nodiscard]] int measure(std::wstring_view text, int count, TextExtent extent) const;
    [[nodiscard]] bool validate(std::wstring candidate) const;
    void collapseSelection();
    void updateSelectionX();
    void selectWordAt(int index);
    void deleteAtCursor();
    void removeSelection();
    void callMethod(iGuiMethod& method);

    std::wstring text_;
    std::wstring allowed_;
    bool focused_ = false;
    bool leftHeld_ = false;
    bool rightHeld_ = false;
    bool deleteHeld_ = false;
    bool selecting_ = false;
    bool doubleClicked_ = false;
    int selStartX_ = 0;
    int selEndX_ = 0;
    int selStart_ = 0;
    int selEnd_ = 0;
    int selColor_ = 0xFF00FF;
    int selBorderColor_ = 0;
    int selAlpha_ = 128;
    int selBorderAlpha_ = 255;
    int selYOffset_ = 0;
    int maxLength_ = -1;
    int cursor_ = 0;
    RefPtr<Sprite> cursorSprite_;
    int cursorX_ = 0;
    int cursorY_ = 0;
    int blinkOn_ = 500;
    int blinkOff_ = 500;
    bool stripSpaces_ = false;
    int maxWidth_ = -1;
    iGuiMethod enterCallback_;
    iGuiMethod escapeCallback_;
    iGuiMethod tabCallback_;
    RefPtr<Label> label_;
    RefPtr<ModifierBlink> blink_;
};

} // namespace orv
