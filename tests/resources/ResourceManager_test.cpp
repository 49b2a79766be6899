#include "engine/core/Log.h"
#include "engine/resources/ResourceManager.h"
#include "tests/resources/ResourceTestKinds.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace orv {
namespace {

using test::GatedResource;
using test::LoadGate;

constexpr std::chrono::seconds kLoadLimit(10);

// A thread of a test that is joined whenever the test leaves its scope, also
// when an assertion fails before the test's own join: `release` runs first
// and lets the thread finish what it waits for. A thread left unjoined would
// end the whole test program instead of failing one test.
class JoinedThread {
public:
    JoinedThread(std::function<void()> body, std::function<void()> release)
        : release_(std::move(release)), thread_(std::move(body)) {}
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;
    ~JoinedThread() { join(); }

    void join() {
        if (thread_.joinable()) {
            release_();
            thread_.join();
        }
    }

private:
    std::function<void()> release_;
    std::thread thread_;
};

class ResourceManagerTest : public testing::Test {
protected:
    // Adds a section of `count` gated objects named "<section>.0" ... in load
    // order; the object at `blockingIndex` waits for the gate.
    void addSection(const std::string& name, int count, int blockingIndex = -1,
                    bool autoLoad = false) {
        const RefPtr<ResourceSection> section(new ResourceSection(name, autoLoad));
        for (int i = 0; i < count; ++i) {
            const std::string objectName = name + "." + std::to_string(i);
            section->addObject(objectName, new GatedResource(objectName, gate, i == blockingIndex));
        }
        manager->addSection(section.get());
    }

    [[nodiscard]] bool isLoaded(const std::string& objectName, const std::string& sectionName) {
        const platform::NamedMutexGuard guard(manager->getDataLock());
        const ResourceObject* object = manager->findResource(objectName, sectionName);
        return object != nullptr && object->isLoaded();
    }

    // Declared before the manager: objects report to it while they are freed.
    LoadGate gate;
    RefPtr<ResourceManager> manager{new ResourceManager()};
};

TEST_F(ResourceManagerTest, RequestedSectionsLoadInOrderAndReportProgress) {
    addSection("a", 3);
    addSection("b", 5, 0);
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0) << "nothing requested";

    manager->requestSection("a");
    manager->requestSection("b");
    EXPECT_DOUBLE_EQ(manager->getProgress(), 0.0);
    manager->setStarted(true);

    ASSERT_TRUE(gate.waitFor([&] { return gate.loadsBegun == 4; }));
    EXPECT_DOUBLE_EQ(manager->getProgress(), 0.375) << "3 of 8 objects loaded";
    gate.setOpen(true);
    ASSERT_TRUE(manager->waitForRequests(kLoadLimit));

    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0);
    const std::vector<std::string> expectedOrder{"a.0", "a.1", "a.2", "b.0",
                                                 "b.1", "b.2", "b.3", "b.4"};
    EXPECT_EQ(gate.getLoadOrder(), expectedOrder);
    EXPECT_NE(manager->getObject("b.4", "b"), nullptr);
    EXPECT_EQ(manager->getObject("b.4", "a"), nullptr);
    EXPECT_EQ(manager->getObject("zz", "b"), nullptr);
    EXPECT_EQ(manager->getLoadedObject("b.0", "nowhere"), nullptr);
    EXPECT_EQ(manager->findSection("nowhere"), nullptr) << "lookups create no sections";
}

TEST_F(ResourceManagerTest, RequestsCountEachSectionOnceAndSkipLoadedSections) {
    addSection("a", 2);
    manager->requestSection("a");
    manager->requestSection("a");
    manager->setStarted(true);
    ASSERT_TRUE(manager->waitForRequests(kLoadLimit));
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0) << "a second request counted twice";

    manager->clearRequests();
    manager->requestSection("a"); // every object loaded: nothing queued
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0);
    EXPECT_EQ(manager->nextPendingSection(ResourceManager::Queue::Requests), nullptr);
    EXPECT_EQ(gate.getLoadsBegun(), 2);

    const test::QuietLog quiet;
    manager->requestSection("undefined");
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0);
}

