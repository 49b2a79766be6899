#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/ResourceSection.h"
#include "engine/system/Platform.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orv {

class ResourceObject;

/// The process-wide registry of the game's media: the sections of the
/// resource definitions ("media/properties/resources.xml"), one background
/// loader thread that loads the objects of requested sections one per pass,
/// the loading progress, and the objects by section and name.
///
///     ResourceManager* resources = ResourceManager::create();
///     resources->addDefinitionFile("media/properties/resources.xml");
///     (void)resources->loadDefinitions();
///     resources->setStarted(true);
///     resources->requestSection("splash");
///     while (!resources->waitForRequests(std::chrono::milliseconds(10))) {
///         showLoadingBar(resources->getProgress());
///     }
///     {
///         const platform::NamedMutexGuard guard(resources->getDataLock());
///         auto* logo = kindCast<Image>(resources->getLoadedObject("LOGO", "splash"));
///         ... build the sprite while the lock is held ...
///     }
///     ResourceManager::destroyInstance();
///
/// Threads and locks: every member may be called from any thread, except the
/// set-up members (`setBaseFolder`, `addDefinitionFile`, `loadDefinitions`),
/// which belong to the main thread during start-up. The data lock guards the
/// sections, their objects, both queues and the progress totals; every member
/// takes it (waiting at most 10,000 ms; a wait that times out is logged and
/// the member goes on without the lock), and callers hold it themselves
/// around a lookup and around building objects from its result. It is
/// recursive. The loader never holds the data lock while it loads a file, and
/// it keeps a reference to the object it loads, so cancelling or unloading
/// the section meanwhile cannot free the object under it. `shutDown` (and so
/// the destructor and `destroyInstance`) joins the loader before anything it
/// uses is freed.
class ResourceManager : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The two loading queues: sections requested by callers (counted in the
    /// progress) and sections marked "auto" (loaded after every request, not
    /// counted).
    enum class Queue { Requests, Auto };

    /// Creates the process-wide manager (holding one reference of its own)
    /// when none exists, and returns it. Its loader thread runs from here on.
    static ResourceManager* create();
    /// The process-wide manager, borrowed from its own reference; null before
    /// `create` and after `destroyInstance`.
    [[nodiscard]] static ResourceManager* getInstance();
    /// Stops the process-wide manager's loader (waiting for a pass in progress
    /// to end and joining the thread), clears the global pointer and drops the
    /// manager's own reference. Does nothing without a manager.
    static void destroyInstance();

    /// A manager whose loader thread starts at once and waits until
    /// `setStarted(true)` and work arrive. Its members wait for the data lock
    /// at most `lockWaitMilliseconds` (tests shorten it).
    explicit ResourceManager(
        std::uint32_t lockWaitMilliseconds = platform::kNamedMutexWaitMilliseconds);
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;
    /// Stops and joins the loader before anything it uses is freed.
    ~ResourceManager() override;

    /// Stops the loader: waits for a pass in progress to end (a load under
    /// way finishes first), then joins the thread. No object is loaded in the
    /// background afterwards. Safe to call twice; never from the loader.
    void shutDown();
    /// True from construction until `shutDown`.
    [[nodiscard]] bool isRunning() const { return running_.load(); }

    /// The loader does nothing until this is set; start-up sets it right after
    /// `loadDefinitions`.
    void setStarted(bool started);
    [[nodiscard]] bool isStarted() const { return started_.load(); }
    /// Wakes the loader; every operation that queues work calls it. A wake-up
    /// given while the loader is busy is kept for its next wait, never lost.
    void resumeLoader();

    /// Put in front of every definition file name (empty by default).
    void setBaseFolder(std::string_view folder) { baseFolder_ = folder; }
    [[nodiscard]] const std::string& getBaseFolder() const { return baseFolder_; }
    /// Appends a definition file (a property file) for `loadDefinitions`.
    void addDefinitionFile(std::string_view fileName) { definitionFiles_.emplace_back(fileName); }
    [[nodiscard]] const std::vector<std::string>& getDefinitionFiles() const {
        return definitionFiles_;
    }
    /// Reads every definition file (through the archive in the global mode)
    /// and adds a section for each element of its vector "Sections". A file
    /// that cannot be read is logged and adds nothing; the result is false
    /// then. Main thread only (property files are parsed there).
    [[nodiscard]] bool loadDefinitions();

    /// Stores `section` (not null) under its name, releasing a section of the
    /// same name. An "auto" section with an object not loaded yet is queued
    /// for background loading and marked started.
    void addSection(ResourceSection* section);
    /// Queues the section for loading and counts its objects in the progress,
    /// unless all its objects are loaded or it is queued already. An unknown
    /// name is logged and ignored.
    void requestSection(std::string_view name);
    /// Drops the section: removes it from both queues (its objects no longer
    /// count in the progress), unloads its objects when `unload` is set, and
    /// removes the section. An object that the loader is loading at that
    /// moment finishes loading and is released by the loader.
    void cancelSection(std::string_view name, bool unload);
    /// Unloads every loaded object of the section, except one the loader is
    /// loading at that moment.
    void unloadSection(std::string_view name);
    /// Forgets every request and the progress totals (the auto queue stays).
    void clearRequests();

    /// The fraction of the requested objects that are loaded, 0.0 to 1.0:
    /// 1.0 when nothing is requested, and 1.0 once every requested object is
    /// loaded or its section was cancelled.
    [[nodiscard]] double getProgress();

    /// Walks `queue` in order: sections whose objects are all loaded (and
    /// names no longer defined) leave it, those of the request queue with
    /// their objects counted as loaded in the progress; returns the first
    /// section with an object still to load (borrowed; valid while the caller
    /// holds the data lock), null when the queue is left empty.
    [[nodiscard]] ResourceSection* nextPendingSection(Queue queue);
    /// Waits until every requested section is loaded (and `setStarted(true)`
    /// was called): true then, false when `limit` passed first. Wakes after
    /// each loader pass and checks; never sleeps a fixed time. Do not call it
    /// while holding the data lock.
    [[nodiscard]] bool waitForRequests(std::chrono::milliseconds limit);
    /// As `waitForRequests`, for both queues: true once the loader has no
    /// section left to load and has finished its last pass (it holds no
    /// object any more). After `waitForRequests` the loader may still hold
    /// the last object it loaded for a moment.
    [[nodiscard]] bool waitUntilIdle(std::chrono::milliseconds limit);

    /// What the object holds (its `getHeldObject`), loading it first on the
    /// calling thread, under the data lock, when it is not loaded. When the
    /// loader is loading it at that moment, waits for that load to end (at
    /// most 10,000 ms; null after a timeout) instead of loading it twice.
    /// Null for an unknown section or object. Borrowed, no reference taken.
    [[nodiscard]] BaseObject* getLoadedObject(std::string_view objectName,
                                              std::string_view sectionName);
    /// What the object holds, without loading it (null while not loaded for
    /// images and fonts, and while the loader is loading it). Null for an
    /// unknown section or object. Borrowed, no reference taken.
    [[nodiscard]] BaseObject* getObject(std::string_view objectName, std::string_view sectionName);
    using BaseObject::getObject;
    /// The resource object itself; null when unknown. Borrowed from its
    /// section: hold the data lock while using it.
    [[nodiscard]] ResourceObject* findResource(std::string_view objectName,
                                               std::string_view sectionName);
    /// The section called `name`, borrowed; null when unknown. Hold the data
    /// lock while using it.
    [[nodiscard]] ResourceSection* findSection(std::string_view name);
    /// The first object of any section (in name order of sections and
    /// objects) for which `object.sameFile` is true; null when none. Borrowed.
    [[nodiscard]] ResourceObject* findSharedObject(const ResourceObject& object);

    /// The data lock, for callers that look objects up and use them (hold it
    /// with a `platform::NamedMutexGuard`). A private lock of this manager.
    [[nodiscard]] platform::NamedMutex& getDataLock() { return dataLock_; }

private:
    struct Request {
        std::string name;
        // The objects counted for this request (the section's size when it
        // was requested), so retiring or cancelling it moves exactly that.
        int weight = 0;
    };

    void loaderLoop();
    // One loader pass; false when there was nothing to load.
    bool runLoaderPass();
    bool isBeingLoaded(const ResourceObject* object);
    // Waits until the loader is not loading `object`; false after the bounded
    // wait.
    bool waitUntilNotLoading(const ResourceObject* object);
    bool waitForLoader(std::chrono::milliseconds limit, const std::function<bool()>& isDone);

    std::map<std::string, RefPtr<ResourceSection>, std::less<>> sections_;
    std::string baseFolder_;
    std::vector<std::string> definitionFiles_;
    std::vector<Request> requestQueue_;
    std::vector<std::string> autoQueue_;
    std::int32_t pendingCount_ = 0;
    std::int32_t loadedCount_ = 0;

    class DataGuard;

    platform::NamedMutex dataLock_{""};
    std::uint32_t lockWait_;

    std::atomic<bool> running_{true};
    std::atomic<bool> started_{false};

    // Wake-ups of the loader and the end of its passes.
    std::mutex wakeMutex_;
    std::condition_variable wakeCondition_;
    bool wakeRequested_ = false;
    std::condition_variable passCondition_;
    std::uint64_t passCount_ = 0;
    bool passActive_ = false;

    // The object the loader is loading without the data lock.
    std::mutex loadingMutex_;
    std::condition_variable loadingCondition_;
    const ResourceObject* loadingObject_ = nullptr;

    std::thread loader_;
};

} // namespace orv
