#include "engine/resources/FontResource.h"

#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/FileNames.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageResource.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace orv {

constinit const ClassRecord FontResource::classRecord{"FontResource",
                                                      parentRecords<ResourceObject::classRecord>};

namespace {

std::atomic<FontResource::LoadFunction> fontLoadFunction{&FontResource::loadBitmapFont};

// The picture of one layer, decoded from its image and mask files (null when
// they could not be loaded).
struct DecodedLayer {
    std::string image;
    std::string mask;
    RefPtr<Image> picture;
};

// A layer file named in the document, joined to the document's folder; empty
// when the key is absent. A document without a folder names its layers as
// they stand (the folder of a bare name is the name itself).
std::string layerFileName(const std::string& documentPath, const PropertyNode& layer,
                          std::string_view key) {
    const AbstractProperty* name = layer.getChild(key);
    if (name == nullptr || !name->isValue()) {
        return {};
    }
    std::string file = asValue(name)->getString();
    if (normalizePath(documentPath).find('/') == std::string::npos) {
        return file;
    }
    return getFolderOfPath(documentPath) + "/" + file;
}

} // namespace

void FontResource::setLoadFunction(LoadFunction function) {
    fontLoadFunction.store(function != nullptr ? function : &loadBitmapFont);
}

FontResource::LoadFunction FontResource::getLoadFunction() {
    return fontLoadFunction.load();
}

bool FontResource::loadBitmapFont(const FontResource& resource, RefPtr<BaseObject>& held) {
    const std::string& path = resource.getFileKey();
    const RefPtr<PropertyStore> document(new PropertyStore());
    document->setAccessMode(resource.getMode());
    if (path.empty() || !document->load(path)) {
        logWarning(path + ": font document cannot be read");
        return false;
    }

    const RefPtr<BitmapFont> font(new BitmapFont(*document->getNode("font"), path));
    held = font.get();

    bool complete = true;
    const PropertyVector* layers = document->getVector("layers");
    if (layers->size() > kMaxLayers) {
        logWarning(path + ": " + std::to_string(layers->size()) + " layers; only the first " +
                   std::to_string(kMaxLayers) + " are used");
        complete = false;
    }
    // Layers naming the same picture and mask share one decoded image.
    std::vector<DecodedLayer> decoded;
    for (std::size_t i = 0; i < std::min(layers->size(), kMaxLayers); ++i) {
        const PropertyNode& layer = *asNode(layers->at(static_cast<std::ptrdiff_t>(i)));
        const std::string where = path + ": layer " + std::to_string(i);
        DecodedLayer files{layerFileName(path, layer, "image"), layerFileName(path, layer, "mask"),
                           nullptr};
        const auto known = std::find_if(decoded.begin(), decoded.end(), [&](const auto& other) {
            return other.image == files.image && other.mask == files.mask;
        });
        if (known != decoded.end()) {
            files.picture = known->picture;
        } else {
            const RefPtr<ImageResource> images(new ImageResource(files.image, files.mask));
            images->setMode(resource.getMode());
            images->load();
            if (!images->hasError()) {
                files.picture = images->getImage();
            }
            decoded.push_back(files);
        }
        if (files.picture == nullptr) {
            logWarning(where + ": image or mask cannot be loaded; the layer is left out");
            complete = false;
            continue;
        }
        int padding = PropertyValue::toInt(layer.getChild("padding"));
        if (padding < 0 || padding > BitmapFont::kMaxMetric) {
            logWarning(where + ": padding " + std::to_string(padding) +
                       " is out of range; 0 is used");
            padding = 0;
        }
        const auto color =
            static_cast<std::uint32_t>(PropertyValue::toInt(layer.getChild("color")));
        font->addLayer(new FontLayer(padding, color, files.picture.get()));
    }
    return complete;
}

BaseObject* FontResource::createFromDefinition(PropertyNode* definition) {
    return new FontResource(definition);
}

FontResource::FontResource(PropertyNode* definition) : ResourceObject(definition) {}

void FontResource::load() {
    clearLoaded();
    font_ = nullptr;
    const LoadFunction function = fontLoadFunction.load();
    setError(!function(*this, font_));
    markLoaded();
}

void FontResource::unload() {
    ResourceObject::unload();
    font_ = nullptr;
}

std::string FontResource::toString() const {
    return std::string("Object: ") + (font_ ? "not 0" : "NULL") + "; " + ResourceObject::toString();
}

} // namespace orv