TEST_F(ResourceManagerTest, NothingLoadsBeforeStartAndRepeatedRequestsAllLoad) {
    addSection("a", 1);
    manager->requestSection("a");
    EXPECT_FALSE(manager->waitForRequests(std::chrono::milliseconds(0)));
    EXPECT_FALSE(isLoaded("a.0", "a"));
    manager->setStarted(true);
    ASSERT_TRUE(manager->waitForRequests(kLoadLimit));

    // Requests land at varying points of the loader's cycle; each must be
    // served without any other nudge.
    for (int i = 0; i < 200; ++i) {
        const std::string name = "s" + std::to_string(i);
        addSection(name, 1);
        manager->requestSection(name);
        ASSERT_TRUE(manager->waitForRequests(kLoadLimit)) << name;
        ASSERT_TRUE(isLoaded(name + ".0", name));
    }
}

TEST_F(ResourceManagerTest, AutoSectionsLoadAfterRequestsAndAreNotCounted) {
    addSection("auto", 2, 0, true);
    addSection("a", 2);
    manager->requestSection("a");
    manager->setStarted(true);

    ASSERT_TRUE(gate.waitFor([&] { return gate.loadsBegun == 3; }));
    const std::vector<std::string> order = gate.getLoadOrder();
    EXPECT_EQ(order.front(), "a.0");
    EXPECT_EQ(order.back(), "auto.0");
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0) << "auto sections never count";
    gate.setOpen(true);
    ASSERT_TRUE(manager->waitUntilIdle(kLoadLimit));
    EXPECT_TRUE(isLoaded("auto.1", "auto"));
}

TEST_F(ResourceManagerTest, CancelledRequestsStopCountingAndUnloadReleases) {
    addSection("a", 2);
    addSection("b", 3);
    manager->requestSection("a");
    manager->requestSection("b");
    manager->cancelSection("b", false);
    EXPECT_EQ(manager->findSection("b"), nullptr);
    manager->setStarted(true);
    ASSERT_TRUE(manager->waitForRequests(kLoadLimit));
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0) << "the cancelled section still counted";
    EXPECT_EQ(gate.countLoadsOf("b.0"), 0);

    manager->unloadSection("a");
    EXPECT_FALSE(isLoaded("a.0", "a"));
    EXPECT_EQ(manager->getObject("a.0", "a"), nullptr);
    manager->requestSection("a");
    ASSERT_TRUE(manager->waitForRequests(kLoadLimit));
    EXPECT_EQ(gate.countLoadsOf("a.0"), 2) << "an unloaded object loads again";

    manager->cancelSection("a", true);
    EXPECT_EQ(manager->findSection("a"), nullptr);
    EXPECT_TRUE(gate.waitFor([&] { return gate.destroyed == 5; }))
        << "cancelled sections free their objects";
}

TEST_F(ResourceManagerTest, CancelWhileTheLoaderLoadsKeepsTheObjectAlive) {
    addSection("a", 3, 0);
    manager->requestSection("a");
    manager->setStarted(true);
    ASSERT_TRUE(gate.waitFor([&] { return gate.loadsBegun == 1; }));

    // The loader is inside the load of a.0, which only the section holds.
    manager->cancelSection("a", true);
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0);
    EXPECT_TRUE(gate.waitFor([&] { return gate.destroyed == 2; })) << "a.1 and a.2 go at once";

    gate.setOpen(true);
    ASSERT_TRUE(manager->waitUntilIdle(kLoadLimit));
    EXPECT_TRUE(gate.waitFor([&] { return gate.destroyed == 3; }));
    EXPECT_EQ(gate.getDestroyedWhileLoading(), 0);
    EXPECT_EQ(gate.getLoadsBegun(), 1) << "nothing of the cancelled section loads after";
}

