#include "engine/properties/BasicProperties.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"

namespace orv {

constinit const ClassRecord BasicProperties::classRecord{"BasicProperties",
                                                         parentRecords<BaseObject::classRecord>};

namespace {

BasicProperties* instance = nullptr;
std::string cachedGameName;
std::string cachedGameId;

template <class T>
T& entry(BasicProperties::Table<T>& table, std::string_view name) {
    auto found = table.find(name);
    if (found == table.end()) {
        found = table.emplace(std::string(name), T{}).first;
    }
    return found->second;
}

// The value a value handler reads: the property itself, or the empty dummy.
const PropertyValue& valueOf(PropertyNode* definition) {
    return *asValue(static_cast<const AbstractProperty*>(propertyOfDefinition(definition)));
}

const std::string& idOf(PropertyNode* definition) {
    return propertyOfDefinition(definition)->getName();
}

std::string cachedSetting(std::string& cache, std::string_view key) {
    if (cache.empty() && instance != nullptr) {
        const auto& strings = instance->getStringTable();
        if (const auto found = strings.find(key); found != strings.end()) {
            cache = found->second;
        }
    }
    return cache;
}

} // namespace

BasicProperties& BasicProperties::create() {
    if (instance == nullptr) {
        instance = new BasicProperties();
        instance->addRef();
    }
    return *instance;
}

BasicProperties* BasicProperties::get() {
    return instance;
}

void BasicProperties::destroyInstance() {
    if (instance != nullptr) {
        instance->release();
        instance = nullptr;
    }
    cachedGameName.clear();
    cachedGameId.clear();
}

BasicProperties::~BasicProperties() = default;

int& BasicProperties::getInteger(std::string_view name) {
    return entry(integers_, name);
}

double& BasicProperties::getDouble(std::string_view name) {
    return entry(doubles_, name);
}

float& BasicProperties::getFloat(std::string_view name) {
    return entry(floats_, name);
}

bool& BasicProperties::getBoolean(std::string_view name) {
    return entry(booleans_, name);
}

std::string& BasicProperties::getString(std::string_view name) {
    return entry(strings_, name);
}

std::wstring& BasicProperties::getTextEntry(std::string_view name) {
    return entry(texts_, name);
}

RefPtr<PropertyNode>& BasicProperties::getNode(std::string_view name) {
    return entry(nodes_, name);
}

RefPtr<PropertyVector>& BasicProperties::getVector(std::string_view name) {
    return entry(vectors_, name);
}

BaseObject* BasicProperties::fileInteger(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        instance->getInteger(idOf(definition)) = valueOf(definition).getInt();
    }
    return nullptr;
}

BaseObject* BasicProperties::fileDouble(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        instance->getDouble(idOf(definition)) = valueOf(definition).getDouble();
    }
    return nullptr;
}

BaseObject* BasicProperties::fileFloat(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        instance->getFloat(idOf(definition)) = valueOf(definition).getFloat();
    }
    return nullptr;
}

BaseObject* BasicProperties::fileBoolean(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        instance->getBoolean(idOf(definition)) = valueOf(definition).getBool();
    }
    return nullptr;
}

BaseObject* BasicProperties::fileString(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        instance->getString(idOf(definition)) = valueOf(definition).getString();
    }
    return nullptr;
}

BaseObject* BasicProperties::fileText(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        instance->getTextEntry(idOf(definition)) = valueOf(definition).getText();
    }
    return nullptr;
}

BaseObject* BasicProperties::fileNode(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        AbstractProperty* property = propertyOfDefinition(definition);
        instance->getNode(property->getName()) = asNode(property);
    }
    return nullptr;
}

BaseObject* BasicProperties::fileVector(PropertyNode* definition) {
    if (instance != nullptr && definition != nullptr) {
        AbstractProperty* property = propertyOfDefinition(definition);
        instance->getVector(property->getName()) = asVector(property);
    }
    return nullptr;
}

std::wstring getText(std::string_view textId) {
    if (instance == nullptr) {
        return {};
    }
    const std::wstring& text = instance->getTextEntry(textId);
    return text == L"_" ? std::wstring(L" ") : text;
}

std::string getGameName() {
    return cachedSetting(cachedGameName, "GAME_NAME");
}

std::string getGameId() {
    return cachedSetting(cachedGameId, "GAME_ID");
}

} // namespace orv
