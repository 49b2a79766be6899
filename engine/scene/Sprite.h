#pragma once

#include "engine/core/GameNode.h"
#include "engine/graphics/Graphics.h"
#include "engine/resources/ImageContainer.h"
#include "engine/scene/IRenderable.h"

#include <optional>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// Where a sprite's anchor (or pivot) sits on its width x height box; the
/// offset it gives is subtracted from the position to find the top-left
/// corner. `Explicit` keeps an offset set by hand.
enum class AnchorKind : int {
    TopLeft = 0,
    Top = 1,
    TopRight = 2,
    Left = 3,
    Center = 4,
    Right = 5,
    BottomLeft = 6,
    Bottom = 7,
    BottomRight = 8,
    Explicit = 9,
};

/// How `nextFrame` goes on past either end of the frames.
enum class FrameWrapStyle : int {
    Once = 0,   ///< leaves the range, then falls back to frame 0
    Switch = 1, ///< runs back the other way
    Loop = 2,   ///< starts over at the other end
};

/// The drawable node that every visible thing derives from: a size, an image
/// holding one or more frames, alpha, an anchor that shifts the drawn image
/// against the node's position, a pivot for rotation and scale, optional
/// clip and stretch rectangles, and a tooltip text.
///
/// Positions are in the parent's coordinates (see `GameNode`); the clip and
/// stretch rectangles are in the same space as the position. Frames are
/// areas of the image, `frame offset` pixels apart, the first one being the
/// frame rectangle.
///
///     RefPtr<Sprite> tile(new Sprite(100, 80, image));   // sized to the image
///     tile->setFrameLayout(4, true);                      // 4 frames side by side
///     tile->setAnchorPoint(AnchorKind::Center);
///     tile->setCurrentFrame(2);
///     GameTree::appendChild(tile.get(), layer);           // the render task draws it
///
/// Main thread only.
class Sprite : public GameNode, public IRenderable, public ImageContainer {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Built from a definition node: the node keys first, then "image"
    /// ("section" and "image" name an image resource), "width", "height",
    /// "alpha", "color", "frameoffset_x", "frameoffset_y", "framecount",
    /// "currentframe", "reverseframes", "framewrapstyle", "frametime" (an
    /// endless frame animation, milliseconds per frame), "anchorpoint_x" /
    /// "anchorpoint_y" or "anchorpoint", "tooltip" (a text id), the frame
    /// layout ("initanimation", "horizontalframelayout") and "smooth". Every
    /// key is optional; a missing image is logged and leaves the sprite
    /// without one.
    explicit Sprite(PropertyNode* definition);
    /// An unnamed sprite at (x, y) holding `image` (may be null), sized to it.
    Sprite(int x, int y, Image* image);
    /// An unnamed sprite of that size at (x, y), without image.
    Sprite(int x, int y, int width, int height);
    /// A copy of `other`'s picture: position, size, frames (in the layout
    /// they have, horizontal or vertical), image, anchor, pivot, rectangles,
    /// alpha, colour, flags and tooltip. No name, links or modifiers.
    Sprite(const Sprite& other);
    Sprite& operator=(const Sprite&) = delete;
    ~Sprite() override;

    /// The object factory's create function for "Sprite".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `IRenderable` with the drawing part.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// Moving the sprite moves its stretch rectangle along.
    void setX(int x) override;
    void setY(int y) override;

    /// Size in pixels (of one frame). Recomputes the anchor and pivot offsets
    /// from their kinds and re-places the stretch rectangle.
    virtual void setWidth(int width);
    virtual void setHeight(int height);
    void setSize(int width, int height) {
        setWidth(width);
        setHeight(height);
    }
    [[nodiscard]] int getWidth() const { return width_; }
    [[nodiscard]] int getHeight() const { return height_; }

    /// Shows frame `frame`: the source rectangle becomes the frame rectangle
    /// moved by `frame` frame offsets. Nothing without a frame rectangle.
    virtual void setCurrentFrame(int frame);
    [[nodiscard]] int getCurrentFrame() const { return currentFrame_; }
    /// Steps one frame forwards (backwards when reversed), wrapping as the
    /// wrap style says; a frame still out of range becomes 0.
    void nextFrame();
    /// Lays the image (or, without one, the sprite's size) out as `count`
    /// frames side by side (`horizontal`) or stacked, sizes the sprite to one
    /// frame and shows frame 0. A negative count keeps the stored count; a
    /// count below 1 counts as 1.
    virtual void setFrameLayout(int count, bool horizontal);

    /// Radians; anything but 0 draws rotated about the pivot.
    virtual void setRotation(float radians);
    [[nodiscard]] virtual float getRotation() const { return rotation_; }
    /// Uniform factor; anything but exactly 1 draws scaled about the pivot.
    virtual void setScale(float scale);
    [[nodiscard]] virtual float getScale() const { return scale_; }

    /// An empty text removes the tooltip.
    virtual void setToolTip(std::wstring_view text);
    /// The tooltip text; null when there is none. Borrowed from the sprite.
    [[nodiscard]] const std::wstring* getToolTip() const { return toolTip_ ? &*toolTip_ : nullptr; }

    /// Whether the point (px, py), in the root's coordinates, lies on the
    /// sprite's width x height box placed by its anchor. Rotation, scale,
    /// stretch and clip are not considered.
    [[nodiscard]] virtual bool hitTest(int px, int py) const;

    /// Holds `image` (may be null): sizes the sprite to it and lays it out as
    /// a vertical strip of the image's own frame count.
    void setImage(Image* image) override;
    /// Sizes the sprite to its image (0 x 0 without one).
    void sizeToImage();

