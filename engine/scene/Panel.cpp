#include "engine/scene/Panel.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyVector.h"

#include <string>

namespace orv {

constinit const ClassRecord Panel::classRecord{"Panel", parentRecords<Sprite::classRecord>};

Panel::Panel(PropertyNode* definition) : Sprite(definition), componentRoot_(new GameNode()) {
    GameTree::appendChild(componentRoot_.get(), this);

    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    PropertyVector* components = asVector(source.getChild("components"));
    for (const RefPtr<AbstractProperty>& element : components->getElements()) {
        PropertyNode* elementDefinition = asNode(element.get());
        // The factory's own logging covers unknown type names; a made object
        // that is not a node (a modifier, a setting) is refused here.
        const RefPtr<BaseObject> made(elementDefinition == DUMMY_NODE
                                          ? nullptr
                                          : orv::createFromDefinition(elementDefinition));
        GameNode* node = kindCast<GameNode>(made.get());
        if (node == nullptr) {
            logWarning("Panel '" + getName() + "': component '" + element->getName() +
                       "' of type '" + element->getTypeName() + "' is not a node; skipped");
            continue;
        }
        addComponent(node);
    }
}

Panel::~Panel() = default;

BaseObject* Panel::createFromDefinition(PropertyNode* definition) {
    return new Panel(definition);
}

GameNode* Panel::findComponent(std::string_view name) const {
    for (GameNode* child = componentRoot_->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (child->getName() == name) {
            return child;
        }
        if (child->hasRemovalMark()) {
            continue;
        }
        if (const Panel* nested = kindCast<Panel>(child)) {
            if (GameNode* found = nested->findComponent(name)) {
                return found;
            }
        }
    }
    return nullptr;
}

void Panel::addComponent(GameNode* node) {
    if (node == nullptr) {
        return;
    }
    GameTree::appendChild(node, componentRoot_.get());
    setDirty(true);
}

void Panel::removeComponent(GameNode* node) {
    if (node == nullptr) {
        return;
    }
    node->setRemovalMark(true);
    setDirty(true);
}

void Panel::applyClipToComponents() {
    const std::optional<Rect>& clip = getClipRect();
    if (!clip || componentRoot_->getFirstChild() == nullptr) {
        return;
    }
    struct Context {
        Rect clip;
    } context{*clip};
    GameTree::forEach(
        componentRoot_.get(),
        [](GameNode* node, void* data) {
            if (Sprite* sprite = kindCast<Sprite>(node)) {
                const Rect& rect = static_cast<Context*>(data)->clip;
                sprite->setClipRect(rect.x, rect.y, rect.width, rect.height);
            }
        },
        &context);
    setDirty(true);
}

} // namespace orv
