#include "engine/resources/ResourceManager.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/ResourceObject.h"

#include <algorithm>
#include <cassert>

namespace orv {

constinit const ClassRecord ResourceManager::classRecord{"ResourceManager",
                                                         parentRecords<BaseObject::classRecord>};

namespace {

// Set and read on the main thread and the loader's objects (`unload`), so the
// pointer itself is atomic.
std::atomic<ResourceManager*> instance{nullptr};

constexpr std::chrono::milliseconds kLoadingWait(platform::kNamedMutexWaitMilliseconds);

} // namespace

// Holds the data lock for one scope. A wait that times out is logged and the
// operation goes on without the lock; the guard then releases nothing.
class ResourceManager::DataGuard {
public:
    explicit DataGuard(ResourceManager& manager) : guard_(manager.dataLock_, manager.lockWait_) {
        if (!guard_.isAcquired()) {
            logWarning("resource data: lock not acquired within " +
                       std::to_string(manager.lockWait_) + " ms; going on without it");
        }
    }

private:
    platform::NamedMutexGuard guard_;
};

namespace {} // namespace

ResourceManager* ResourceManager::create() {
    ResourceManager* current = instance.load();
    if (current != nullptr) {
        return current;
    }
    auto* manager = new ResourceManager();
    manager->addRef();
    instance.store(manager);
    return manager;
}

ResourceManager* ResourceManager::getInstance() {
    return instance.load();
}

void ResourceManager::destroyInstance() {
    ResourceManager* manager = instance.exchange(nullptr);
    if (manager == nullptr) {
        return;
    }
    // The loader ends before the manager's reference goes, so nothing it
    // uses is freed under it.
    manager->shutDown();
    manager->release();
}

ResourceManager::ResourceManager(std::uint32_t lockWaitMilliseconds)
    : lockWait_(lockWaitMilliseconds) {
    loader_ = std::thread([this] { loaderLoop(); });
}

ResourceManager::~ResourceManager() {
    shutDown();
    ResourceManager* self = this;
    instance.compare_exchange_strong(self, nullptr);
}

void ResourceManager::shutDown() {
    assert(std::this_thread::get_id() != loader_.get_id() && "the loader cannot join itself");
    {
        const std::scoped_lock wake(wakeMutex_);
        running_.store(false);
    }
    wakeCondition_.notify_all();
    passCondition_.notify_all();
    // A pass in progress finishes its object first; joining replaces waiting
    // on a lock for it, and there is no time limit on a load.
    if (loader_.joinable()) {
        loader_.join();
    }
}

void ResourceManager::setStarted(bool started) {
    {
        const std::scoped_lock wake(wakeMutex_);
        started_.store(started);
        wakeRequested_ = true;
    }
    wakeCondition_.notify_all();
}

void ResourceManager::resumeLoader() {
    {
        const std::scoped_lock wake(wakeMutex_);
        wakeRequested_ = true;
    }
    wakeCondition_.notify_all();
}

void ResourceManager::loaderLoop() {
    for (;;) {
        {
            std::unique_lock wake(wakeMutex_);
            wakeCondition_.wait(
                wake, [this] { return !running_.load() || (wakeRequested_ && started_.load()); });
            if (!running_.load()) {
                return;
            }
            // Cleared before the passes, so a request made during them
            // leaves the flag set and the loader looks again.
            wakeRequested_ = false;
        }
        bool loadedOne = true;
        while (loadedOne && running_.load()) {
            {
                const std::scoped_lock wake(wakeMutex_);
                passActive_ = true;
            }
            loadedOne = runLoaderPass();
            {
                const std::scoped_lock wake(wakeMutex_);
                passActive_ = false;
                ++passCount_;
            }
            passCondition_.notify_all();
            if (loadedOne) {
                // Lets the main thread's frames run between two loads.
                std::this_thread::yield();
            }
        }
    }
}

bool ResourceManager::runLoaderPass() {
    RefPtr<ResourceObject> object;
    {
        const DataGuard data(*this);
        ResourceSection* section = nextPendingSection(Queue::Requests);
        if (section == nullptr) {
            section = nextPendingSection(Queue::Auto);
        }
        if (section == nullptr || !section->isStarted()) {
            return false;
        }
        // The reference is taken under the lock: cancelling or unloading the
        // section while the file loads cannot free the object.
        object = section->firstUnloadedObject();
        if (!object) {
            return false;
        }
        const std::scoped_lock loading(loadingMutex_);
        loadingObject_ = object.get();
    }

    object->load();

    {
        const std::scoped_lock loading(loadingMutex_);
        loadingObject_ = nullptr;
    }
    loadingCondition_.notify_all();

    // Reference counts are guarded by the data lock; the last reference of
    // a cancelled object may go here.
    const DataGuard data(*this);
    object = nullptr;
    return true;
}

bool ResourceManager::isBeingLoaded(const ResourceObject* object) {
    const std::scoped_lock loading(loadingMutex_);
    return loadingObject_ == object;
}

bool ResourceManager::waitUntilNotLoading(const ResourceObject* object) {
    std::unique_lock loading(loadingMutex_);
    return loadingCondition_.wait_for(loading, kLoadingWait,
                                      [&] { return loadingObject_ != object; });
}

bool ResourceManager::loadDefinitions() {
    const DataGuard data(*this);
    bool allRead = true;
    for (const std::string& fileName : definitionFiles_) {
        const std::string path = baseFolder_ + fileName;
        const RefPtr<PropertyStore> store(new PropertyStore());
        if (!store->load(path)) {
            logWarning(path + ": resource definitions cannot be read");
            allRead = false;
            continue;
        }
        AbstractProperty* sections = store->getChild("Sections");
        if (sections == nullptr || !sections->isVector()) {
            logWarning(path + ": no vector \"Sections\"; no resource sections defined");
            continue;
        }
        for (const RefPtr<AbstractProperty>& element : asVector(sections)->getElements()) {
            const RefPtr<ResourceSection> section(new ResourceSection(asNode(element.get()), this));
            addSection(section.get());
        }
    }
    return allRead;
}

void ResourceManager::addSection(ResourceSection* section) {
    assert(section != nullptr);
    const DataGuard data(*this);
    const std::string& name = section->getName();
    sections_.insert_or_assign(name, RefPtr<ResourceSection>(section));
    if (section->isAutoLoad() && section->hasUnloadedObject()) {
        if (std::find(autoQueue_.begin(), autoQueue_.end(), name) == autoQueue_.end()) {
            autoQueue_.push_back(name);
        }
        section->setStarted(true);
        resumeLoader();
    }
}

void ResourceManager::requestSection(std::string_view name) {
    const DataGuard data(*this);
    ResourceSection* section = findSection(name);
    if (section == nullptr) {
        logWarning("resource section '" + std::string(name) + "' requested but not defined");
        return;
    }
    if (!section->hasUnloadedObject()) {
        return;
    }
    const bool queued = std::any_of(requestQueue_.begin(), requestQueue_.end(),
                                    [&](const Request& request) { return request.name == name; });
    if (queued) {
        return;
    }
    section->setStarted(true);
    const int weight = section->getTotalSize();
    requestQueue_.push_back(Request{std::string(name), weight});
    pendingCount_ += weight;
    resumeLoader();
}

void ResourceManager::cancelSection(std::string_view name, bool unload) {
    const DataGuard data(*this);
    // A cancelled request no longer counts: otherwise the progress could
    // never reach 1.0 again.
    std::erase_if(requestQueue_, [&](const Request& request) {
        if (request.name != name) {
            return false;
        }
        pendingCount_ -= request.weight;
        return true;
    });
    std::erase_if(autoQueue_, [&](const std::string& queued) { return queued == name; });

    const auto found = sections_.find(name);
    if (found == sections_.end()) {
        return;
    }
    if (unload) {
        unloadSection(name);
    }
    sections_.erase(found);
}

void ResourceManager::unloadSection(std::string_view name) {
    const DataGuard data(*this);
    ResourceSection* section = findSection(name);
    if (section == nullptr) {
        return;
    }
    for (const auto& [objectName, object] : section->getObjects()) {
        // The loader's object is not unloaded under it; it holds its own
        // reference and ends loaded.
        if (object->isLoaded() && !isBeingLoaded(object.get())) {
            object->unload();
        }
    }
}

void ResourceManager::clearRequests() {
    const DataGuard data(*this);
    pendingCount_ = 0;
    loadedCount_ = 0;
    requestQueue_.clear();
}

double ResourceManager::getProgress() {
    const DataGuard data(*this);
    if (pendingCount_ <= 0) {
        return 1.0;
    }
    std::int64_t loaded = loadedCount_;
    for (const Request& request : requestQueue_) {
        if (const ResourceSection* section = findSection(request.name)) {
            loaded += std::min(request.weight, section->getLoadedSize());
        }
    }
    return std::min(1.0, static_cast<double>(loaded) / static_cast<double>(pendingCount_));
}

ResourceSection* ResourceManager::nextPendingSection(Queue queue) {
    const DataGuard data(*this);
    if (queue == Queue::Requests) {
        while (!requestQueue_.empty()) {
            const Request& front = requestQueue_.front();
            ResourceSection* section = findSection(front.name);
            if (section != nullptr && section->hasUnloadedObject()) {
                return section;
            }
            loadedCount_ += front.weight;
            requestQueue_.erase(requestQueue_.begin());
        }
        return nullptr;
    }
    while (!autoQueue_.empty()) {
        ResourceSection* section = findSection(autoQueue_.front());
        if (section != nullptr && section->hasUnloadedObject()) {
            return section;
        }
        autoQueue_.erase(autoQueue_.begin());
    }
    return nullptr;
}

bool ResourceManager::waitForLoader(std::chrono::milliseconds limit,
                                    const std::function<bool()>& isDone) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    resumeLoader();
    for (;;) {
        std::uint64_t passesSeen = 0;
        {
            const std::scoped_lock wake(wakeMutex_);
            passesSeen = passCount_;
        }
        {
            const DataGuard data(*this);
            if (isDone()) {
                return true;
            }
        }
        if (!running_.load()) {
            return false;
        }
        std::unique_lock wake(wakeMutex_);
        const bool passed = passCondition_.wait_until(
            wake, deadline, [&] { return passCount_ != passesSeen || !running_.load(); });
        if (!passed) {
            return false;
        }
    }
}