    /// 0..255, handed to the drawing interface while the sprite draws.
    virtual void setAlpha(int alpha);
    [[nodiscard]] int getAlpha() const { return alpha_; }
    /// Kept for the kinds that draw with a colour; the sprite's own drawing
    /// does not use it.
    virtual void setColor(int color);
    [[nodiscard]] int getColor() const { return color_; }

    /// Left and top edge of the drawn box in the parent's coordinates (the
    /// anchor offset truncated toward zero).
    [[nodiscard]] virtual int getLeft() const;
    [[nodiscard]] virtual int getTop() const;

    void setFrameRect(int x, int y, int width, int height);
    void setSourceRect(int x, int y, int width, int height);
    void setClipRect(int x, int y, int width, int height);
    void setStretchRect(int x, int y, int width, int height);
    [[nodiscard]] const std::optional<Rect>& getFrameRect() const { return frameRect_; }
    [[nodiscard]] const std::optional<Rect>& getSourceRect() const { return sourceRect_; }
    [[nodiscard]] const std::optional<Rect>& getClipRect() const { return clipRect_; }
    [[nodiscard]] const std::optional<Rect>& getStretchRect() const { return stretchRect_; }
    /// Places the stretch rectangle `width` wide so that the pivot stays
    /// where it is; creates it (with the sprite's height) when missing.
    void setStretchWidth(int width);
    void setStretchHeight(int height);
    /// Drops the stretch rectangle: the picture is drawn at its own size again.
    void clearStretchRect() {
        stretchRect_.reset();
        dirty_ = true;
    }
    /// When set (the default) and a clip rectangle exists, the clip also
    /// applies to the sprite's descendants while they are drawn.
    void setClipChildren(bool clip) { clipChildren_ = clip; }
    [[nodiscard]] bool getClipChildren() const { return clipChildren_; }

    /// Anchor from a kind (kinds outside the table are ignored); with pivot
    /// follows anchor, the pivot too.
    void setAnchorPoint(AnchorKind kind);
    /// An explicit anchor offset (kind `Explicit`); with pivot follows
    /// anchor, the pivot too.
    void setAnchorOffset(float x, float y);
    void setAnchorOffsetPoint(PointF point) { setAnchorOffset(point.x, point.y); }
    [[nodiscard]] AnchorKind getAnchorKind() const { return anchorKind_; }
    [[nodiscard]] float getAnchorOffsetX() const { return anchorX_; }
    [[nodiscard]] float getAnchorOffsetY() const { return anchorY_; }
    /// An explicit pivot, relative to the image's top-left corner.
    void setPivotOffset(float x, float y);
    void setPivotOffsetPoint(PointF point) { setPivotOffset(point.x, point.y); }
    [[nodiscard]] AnchorKind getPivotKind() const { return pivotKind_; }
    [[nodiscard]] float getPivotOffsetX() const { return pivotX_; }
    [[nodiscard]] float getPivotOffsetY() const { return pivotY_; }
    void setPivotFollowsAnchor(bool follows) { pivotFollowsAnchor_ = follows; }
    [[nodiscard]] bool getPivotFollowsAnchor() const { return pivotFollowsAnchor_; }

    [[nodiscard]] int getFrameCount() const { return frameCount_; }
    void setFrameCount(int count) { frameCount_ = count; }
    [[nodiscard]] int getFrameOffsetX() const { return frameOffsetX_; }
    [[nodiscard]] int getFrameOffsetY() const { return frameOffsetY_; }
    [[nodiscard]] bool isReverseFrames() const { return reverseFrames_; }
    void setReverseFrames(bool reverse) { reverseFrames_ = reverse; }
    [[nodiscard]] FrameWrapStyle getFrameWrapStyle() const { return frameWrapStyle_; }
    void setFrameWrapStyle(FrameWrapStyle style) { frameWrapStyle_ = style; }
    [[nodiscard]] bool isSmooth() const { return smooth_; }
    void setSmooth(bool smooth);

    /// Set by every change of the picture, cleared by each drawing.
    [[nodiscard]] bool isDirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }

    /// Draws the current frame with the sprite's alpha and smoothing at its
    /// position minus the anchor offset, inside its clip rectangle.
    void render(Graphics& graphics) override;

private:
    void readDefinition(PropertyNode* definition);
    void recomputeAnchor();
    void recomputePivot();
    // Sets `rect` to the four values, creating it; true when it changed.
    bool assignRect(std::optional<Rect>& rect, int x, int y, int width, int height);

    int currentFrame_ = 0;
    bool dirty_ = true;
    int width_ = 0;
    int height_ = 0;
    std::optional<Rect> frameRect_;
    std::optional<Rect> sourceRect_;
    std::optional<Rect> clipRect_;
    bool clipChildren_ = true;
    std::optional<Rect> stretchRect_;
    float rotation_ = 0.0F;
    float scale_ = 1.0F;
    int frameCount_ = 1;
    int frameOffsetX_ = 0;
    int frameOffsetY_ = 0;
    bool reverseFrames_ = false;
    FrameWrapStyle frameWrapStyle_ = FrameWrapStyle::Loop;
    int alpha_ = 255;
    int color_ = 0;
    bool smooth_ = false;
    float anchorX_ = 0.0F;
    float anchorY_ = 0.0F;
    AnchorKind anchorKind_ = AnchorKind::TopLeft;
    float pivotX_ = 0.0F;
    float pivotY_ = 0.0F;
    AnchorKind pivotKind_ = AnchorKind::TopLeft;
    std::optional<std::wstring> toolTip_;
    bool pivotFollowsAnchor_ = true;
};

} // namespace orv
