#include "engine/gui/URLButton.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ImageResource.h"
#include "engine/system/Platform.h"

namespace orv {

constinit const ClassRecord URLButton::classRecord{"URLButton", parentRecords<Button::classRecord>};

namespace {

// Main thread only, like the buttons that use it.
URLButton::UrlOpener urlOpener = nullptr;

} // namespace

URLButton::URLButton(PropertyNode* definition) : Button(definition) {
    if (definition != nullptr) {
        readDefinition(definition);
    }
}

BaseObject* URLButton::createFromDefinition(PropertyNode* definition) {
    return new URLButton(definition);
}

void URLButton::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (const PropertyValue* value = source.findValue("url")) {
        url_ = value->getString();
    }
    if (const PropertyValue* value = source.findValue("file")) {
        // A picture of this button alone: loaded here, not shared through a
        // resource section. The button keeps its own reference to the image.
        const RefPtr<ImageResource> picture(new ImageResource(value->getString(), ""));
        picture->load();
        if (!picture->hasError() && picture->getImage() != nullptr) {
            setImage(picture->getImage());
        } else {
            logWarning("URLButton '" + getName() + "': cannot load '" + value->getString() +
                       "'; the button keeps its image");
        }
    }
}

void URLButton::setUrlOpener(UrlOpener opener) {
    urlOpener = opener;
}

bool URLButton::openLink() const {
    const bool opened = urlOpener != nullptr ? urlOpener(url_) : platform::openUrl(url_);
    if (!opened) {
        logWarning("URLButton '" + getName() + "': link '" + url_ +
                   "' not opened (only http, https and mailto links are)");
    }
    return opened;
}

int URLButton::call(void* argument) {
    (void)openLink();
    return Button::call(argument);
}

} // namespace orv
