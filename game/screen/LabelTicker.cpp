#include "game/screen/LabelTicker.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"

#include <array>
#include <cstdio>
#include <string>

namespace orv {

constinit const ClassRecord LabelTicker::classRecord{"LabelTicker",
                                                     parentRecords<GameNode::classRecord>};

namespace {

constexpr std::array<std::string_view, 3> kTypeNames{"value", "tenfold", "time"};
constexpr std::array<std::string_view, 3> kFormatNames{"plain", "dot", "time"};

// The sound `name` of `section` under the resources' data lock; null when
// there is none.
Sound* findSound(const std::string& name, const std::string& section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr || name.empty()) {
        return nullptr;
    }
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return kindCast<Sound>(resources->getLoadedObject(name, section));
}

} // namespace

LabelTicker::LabelTicker(PropertyNode* definition)
    : counter_(new ModifierLabelValue(0, 0, 0, 10, L"")) {
    counter_->setFinishAtTarget(false);
    readDefinition(definition != nullptr ? definition : DUMMY_NODE);
    addModifier(counter_.get());
}

LabelTicker::~LabelTicker() = default;

BaseObject* LabelTicker::createFromDefinition(PropertyNode* definition) {
    return new LabelTicker(definition);
}

void LabelTicker::readDefinition(PropertyNode* definition) {
    initFromProperties(definition);
    if (PropertyNode* labelDefinition = definition->getNode("label");
        labelDefinition != nullptr && labelDefinition != DUMMY_NODE) {
        BaseObject* made = orv::createFromDefinition(labelDefinition);
        if (auto* label = kindCast<Label>(made); label != nullptr) {
            GameTree::appendChild(label, this);
            counter_->setLabel(label);
        } else {
            logWarning("LabelTicker " + getName() + ": \"label\" is not a label");
            if (made != nullptr && made->getRefCount() == 0) {
                made->addRef();
                made->release();
            }
        }
    }
    auto has = [definition](std::string_view key) {
        const AbstractProperty* child = definition->getChild(key);
        return child != nullptr && child->isKindOf(PropertyValue::classRecord);
    };
    counter_->setType(definition->getEnumIndex("type", kTypeNames, counter_->getType()));
    counter_->setFormat(definition->getEnumIndex("format", kFormatNames, counter_->getFormat()));
    if (has("sound")) {
        counter_->setSound(findSound(definition->getValue("sound")->getString(),
                                     definition->getValue("soundsection")->getString()));
    }
    if (has("time")) {
        counter_->setDuration(definition->getValue("time")->getInt());
    }
    if (has("mul")) {
        float mul = 10.0F;
        if (std::sscanf(definition->getValue("mul")->getString().c_str(), "%f", &mul) == 1) {
            counter_->setMul(mul);
        }
    }
    if (has("add")) {
        counter_->setAdd(definition->getValue("add")->getInt());
    }
    if (has("interval")) {
        counter_->setInterval(definition->getValue("interval")->getInt());
    }
    if (has("value")) {
        const int start = definition->getValue("value")->getInt();
        counter_->setStart(start);
        counter_->setCurrent(start);
    }
    if (has("target")) {
        counter_->setTargetValue(definition->getValue("target")->getInt());
    }
    if (has("extra")) {
        setExtra(definition->getValue("extra")->getText());
    } else {
        counter_->formatValue();
    }
}

void LabelTicker::countTo(std::int32_t target) {
    counter_->countFrom(counter_->getCurrent(), target);
}

void LabelTicker::showNow(std::int32_t value) {
    counter_->jumpTo(value);
}

void LabelTicker::setExtra(std::wstring_view text) {
    if (counter_->getExtra() != text) {
        counter_->setExtra(text);
    }
    counter_->formatValue();
}

} // namespace orv
