#pragma once

#include "engine/core/ClassRecord.h"

namespace orv {

class Graphics;

/// The drawing part of a node: the render task draws every visible node that
/// answers `getInterface(IRenderable::classRecord)` with this part.
class IRenderable {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] virtual const ClassRecord& getClassRecord() const { return classRecord; }

    IRenderable() = default;
    IRenderable(const IRenderable&) = delete;
    IRenderable& operator=(const IRenderable&) = delete;
    virtual ~IRenderable() = default;

    /// Draws into `graphics`, whose translation already holds the position of
    /// the node's parent; the node draws itself at its own position. Puts
    /// back every piece of drawing state it changes.
    virtual void render(Graphics& graphics) = 0;
};

} // namespace orv
