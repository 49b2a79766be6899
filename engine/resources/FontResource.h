#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/ResourceObject.h"

#include <cstddef>
#include <string>

namespace orv {

class PropertyNode;

/// A bitmap font of the resource definitions ("Font"): "file" names a font
/// document, a property file whose child "font" defines the glyphs and
/// metrics (see `BitmapFont`) and whose vector "layers" lists the layer
/// images, the first drawn on top. Each layer node has the keys "image" and
/// "mask" (file names relative to the document's folder; either may be
/// absent), "padding" (integer, 0..`BitmapFont::kMaxMetric`) and "color"
/// (integer, 0xAARRGGBB). No keys beyond "file" and "archive". Only the
/// first `kMaxLayers` layers are used; layers naming the same files share
/// one decoded picture.
///
/// The document and every layer image are read in the object's own access
/// mode, handed to each read (never set process-wide, since the other thread
/// may be reading files meanwhile). The held object is a `BitmapFont`.
///
///     auto* font = kindCast<Font>(resources->getLoadedObject("FONT_BIG", "default"));
class FontResource : public ResourceObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The most layers a font is built with (the game's fonts use three):
    /// each layer may hold a picture of the largest decodable size.
    static constexpr std::size_t kMaxLayers = 8;

    /// Builds the font of `resource` and stores it in `held`. Returns false
    /// when the document or a layer failed (`held` keeps what could be
    /// built: a font without the failed layers, or nothing when the document
    /// could not be read). Called on the loader thread or the main thread.
    using LoadFunction = bool (*)(const FontResource& resource, RefPtr<BaseObject>& held);
    /// Replaces how every font resource builds its font (tests use it to
    /// stand in for real files); null restores `loadBitmapFont`.
    static void setLoadFunction(LoadFunction function);
    [[nodiscard]] static LoadFunction getLoadFunction();

    /// The font loader: reads the document, builds the `BitmapFont` from its
    /// "font" node (an empty font when that is missing), then loads each
    /// layer's image and mask as one image resource and adds the layer. A
    /// layer whose image or mask fails is left out and logged; the others
    /// are kept.
    [[nodiscard]] static bool loadBitmapFont(const FontResource& resource,
                                             RefPtr<BaseObject>& held);

    /// The object factory's create function for "Font" definitions.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    explicit FontResource(PropertyNode* definition);

    /// Builds the font through the load function; the error flag is set when
    /// it fails. Always ends loaded.
    void load() override;
    /// The font built (a `BitmapFont` unless a stand-in loader is set), or
    /// null.
    [[nodiscard]] BaseObject* getHeldObject() const override { return font_.get(); }
    /// Also releases the font.
    void unload() override;
    /// "Object: <not 0|NULL>; " followed by the base dump.
    [[nodiscard]] std::string toString() const override;

private:
    RefPtr<BaseObject> font_;
};

} // namespace orv