bool ResourceManager::waitForRequests(std::chrono::milliseconds limit) {
    return waitForLoader(limit, [this] {
        return started_.load() && nextPendingSection(Queue::Requests) == nullptr;
    });
}

bool ResourceManager::waitUntilIdle(std::chrono::milliseconds limit) {
    return waitForLoader(limit, [this] {
        if (!started_.load() || nextPendingSection(Queue::Requests) != nullptr ||
            nextPendingSection(Queue::Auto) != nullptr) {
            return false;
        }
        // A pass may still hold its object after the load ended.
        const std::scoped_lock wake(wakeMutex_);
        return !passActive_;
    });
}

BaseObject* ResourceManager::getLoadedObject(std::string_view objectName,
                                             std::string_view sectionName) {
    const DataGuard data(*this);
    ResourceObject* object = findResource(objectName, sectionName);
    if (object == nullptr) {
        return nullptr;
    }
    if (!object->isLoaded()) {
        // The loader clears its mark without the data lock, so this wait
        // cannot hold it up.
        if (!waitUntilNotLoading(object)) {
            logWarning("resource '" + std::string(objectName) + "' of section '" +
                       std::string(sectionName) + "' is still loading after 10000 ms");
            return nullptr;
        }
        if (!object->isLoaded()) {
            object->load();
        }
    }
    return object->getHeldObject();
}

BaseObject* ResourceManager::getObject(std::string_view objectName, std::string_view sectionName) {
    const DataGuard data(*this);
    ResourceObject* object = findResource(objectName, sectionName);
    if (object == nullptr || isBeingLoaded(object)) {
        return nullptr;
    }
    return object->getHeldObject();
}

ResourceObject* ResourceManager::findResource(std::string_view objectName,
                                              std::string_view sectionName) {
    const DataGuard data(*this);
    const ResourceSection* section = findSection(sectionName);
    return section != nullptr ? section->findObject(objectName) : nullptr;
}

ResourceSection* ResourceManager::findSection(std::string_view name) {
    const DataGuard data(*this);
    const auto found = sections_.find(name);
    return found != sections_.end() ? found->second.get() : nullptr;
}

ResourceObject* ResourceManager::findSharedObject(const ResourceObject& object) {
    const DataGuard data(*this);
    for (const auto& [sectionName, section] : sections_) {
        for (const auto& [objectName, candidate] : section->getObjects()) {
            if (object.sameFile(*candidate)) {
                return candidate.get();
            }
        }
    }
    return nullptr;
}

} // namespace orv
