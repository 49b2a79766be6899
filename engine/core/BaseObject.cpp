#include "engine/core/BaseObject.h"

#include <cassert>
#include <cstdint>

namespace orv {

constinit const ClassRecord BaseObject::classRecord{"BaseObject"};
constinit const ClassRecord Interface::classRecord{"Interface"};

void BaseObject::release() {
    assert(refCount_ > 0 && "release without a reference");
    if (--refCount_ == 0) {
        destroy();
    }
}

void BaseObject::destroy() {
    delete getObject();
}

void* BaseObject::getInterface(const ClassRecord& /*interfaceRecord*/) {
    return nullptr;
}

std::string BaseObject::toString() const {
    const auto address = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(this));
    return "Address: " + std::to_string(address) + "; ";
}

} // namespace orv
