#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/graphics/StyleFormatTarget.h"
#include "engine/scene/Label.h"
#include "engine/scene/Sprite.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PropertyNode;

/// One finished line of a styled text: its runs in placement order.
class StyleLine : public BaseObject {
public:
    /// The runs; each holds a reference.
    std::vector<RefPtr<Label>> runs;
};

/// A sprite that shows a text written in a small markup: tags in square
/// brackets switch fonts, colours, alignment and wrapping inside the text,
/// float images in it, break lines and jump to tab stops. The text is laid
/// out as runs (one plain `Label` per word or text segment) placed on lines
/// and rendered once into the sprite's own image whenever the text changes;
/// then it draws like any sprite.
///
/// Markup: "[name]" or "[name=value]" (no "]" inside a value, names and
/// values case-sensitive; the tags are the `StyleFormat` kinds, for example
/// "[color=#ff0000]red[/color]", "[br]", "[alignh=center]", "[tab]"). A
/// backslash before "[" writes the bracket itself. Blanks and line breaks
/// separate runs. An unknown tag, or a tag without its "]", is logged and
/// ignored. The state that tags set (font, colours, alignments, wrap style,
/// tab stops, the width) is not reset between texts: a tag left open in one
/// text still acts at the start of the next.
///
/// Sizes are pixels. "width" and "height" of the definition give the area
/// that wrapping uses; with "autofitheight" (the default) the label grows to
/// its text. Definition keys after the `Sprite` keys (all optional): "font"
/// with "section" (a loaded font resource), "color" (pushed as the first
/// colour), "wrapstyle" ("autowidth", "wordwrap", "truncate"), "alignh"
/// ("left", "center", "right"), "autofitheight" (Boolean), and the text:
/// "text", else "value", else the text table's entry "textid".
///
///     RefPtr<StyleLabel> hint(new StyleLabel(font, 10, 10, 200, 0));
///     hint->setText(L"Match [color=#ffff0000]two[/color] free tiles");
///     GameTree::appendChild(hint.get(), layer);
///
/// Main thread only; fonts and images are looked up under the resource
/// manager's data lock.
class StyleLabel : public Sprite, public StyleFormatTarget {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Built from a definition node (keys above); a text key lays it out.
    explicit StyleLabel(PropertyNode* definition);
    /// An unnamed styled label at (x, y) with an area of `width` x `height`
    /// and `font` as the font of its text (a reference is taken; may be null),
    /// autowidth, left-aligned, fitting its height, no text.
    StyleLabel(Font* font, int x, int y, int width, int height);
    StyleLabel(const StyleLabel&) = delete;
    StyleLabel& operator=(const StyleLabel&) = delete;
    ~StyleLabel() override;

    /// The object factory's create function for "StyleLabel".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Stores `text` with every backslash-n turned into a line break and,
    /// when that differs from the current text, rebuilds.
    virtual void setText(std::wstring_view text);
    [[nodiscard]] const std::wstring& getText() const { return text_; }
    /// Parses and lays the text out, then renders the image.
    virtual void rebuild();

    /// When set, closed lines and the end of the text grow the label.
    void setAutoFitHeight(bool autoFit) { autoFitHeight_ = autoFit; }
    [[nodiscard]] bool getAutoFitHeight() const { return autoFitHeight_; }

    /// The lines of the last layout (the last one included), borrowed.
    [[nodiscard]] const std::vector<RefPtr<StyleLine>>& getLines() const { return lines_; }
    /// The floating images of the last layout, borrowed.
    [[nodiscard]] const std::vector<RefPtr<Sprite>>& getFloatingImages() const {
        return floatingImages_;
    }
    /// Right edge of the most recently placed run.
    [[nodiscard]] int getLastRight() const { return lastRight_; }

    // The tags' view of the label.
    [[nodiscard]] StyleLayoutState& getLayoutState() override { return state_; }
    [[nodiscard]] const StyleLayoutState& getLayoutState() const { return state_; }
    void newLine() override;
    [[nodiscard]] int getAreaWidth() const override { return getWidth(); }
    [[nodiscard]] int getAreaHeight() const override { return getHeight(); }
    void setAreaWidth(int width) override { setWidth(width); }
    void setAreaHeight(int height) override { setHeight(height); }
    /// From the resource manager, under its data lock; null without one.
    [[nodiscard]] RefPtr<Font> findFont(std::string_view name, std::string_view section) override;
    [[nodiscard]] RefPtr<Image> findImage(std::string_view name, std::string_view section) override;
    void addFloatingImage(Image* image, int x, int y) override;
    [[nodiscard]] std::string describeTarget() const override;

private:
    void readDefinition(PropertyNode* definition);
    void parse();
    void parseTag(std::wstring& text);
    void emitRun(const std::wstring& text);
    // Moves `run` to the start of the next line when it may wrap there
    // (with `mustMoveDown`, only when that line lies lower); otherwise
    // empties it. True when it moved.
    bool wrapRun(Label& run, int runWidth, bool mustMoveDown);
    void truncateRun(Label& run, int runWidth);
    void avoidFloatingImages(Label& run);
    void startLine();
    void renderImage();

    StyleLayoutState state_;
    std::vector<RefPtr<Sprite>> floatingImages_;
    std::vector<RefPtr<StyleLine>> lines_;
    bool autoFitHeight_ = true;
    std::wstring text_;
    std::size_t position_ = 0;
    std::size_t segmentStart_ = 0;
    int nextLineHeight_ = 0;
    int lastRight_ = 0;
    // Set when a truncated run closed the current line: the rest of the line
    // is dropped until the next line starts.
    bool lineTruncated_ = false;
    RefPtr<StyleLine> currentLine_;
};

} // namespace orv
