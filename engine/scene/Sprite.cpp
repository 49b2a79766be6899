#include "engine/scene/Sprite.h"

#include <cmath>

namespace orv {

constinit const ClassRecord Sprite::classRecord{
    "Sprite", parentRecords<GameNode::classRecord, IRenderable::classRecord>};

namespace {

// The integer nearest to `value`, ties to even (the default rounding mode).
int nearest(float value) {
    return static_cast<int>(std::nearbyint(value));
}

// The offset an anchor kind gives on a width x height box; nullopt for the
// explicit kind, which keeps its offset.
std::optional<PointF> anchorOffsetFor(AnchorKind kind, int width, int height) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    switch (kind) {
    case AnchorKind::TopLeft:
        return PointF{0.0F, 0.0F};
    case AnchorKind::Top:
        return PointF{w * 0.5F, 0.0F};
    case AnchorKind::TopRight:
        return PointF{w, 0.0F};
    case AnchorKind::Left:
        return PointF{0.0F, h * 0.5F};
    case AnchorKind::Center:
        return PointF{w * 0.5F, h * 0.5F};
    case AnchorKind::Right:
        return PointF{w, h * 0.5F};
    case AnchorKind::BottomLeft:
        return PointF{0.0F, h};
    case AnchorKind::Bottom:
        return PointF{w * 0.5F, h};
    case AnchorKind::BottomRight:
        return PointF{w, h};
    case AnchorKind::Explicit:
        break;
    }
    return std::nullopt;
}

bool isAnchorKind(AnchorKind kind) {
    const auto value = static_cast<int>(kind);
    return value >= static_cast<int>(AnchorKind::TopLeft) &&
           value <= static_cast<int>(AnchorKind::Explicit);
}

} // namespace

Sprite::Sprite(PropertyNode* definition) : GameNode(definition) {
    readDefinition(definition);
}

Sprite::Sprite(int x, int y, Image* image) {
    GameNode::setX(x);
    GameNode::setY(y);
    setImage(image);
}

Sprite::Sprite(int x, int y, int width, int height) {
    GameNode::setX(x);
    GameNode::setY(y);
    setWidth(width);
    setHeight(height);
}

Sprite::Sprite(const Sprite& other)
    : GameNode(other), IRenderable(), ImageContainer(), currentFrame_(other.currentFrame_),
      width_(other.width_), height_(other.height_), clipChildren_(other.clipChildren_),
      rotation_(other.rotation_), scale_(other.scale_), frameCount_(other.frameCount_),
      frameOffsetX_(other.frameOffsetX_), frameOffsetY_(other.frameOffsetY_),
      reverseFrames_(other.reverseFrames_), frameWrapStyle_(other.frameWrapStyle_),
      alpha_(other.alpha_), color_(other.color_), smooth_(other.smooth_), anchorX_(other.anchorX_),
      anchorY_(other.anchorY_), anchorKind_(other.anchorKind_), pivotX_(other.pivotX_),
      pivotY_(other.pivotY_), pivotKind_(other.pivotKind_), toolTip_(other.toolTip_),
      pivotFollowsAnchor_(other.pivotFollowsAnchor_) {
    // The image is taken without `setImage`, whose vertical re-layout would
    // turn a copy of a horizontal strip into a vertical one: the frames,
    // size and rectangles are the other's, exactly as they are.
    ImageContainer::setImage(other.getImage());
    frameRect_ = other.frameRect_;
    sourceRect_ = other.sourceRect_;
    clipRect_ = other.clipRect_;
    stretchRect_ = other.stretchRect_;
}

Sprite::~Sprite() = default;

BaseObject* Sprite::createFromDefinition(PropertyNode* definition) {
    return new Sprite(definition);
}

void* Sprite::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &IRenderable::classRecord) {
        return static_cast<IRenderable*>(this);
    }
    return GameNode::getInterface(interfaceRecord);
}

void Sprite::setX(int x) {
    GameNode::setX(x);
    if (stretchRect_) {
        setStretchWidth(stretchRect_->width);
    }
}

void Sprite::setY(int y) {
    GameNode::setY(y);
    if (stretchRect_) {
        setStretchHeight(stretchRect_->height);
    }
}

void Sprite::setWidth(int width) {
    if (width != width_) {
        dirty_ = true;
    }
    width_ = width;
    recomputeAnchor();
    recomputePivot();
    if (stretchRect_) {
        setStretchWidth(stretchRect_->width);
    }
}

void Sprite::setHeight(int height) {
    if (height != height_) {
        dirty_ = true;
    }
    height_ = height;
    recomputeAnchor();
    recomputePivot();
    if (stretchRect_) {
        setStretchHeight(stretchRect_->height);
    }
}

