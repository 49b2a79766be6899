#pragma once

// Pieces shared by the widgets (buttons, switches, sliders, text inputs):
// reading optional definition keys, looking images up, the box-and-alpha hit
// test, playing a widget's sounds, showing a frame after a new frame layout,
// the hover mark that counts in `hoverCount`, and keeping a widget alive
// while its callback runs.

#include "engine/core/ClassRecord.h"
#include "engine/core/RefPtr.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListener.h"
#include "engine/scene/IRenderable.h"

#include <string>
#include <string_view>

namespace orv {

class Image;
class PropertyNode;
class PropertyValue;
class Sprite;

namespace widget {

/// The image `name` of resource section `section`, looked up under the
/// resources' data lock (the reference is taken under the lock). Null when
/// there is no resource manager or the section has no such image; the
/// caller logs what it leaves out.
[[nodiscard]] RefPtr<Image> findImage(const std::string& name, const std::string& section);
/// The same, loading the image at once when its section has not loaded it.
[[nodiscard]] RefPtr<Image> findLoadedImage(const std::string& name, const std::string& section);

/// The button hit test of `sprite` at (x, y), window client pixels: the
/// sprite's width x height box, its left and top edge being the sum of its
/// ancestors' and its own position minus the anchor offset (truncated toward
/// zero). Inside the box, with `hitMask` (may be null) the mask's alpha at
/// the local point must be above 128; else, with `threshold` 0 or more, the
/// alpha of the sprite's own image at the local point (the first frame's
/// area) must be above `threshold`; else every point of the box hits. A
/// point outside the tested image, or an image whose alpha cannot be read,
/// misses.
[[nodiscard]] bool hitBox(const Sprite& sprite, int x, int y, Image* hitMask, int threshold);

/// Plays sound `id` of resource section `section` once at volume 255, pan
/// 128. Nothing for an empty id, without a resource manager, or while the
/// section is not loaded; an id the section does not know is logged with
/// `owner` (the widget's kind and name) and skipped.
void playSound(std::string_view owner, const std::string& id, const std::string& section);

/// Shows frame `frame` of `sprite` by the sprite's own rule, also when the
/// sprite believes it already shows it (a new frame layout puts the source
/// rectangle back on frame 0 without telling the frame number).
void showFrame(Sprite& sprite, int frame);

/// A reference that keeps `object` alive while a callback runs (the callback
/// may close the dialog and drop the last reference while the event still
/// needs the widget). Null for an object that no reference holds: the count
/// never destroys it, and a guard's release would.
template <class T>
[[nodiscard]] RefPtr<T> keepAlive(T* object) {
    return RefPtr<T>(object->getRefCount() > 0 ? object : nullptr);
}

/// A widget's share of the process-wide `hoverCount`: one while set. The
/// count is given back when the mark is cleared and when it is destroyed.
/// Main thread only.
class HoverMark {
public:
    HoverMark() = default;
    HoverMark(const HoverMark&) = delete;
    HoverMark& operator=(const HoverMark&) = delete;
    ~HoverMark() { set(false); }

    /// Moves `hoverCount` by one when the mark changes.
    void set(bool hovered);
    [[nodiscard]] bool isSet() const { return hovered_; }

private:
    bool hovered_ = false;
};

/// The interface query of a widget that is at once a sprite, an input
/// listener and a callback holder: its listener, callback and renderable
/// parts, borrowed from `widget`; null for any other record.
template <class Widget>
[[nodiscard]] void* queryWidgetInterface(Widget& widget, const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iInputListener::classRecord) {
        return static_cast<iInputListener*>(&widget);
    }
    if (&interfaceRecord == &iGuiMethod::classRecord) {
        return static_cast<iGuiMethod*>(&widget);
    }
    if (&interfaceRecord == &IRenderable::classRecord) {
        return static_cast<IRenderable*>(&widget);
    }
    return nullptr;
}

} // namespace widget
} // namespace orv
