#include "tests/resources/ResourceTestKinds.h"

#include <algorithm>
#include <utility>

namespace orv::test {

namespace {

constexpr std::chrono::seconds kGateLimit(10);

} // namespace

bool LoadGate::waitFor(const std::function<bool()>& condition) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, kGateLimit, condition);
}

void LoadGate::setOpen(bool isOpen) {
    {
        const std::scoped_lock lock(mutex);
        open = isOpen;
    }
    changed.notify_all();
}

int LoadGate::countLoadsOf(const std::string& name) {
    const std::scoped_lock lock(mutex);
    return static_cast<int>(std::count(loadOrder.begin(), loadOrder.end(), name));
}

std::vector<std::string> LoadGate::getLoadOrder() {
    const std::scoped_lock lock(mutex);
    return loadOrder;
}

int LoadGate::getLoadsBegun() {
    const std::scoped_lock lock(mutex);
    return loadsBegun;
}

int LoadGate::getDestroyed() {
    const std::scoped_lock lock(mutex);
    return destroyed;
}

int LoadGate::getDestroyedWhileLoading() {
    const std::scoped_lock lock(mutex);
    return destroyedWhileLoading;
}

GatedResource::GatedResource(std::string name, LoadGate& gate, bool blocks,
                             const std::string& fileName)
    : ResourceObject(nullptr), name_(std::move(name)), gate_(gate), blocks_(blocks) {
    if (!fileName.empty()) {
        setFileName(fileName);
    }
}

GatedResource::~GatedResource() {
    {
        const std::scoped_lock lock(gate_.mutex);
        ++gate_.destroyed;
        if (loading_) {
            ++gate_.destroyedWhileLoading;
        }
    }
    gate_.changed.notify_all();
}

void GatedResource::load() {
    {
        std::unique_lock lock(gate_.mutex);
        loading_ = true;
        loadThread_ = std::this_thread::get_id();
        gate_.loadOrder.push_back(name_);
        ++gate_.loadsBegun;
        gate_.changed.notify_all();
        if (blocks_) {
            (void)gate_.changed.wait_for(lock, kGateLimit, [this] { return gate_.open; });
        }
    }
    markLoaded();
    const std::scoped_lock lock(gate_.mutex);
    loading_ = false;
}

BaseObject* GatedResource::getHeldObject() const {
    // The object stands for what it holds: tests only compare it with null.
    return isLoaded() ? const_cast<GatedResource*>(this) : nullptr;
}

std::thread::id GatedResource::getLoadThread() {
    const std::scoped_lock lock(gate_.mutex);
    return loadThread_;
}

} // namespace orv::test
