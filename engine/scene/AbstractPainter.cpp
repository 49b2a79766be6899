#include "engine/scene/AbstractPainter.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/system/Platform.h"

#include <cstddef>

namespace orv {

AbstractPainter::AbstractPainter() = default;

AbstractPainter::AbstractPainter(PropertyNode* definition) {
    if (definition == nullptr) {
        return;
    }
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (const AbstractProperty* section = source.getChild("section");
        section != nullptr && section->isValue()) {
        section_ = source.getValue("section")->getString();
    }
    if (const AbstractProperty* images = source.getChild("images");
        images != nullptr && images->isVector()) {
        for (const RefPtr<AbstractProperty>& element : source.getVector("images")->getElements()) {
            // Only values carry a text; anything else names no piece but
            // keeps its place, so the later pieces keep their indices.
            const AbstractProperty* piece = element.get();
            imageNames_.push_back(piece != nullptr && piece->isValue() ? asValue(piece)->getString()
                                                                       : std::string());
        }
    }
}

AbstractPainter::~AbstractPainter() = default;

Image* AbstractPainter::getImage(int index) {
    prepare();
    if (index < 0 || static_cast<std::size_t>(index) >= images_.size()) {
        return nullptr;
    }
    return images_[static_cast<std::size_t>(index)].get();
}

void AbstractPainter::prepare() {
    if (prepared_) {
        return;
    }
    prepared_ = true;
    if (imageNames_.empty()) {
        return;
    }
    images_.assign(imageNames_.size(), nullptr);
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        logWarning("Painter: no resource manager; the frame pieces of section '" + section_ +
                   "' stay missing");
        return;
    }
    // The references are taken under the lock, so that the loader cannot
    // unload a piece between the lookup and the hold.
    const platform::NamedMutexGuard guard(resources->getDataLock());
    for (std::size_t i = 0; i < imageNames_.size(); ++i) {
        const std::string& name = imageNames_[i];
        if (name.empty()) {
            continue;
        }
        images_[i] = kindCast<Image>(resources->getObject(name, section_));
        if (!images_[i]) {
            logWarning("Painter: no loaded image '" + name + "' in section '" + section_ +
                       "'; the piece is left out");
        }
    }
}

} // namespace orv