TEST_F(ResourceManagerTest, OnDemandLoadsRunOnTheCallerAndNeverTwice) {
    addSection("never", 1);
    EXPECT_NE(manager->getLoadedObject("never.0", "never"), nullptr);
    {
        const platform::NamedMutexGuard guard(manager->getDataLock());
        auto* object = static_cast<GatedResource*>(manager->findResource("never.0", "never"));
        EXPECT_EQ(object->getLoadThread(), std::this_thread::get_id());
    }

    addSection("a", 1, 0);
    manager->requestSection("a");
    manager->setStarted(true);
    ASSERT_TRUE(gate.waitFor([&] { return gate.loadsBegun == 2; }));
    EXPECT_EQ(manager->getObject("a.0", "a"), nullptr) << "nothing handed out mid-load";

    // Opens the gate only once this thread holds the data lock inside
    // getLoadedObject, so the on-demand load meets the loader's.
    std::atomic<bool> giveUp{false};
    JoinedThread opener(
        [&] {
            platform::NamedMutex& lock = manager->getDataLock();
            while (!giveUp && lock.tryLockFor(0)) {
                lock.unlock();
                std::this_thread::yield();
            }
            gate.setOpen(true);
        },
        [&] { giveUp = true; });
    EXPECT_NE(manager->getLoadedObject("a.0", "a"), nullptr);
    opener.join();
    EXPECT_EQ(gate.countLoadsOf("a.0"), 1);
}

TEST_F(ResourceManagerTest, ShutDownWaitsForTheLoadInProgressAndLoadsNoMore) {
    addSection("a", 3, 0);
    manager->requestSection("a");
    manager->setStarted(true);
    ASSERT_TRUE(gate.waitFor([&] { return gate.loadsBegun == 1; }));

    JoinedThread stopper([&] { manager->shutDown(); }, [&] { gate.setOpen(true); });
    const auto deadline = std::chrono::steady_clock::now() + kLoadLimit;
    while (manager->isRunning() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    ASSERT_FALSE(manager->isRunning());
    gate.setOpen(true);
    stopper.join();

    EXPECT_TRUE(isLoaded("a.0", "a")) << "the load in progress finished";
    EXPECT_EQ(gate.getLoadsBegun(), 1);
    manager = nullptr;
    EXPECT_EQ(gate.getDestroyed(), 3);
    EXPECT_EQ(gate.getDestroyedWhileLoading(), 0);
}

TEST_F(ResourceManagerTest, DestroyInstanceJoinsTheLoaderBeforeFreeing) {
    ResourceManager* global = ResourceManager::create();
    EXPECT_EQ(ResourceManager::create(), global);
    {
        const RefPtr<ResourceSection> section(new ResourceSection("g"));
        section->addObject("g.0", new GatedResource("g.0", gate, true));
        section->addObject("g.1", new GatedResource("g.1", gate, false));
        global->addSection(section.get());
    }
    global->requestSection("g");
    global->setStarted(true);
    ASSERT_TRUE(gate.waitFor([&] { return gate.loadsBegun == 1; }));

    JoinedThread destroyer([] { ResourceManager::destroyInstance(); }, [&] { gate.setOpen(true); });
    const auto deadline = std::chrono::steady_clock::now() + kLoadLimit;
    while (ResourceManager::getInstance() != nullptr &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    gate.setOpen(true);
    destroyer.join();

    EXPECT_EQ(ResourceManager::getInstance(), nullptr);
    EXPECT_EQ(gate.getLoadsBegun(), 1);
    EXPECT_EQ(gate.getDestroyed(), 2);
    EXPECT_EQ(gate.getDestroyedWhileLoading(), 0);
}

TEST(ResourceManagerLock, ATimedOutWaitLogsAndReleasesNothing) {
    const RefPtr<ResourceManager> manager(new ResourceManager(1));
    std::mutex signalMutex;
    std::condition_variable signal;
    bool held = false;
    bool done = false;
    const auto finish = [&] {
        {
            const std::scoped_lock lock(signalMutex);
            done = true;
        }
        signal.notify_all();
    };
    JoinedThread holder(
        [&] {
            const platform::NamedMutexGuard guard(manager->getDataLock());
            std::unique_lock lock(signalMutex);
            held = guard.isAcquired();
            signal.notify_all();
            (void)signal.wait_for(lock, kLoadLimit, [&] { return done; });
        },
        finish);
    {
        std::unique_lock lock(signalMutex);
        ASSERT_TRUE(signal.wait_for(lock, kLoadLimit, [&] { return held; }));
    }

    std::string logged;
    const LogSink previous = setLogSink([&](LogLevel, std::string_view line) { logged += line; });
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0) << "the call goes on without the lock";
    setLogSink(previous);
    EXPECT_NE(logged.find("resource data"), std::string::npos) << logged;
    EXPECT_FALSE(manager->getDataLock().tryLockFor(0)) << "the holder's lock was released";

    holder.join();
}

} // namespace
} // namespace orv