void Sprite::recomputeAnchor() {
    if (const auto offset = anchorOffsetFor(anchorKind_, width_, height_)) {
        anchorX_ = offset->x;
        anchorY_ = offset->y;
    }
}

void Sprite::recomputePivot() {
    if (const auto offset = anchorOffsetFor(pivotKind_, width_, height_)) {
        pivotX_ = offset->x;
        pivotY_ = offset->y;
    }
}

void Sprite::setCurrentFrame(int frame) {
    if ((frame == currentFrame_ && sourceRect_) || !frameRect_) {
        return;
    }
    currentFrame_ = frame;
    const Rect first = *frameRect_;
    setSourceRect(first.x + frame * frameOffsetX_, first.y + frame * frameOffsetY_, first.width,
                  first.height);
}

void Sprite::nextFrame() {
    int frame = currentFrame_ + (reverseFrames_ ? -1 : 1);
    if (frame >= frameCount_) {
        if (frameWrapStyle_ == FrameWrapStyle::Switch) {
            frame -= 2;
            reverseFrames_ = !reverseFrames_;
        } else if (frameWrapStyle_ == FrameWrapStyle::Loop) {
            frame = 0;
        }
    } else if (frame < 0) {
        if (frameWrapStyle_ == FrameWrapStyle::Switch) {
            frame += 2;
            reverseFrames_ = !reverseFrames_;
        } else if (frameWrapStyle_ == FrameWrapStyle::Loop) {
            frame = frameCount_ - 1;
        }
    }
    if (frame < 0 || frame >= frameCount_) {
        frame = 0;
    }
    setCurrentFrame(frame);
}

void Sprite::setFrameLayout(int count, bool horizontal) {
    if (count >= 0) {
        frameCount_ = count;
    }
    // A count of 0 would divide by zero below; one frame is the whole area.
    const int frames = frameCount_ < 1 ? 1 : frameCount_;
    const Image* image = getImage();
    const int fullWidth = image != nullptr ? image->getWidth() : width_;
    const int fullHeight = image != nullptr ? image->getHeight() : height_;
    if (horizontal) {
        const int frameWidth = fullWidth / frames;
        setWidth(frameWidth);
        setFrameRect(0, 0, frameWidth, fullHeight);
        setSourceRect(0, 0, frameWidth, fullHeight);
        frameOffsetX_ = frameWidth;
        frameOffsetY_ = 0;
    } else {
        const int frameHeight = fullHeight / frames;
        setHeight(frameHeight);
        setFrameRect(0, 0, fullWidth, frameHeight);
        setSourceRect(0, 0, fullWidth, frameHeight);
        frameOffsetX_ = 0;
        frameOffsetY_ = frameHeight;
    }
    setCurrentFrame(0);
}

void Sprite::setRotation(float radians) {
    if (radians != rotation_) {
        rotation_ = radians;
        dirty_ = true;
    }
}

void Sprite::setScale(float scale) {
    if (scale != scale_) {
        scale_ = scale;
        dirty_ = true;
    }
}

void Sprite::setToolTip(std::wstring_view text) {
    if (text.empty()) {
        toolTip_.reset();
    } else {
        toolTip_ = std::wstring(text);
    }
}

bool Sprite::hitTest(int px, int py) const {
    const int localX = px + nearest(anchorX_) - getParentX() - getX();
    const int localY = py + nearest(anchorY_) - getParentY() - getY();
    return localX >= 0 && localX < width_ && localY >= 0 && localY < height_;
}

void Sprite::setImage(Image* image) {
    if (image == getImage()) {
        return;
    }
    ImageContainer::setImage(image);
    sizeToImage();
    dirty_ = true;
    if (image != nullptr) {
        setFrameLayout(image->getFrameCount(), false);
    }
}

void Sprite::sizeToImage() {
    const Image* image = getImage();
    setWidth(image != nullptr ? image->getWidth() : 0);
    setHeight(image != nullptr ? image->getHeight() : 0);
}

void Sprite::setAlpha(int alpha) {
    if (alpha != alpha_) {
        alpha_ = alpha;
        dirty_ = true;
    }
}

void Sprite::setColor(int color) {
    if (color != color_) {
        color_ = color;
        dirty_ = true;
    }
}

void Sprite::setSmooth(bool smooth) {
    if (smooth != smooth_) {
        smooth_ = smooth;
        dirty_ = true;
    }
}

int Sprite::getLeft() const {
    return getX() - static_cast<int>(anchorX_);
}

int Sprite::getTop() const {
    return getY() - static_cast<int>(anchorY_);
}

bool Sprite::assignRect(std::optional<Rect>& rect, int x, int y, int width, int height) {
    const Rect wanted{x, y, width, height};
    if (rect && *rect == wanted) {
        return false;
    }
    rect = wanted;
    return true;
}

