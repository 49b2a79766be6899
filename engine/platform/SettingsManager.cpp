#include "engine/platform/SettingsManager.h"

#include "engine/core/RefPtr.h"
#include "engine/platform/RegistryKey.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/system/Platform.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace orv {

namespace {

// The node's name is part of the stored format's history; keep its spelling.
constexpr std::string_view kNodeName = "GameSettngs";
constexpr std::string_view kDontUseRegistry = "dontuseregistry";
constexpr std::string_view kShutdownCorrect = "shutdowncorrect";
constexpr std::string_view kFatalError = "fatalerror";

SettingsManager* theSettingsManager = nullptr;

} // namespace

constinit const ClassRecord SettingsManager::classRecord{"SettingsManager",
                                                         parentRecords<BaseObject::classRecord>};

SettingsManager::SettingsManager(std::unique_ptr<IGameSettings> settings)
    : settings_(std::move(settings)) {
    assert(settings_ != nullptr);
    registryPath_ = gameRegistryPath();
    std::replace(registryPath_.begin(), registryPath_.end(), '/', '\\');
}

SettingsManager& SettingsManager::create(std::unique_ptr<IGameSettings> settings) {
    destroyInstance();
    theSettingsManager = new SettingsManager(std::move(settings));
    theSettingsManager->addRef();
    theSettingsManager->load();
    return *theSettingsManager;
}

SettingsManager* SettingsManager::get() {
    return theSettingsManager;
}

void SettingsManager::destroyInstance() {
    if (SettingsManager* old = std::exchange(theSettingsManager, nullptr)) {
        old->release();
    }
}

void SettingsManager::save() {
    const RefPtr<PropertyNode> node(new PropertyNode(kNodeName, ""));
    writeFlags(node.get());
    for (const PropertyNode::NamedChild& child : node->getChildren()) {
        const PropertyValue* value = asValue(child.property.get());
        RegistryKey key(registryPath_ + "\\" + child.name, false);
        const std::string& type = value->getTypeName();
        if (type == "Boolean") {
            key.writeDword(value->getText() == L"false" ? 0U : 1U);
        } else if (type == "String") {
            key.writeString(value->getString());
        } else {
            // Integers and untyped values alike: the text read as a number
            // (so the untyped flags, "true" or "false", are stored as 0).
            key.writeDword(static_cast<std::uint32_t>(value->getInt()));
        }
    }
}

void SettingsManager::load() {
    const RefPtr<PropertyNode> node(new PropertyNode(kNodeName, ""));
    if (const auto values = platform::readSettingsKey(registryPath_)) {
        for (const platform::SettingsValue& value : *values) {
            switch (value.type) {
            case platform::SettingsValueType::Dword:
                node->add(new PropertyValue(value.name, static_cast<long>(value.number)));
                break;
            case platform::SettingsValueType::String:
                node->add(new PropertyValue(value.name, std::string_view(value.text)));
                break;
            case platform::SettingsValueType::Other:
                break; // kinds the options never use
            }
        }
    }
    readFlags(node.get());
    if (!shutdownCorrect_) {
        settings_->setFullScreen(false);
    } else {
        shutdownCorrect_ = false;
    }
}

void SettingsManager::writeFlags(PropertyNode* node) {
    // Without a node (or on the shared dummy, which keeps nothing) there is
    // nowhere to write.
    if (node == nullptr || node == DUMMY_NODE) {
        return;
    }
    settings_->saveOptions(node);
    node->addNamedBool(kDontUseRegistry, dontUseRegistry_, true);
    node->addNamedBool(kShutdownCorrect, shutdownCorrect_, true);
    node->addNamedBool(kFatalError, fatalError_, true);
}

void SettingsManager::readFlags(PropertyNode* node) {
    settings_->loadOptions(node);
    if (node == nullptr) {
        return;
    }
    if (const AbstractProperty* flag = node->getChild(kDontUseRegistry)) {
        dontUseRegistry_ = PropertyValue::toBool(flag);
    }
    if (const AbstractProperty* flag = node->getChild(kShutdownCorrect)) {
        shutdownCorrect_ = PropertyValue::toBool(flag);
    }
    if (const AbstractProperty* flag = node->getChild(kFatalError)) {
        fatalError_ = PropertyValue::toBool(flag);
    }
}

} // namespace orv
