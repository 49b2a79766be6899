#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/ResourceObject.h"

#include <string>

namespace orv {

class PropertyNode;

/// A bitmap font of the resource definitions ("Font"): "file" names a font
/// document (a property file with the font's definition under "font" and its
/// image layers under "layers"), read through the archive in the object's
/// access mode. No keys beyond "file" and "archive".
///
/// The font library builds the font: it installs its load function with
/// `setLoadFunction` when it registers its classes. Until then `load` builds
/// nothing and ends with the error flag set (logged).
class FontResource : public ResourceObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Builds the font of `resource` from its document and stores it in
    /// `held`. The document and the layer images are read in the resource's
    /// own mode (`getMode`; the global mode when that is `Global`), passed to
    /// each read rather than set process-wide, since the other thread may be
    /// reading files meanwhile. Returns false when the document or a layer
    /// failed (`held` keeps what could be built). Called on the loader thread
    /// or the main thread.
    using LoadFunction = bool (*)(const FontResource& resource, RefPtr<BaseObject>& held);
    /// Installs the load function of every font resource (null removes it).
    static void setLoadFunction(LoadFunction function);
    [[nodiscard]] static LoadFunction getLoadFunction();

    /// The object factory's create function for "Font" definitions.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    explicit FontResource(PropertyNode* definition);

    /// Builds the font through the load function; the error flag is set when
    /// it fails or none is installed. Always ends loaded.
    void load() override;
    /// The font built by the load function, or null.
    [[nodiscard]] BaseObject* getHeldObject() const override { return font_.get(); }
    /// Also releases the font.
    void unload() override;
    /// "Object: <not 0|NULL>; " followed by the base dump.
    [[nodiscard]] std::string toString() const override;

private:
    RefPtr<BaseObject> font_;
};

} // namespace orv