void Sprite::setFrameRect(int x, int y, int width, int height) {
    if (assignRect(frameRect_, x, y, width, height)) {
        dirty_ = true;
    }
}

void Sprite::setSourceRect(int x, int y, int width, int height) {
    if (assignRect(sourceRect_, x, y, width, height)) {
        dirty_ = true;
    }
}

void Sprite::setClipRect(int x, int y, int width, int height) {
    if (assignRect(clipRect_, x, y, width, height)) {
        dirty_ = true;
    }
}

void Sprite::setStretchRect(int x, int y, int width, int height) {
    if (assignRect(stretchRect_, x, y, width, height)) {
        dirty_ = true;
    }
}

void Sprite::setStretchWidth(int width) {
    // The pivot keeps its place on the screen while the drawn width changes.
    const float shift =
        width_ != 0
            ? pivotX_ - static_cast<float>(width) * pivotX_ / static_cast<float>(width_) - anchorX_
            : pivotX_ - anchorX_;
    const int left = getX() + nearest(shift);
    if (!stretchRect_) {
        stretchRect_ = Rect{left, getY() + nearest(pivotY_ - anchorY_), width, height_};
        dirty_ = true;
        return;
    }
    stretchRect_->x = left;
    if (stretchRect_->width != width) {
        stretchRect_->width = width;
        dirty_ = true;
    }
}

void Sprite::setStretchHeight(int height) {
    const float shift =
        height_ != 0
            ? pivotY_ - static_cast<float>(height) * pivotY_ / static_cast<float>(height_) -
                  anchorY_
            : pivotY_ - anchorY_;
    const int top = getY() + nearest(shift);
    if (!stretchRect_) {
        stretchRect_ = Rect{getX() + nearest(pivotX_ - anchorX_), top, width_, height};
        dirty_ = true;
        return;
    }
    stretchRect_->y = top;
    if (stretchRect_->height != height) {
        stretchRect_->height = height;
        dirty_ = true;
    }
}

void Sprite::setAnchorPoint(AnchorKind kind) {
    if (!isAnchorKind(kind)) {
        return;
    }
    if (kind != anchorKind_) {
        anchorKind_ = kind;
        recomputeAnchor();
        dirty_ = true;
    }
    if (pivotFollowsAnchor_ && kind != pivotKind_) {
        pivotKind_ = kind;
        recomputePivot();
        dirty_ = true;
    }
}

void Sprite::setAnchorOffset(float x, float y) {
    if (x != anchorX_ || y != anchorY_ || anchorKind_ != AnchorKind::Explicit) {
        anchorX_ = x;
        anchorY_ = y;
        anchorKind_ = AnchorKind::Explicit;
        dirty_ = true;
    }
    if (pivotFollowsAnchor_) {
        setPivotOffset(x, y);
    }
}

void Sprite::setPivotOffset(float x, float y) {
    if (x != pivotX_ || y != pivotY_ || pivotKind_ != AnchorKind::Explicit) {
        pivotX_ = x;
        pivotY_ = y;
        pivotKind_ = AnchorKind::Explicit;
        dirty_ = true;
    }
}

void Sprite::render(Graphics& graphics) {
    Image* image = getImage();
    if (image == nullptr) {
        dirty_ = false;
        return;
    }
    const int savedAlpha = graphics.getAlpha();
    const bool savedSmooth = graphics.isSmooth();
    graphics.setAlpha(alpha_);
    graphics.setSmooth(smooth_);

    const int x = getX() - nearest(anchorX_);
    const int y = getY() - nearest(anchorY_);
    std::optional<Rect> savedClip;
    if (clipRect_) {
        savedClip = graphics.getClip();
        graphics.intersectClip(clipRect_->x + getParentX(), clipRect_->y + getParentY(),
                               clipRect_->width, clipRect_->height);
    }
    const Rect source = sourceRect_.value_or(Rect{0, 0, image->getWidth(), image->getHeight()});
    if (rotation_ == 0.0F && scale_ == 1.0F) {
        if (stretchRect_) {
            graphics.drawImageStretched(*image, source.x, source.y, source.width, source.height,
                                        stretchRect_->x, stretchRect_->y, stretchRect_->width,
                                        stretchRect_->height);
        } else {
            graphics.drawImage(*image, x, y, source);
        }
    } else {
        // Rotated and scaled about the pivot; the stretch rectangle is not used.
        graphics.drawImageRotoZoom(*image, rotation_, scale_, x, y, source.x, source.y,
                                   source.width, source.height, nearest(pivotX_), nearest(pivotY_));
    }

    graphics.setSmooth(savedSmooth);
    graphics.setAlpha(savedAlpha);
    if (savedClip) {
        graphics.setClip(*savedClip);
    }
    dirty_ = false;
}

} // namespace orv
