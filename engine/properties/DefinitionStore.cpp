#include "engine/properties/DefinitionStore.h"

#include "engine/properties/PropertyStore.h"

namespace orv {

namespace {

DefinitionStore* theDefinitionStore = nullptr;

bool isDefinitionGroup(const AbstractProperty& property) {
    if (!property.isNode()) {
        return false;
    }
    const std::string& id = property.getName();
    // "properties" is made later, once the setups are resolved; making the
    // group itself now would only ask the factory for a class it lacks.
    return id == "setups" || id == "properties" || id == "templates" || id == "dialogs" ||
           id == "scenes";
}

void collect(PropertyNode& target, PropertyNode* group) {
    std::vector<RefPtr<AbstractProperty>> definitions;
    for (const PropertyNode::NamedChild& child : group->getChildren()) {
        definitions.push_back(child.property);
    }
    for (const RefPtr<AbstractProperty>& definition : definitions) {
        target.add(definition.get());
    }
}

} // namespace

DefinitionStore::DefinitionStore()
    : templates_(new PropertyNode("templates", "")), dialogs_(new PropertyNode("dialogs", "")),
      scenes_(new PropertyNode("scenes", "")) {}

DefinitionStore::~DefinitionStore() = default;

void DefinitionStore::load() {
    templates_->clear();
    dialogs_->clear();
    scenes_->clear();

    std::vector<RefPtr<PropertyStore>> documents;
    for (const std::string& file : files_) {
        RefPtr<PropertyStore> document(new PropertyStore(file));
        document->setCondenseWhiteSpace(false);
        (void)document->load(file); // a missing document simply adds nothing
        documents.push_back(document);
    }

    for (const RefPtr<PropertyStore>& document : documents) {
        std::vector<RefPtr<AbstractProperty>> children;
        for (const PropertyNode::NamedChild& child : document->getChildren()) {
            if (!isDefinitionGroup(*child.property)) {
                children.push_back(child.property);
            }
        }
        for (const RefPtr<AbstractProperty>& child : children) {
            const RefPtr<BaseObject> made(createFromDefinition(child.get())); // dropped at once
        }
    }
    for (const RefPtr<PropertyStore>& document : documents) {
        if (AbstractProperty* setups = document->getChild("setups"); setups != nullptr) {
            asNode(setups)->createChildren();
        }
    }
    for (const RefPtr<PropertyStore>& document : documents) {
        document->resolve();
    }
    for (const RefPtr<PropertyStore>& document : documents) {
        if (AbstractProperty* properties = document->getChild("properties");
            properties != nullptr) {
            asNode(properties)->createChildren();
        }
    }
    for (const RefPtr<PropertyStore>& document : documents) {
        collect(*templates_, document->getNode("templates"));
        collect(*dialogs_, document->getNode("dialogs"));
        collect(*scenes_, document->getNode("scenes"));
    }
    if (constantsHook_ != nullptr) {
        constantsHook_->apply();
    }
}

DefinitionStore& getDefinitionStore() {
    if (theDefinitionStore == nullptr) {
        theDefinitionStore = new DefinitionStore();
        theDefinitionStore->addRef();
    }
    return *theDefinitionStore;
}

void destroyDefinitionStore() {
    if (theDefinitionStore != nullptr) {
        theDefinitionStore->release();
        theDefinitionStore = nullptr;
    }
}

} // namespace orv
