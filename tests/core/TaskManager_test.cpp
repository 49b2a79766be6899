#include "engine/core/RefPtr.h"
#include "engine/core/TaskManager.h"
#include "engine/core/TimedTaskManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

// A task that writes what happens to it into a shared journal ("A+" start,
// "A16" run with 16, "A-" stop, "A~" destroyed) and may act on its run.
class Probe : public Task {
public:
    Probe(std::string name, std::vector<std::string>& journal)
        : name_(std::move(name)), journal_(journal) {}
    ~Probe() override { journal_.push_back(name_ + "~"); }

    void start() override { journal_.push_back(name_ + "+"); }
    void run(int elapsedMs) override {
        journal_.push_back(name_ + std::to_string(elapsedMs));
        if (onRun) {
            onRun();
        }
    }
    void stop() override { journal_.push_back(name_ + "-"); }

    std::function<void()> onRun;

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

using Journal = std::vector<std::string>;

// `action` on the first call only.
std::function<void()> once(std::function<void()> action) {
    return [action = std::move(action), done = false]() mutable {
        if (!std::exchange(done, true)) {
            action();
        }
    };
}

class TaskPass : public testing::Test {
protected:
    // A probe held only by the test's list of handles (count 1).
    Probe* probe(const std::string& name) {
        handles_.emplace_back(new Probe(name, journal));
        return handles_.back().get();
    }
    // Drops the test's own references, so that the manager's are the last.
    void letGo() { handles_.clear(); }
    Journal pass(int value = 16) {
        journal.clear();
        tasks.runRound(value);
        return std::exchange(journal, {});
    }

    Journal journal;
    TaskManager tasks;

private:
    std::vector<RefPtr<Probe>> handles_;
};

TEST_F(TaskPass, RunsInOrderAndStartsEachTaskOnceBeforeItsFirstRun) {
    tasks.addTask(probe("A"));
    tasks.addTask(probe("B"));
    EXPECT_EQ(pass(16), (Journal{"A+", "A16", "B+", "B16"}));
    EXPECT_EQ(pass(7), (Journal{"A7", "B7"}));
}

TEST_F(TaskPass, InactiveTaskKeepsItsPlaceAndStartsWhenActivatedAgain) {
    Probe* a = probe("A");
    a->setActive(false);
    tasks.addTask(a);
    tasks.addTask(probe("B"));
    EXPECT_EQ(pass(), (Journal{"B+", "B16"}));
    EXPECT_FALSE(a->isStarted());
    a->setActive(true);
    EXPECT_EQ(pass(), (Journal{"A+", "A16", "B16"}));
}

TEST_F(TaskPass, TaskAddedDuringAPassRunsInItUnlessAddedByTheLastEntry) {
    Probe* a = probe("A");
    Probe* b = probe("B");
    Probe* c = probe("C");
    a->onRun = once([&] { tasks.addTask(b); });
    b->onRun = once([&] { tasks.addTask(c); });
    tasks.addTask(a);
    // B joins while A runs, but A is the last entry then: the walk already
    // noted the end. C joins while B runs with A behind it: reached at once.
    EXPECT_EQ(pass(), (Journal{"A+", "A16"}));
    tasks.addTask(probe("D"));
    EXPECT_EQ(pass(), (Journal{"A16", "B+", "B16", "D+", "D16", "C+", "C16"}));
}

TEST_F(TaskPass, TaskAddedTwiceRunsTwiceAndIsStoppedOnceOnRemoval) {
    Probe* a = probe("A");
    tasks.addTask(a);
    tasks.addTask(a);
    EXPECT_EQ(a->getRefCount(), 3);
    EXPECT_EQ(pass(), (Journal{"A+", "A16", "A16"}));
    tasks.removeTask(a);
    EXPECT_EQ(journal, (Journal{"A-"}));
    EXPECT_EQ(a->getRefCount(), 1);
    EXPECT_FALSE(a->isManaged());
    EXPECT_EQ(pass(), Journal{});
}

TEST_F(TaskPass, FinishedTaskIsRemovedAtItsNextTurnNotAtOnce) {
    Probe* a = probe("A");
    a->onRun = [a] {
        a->setFinished(true);
    };
    tasks.addTask(a);
    tasks.addTask(probe("B"));
    EXPECT_EQ(pass(), (Journal{"A+", "A16", "B+", "B16"}));
    EXPECT_TRUE(a->isManaged());
    EXPECT_EQ(pass(), (Journal{"A-", "B16"}));
    EXPECT_FALSE(a->isManaged());
    EXPECT_EQ(a->getRefCount(), 1);
}

TEST_F(TaskPass, FollowUpTakesTheFinishedTasksPlaceInTheSamePass) {
    Probe* a = probe("A");
    Probe* f = probe("F");
    a->setFollowUp(f);
    a->setFinished(true);
    tasks.addTask(a);
    tasks.addTask(probe("B"));
    EXPECT_EQ(pass(), (Journal{"A-", "B+", "B16", "F+", "F16"}));
    EXPECT_EQ(a->getFollowUp(), nullptr);
    EXPECT_TRUE(f->isManaged());
}

TEST_F(TaskPass, FollowUpOfTheLastEntryFirstRunsInTheNextPass) {
    Probe* a = probe("A");
    a->setFollowUp(probe("F"));
    a->setFinished(true);
    tasks.addTask(probe("B"));
    tasks.addTask(a);
    EXPECT_EQ(pass(), (Journal{"B+", "B16", "A-"}));
    EXPECT_EQ(pass(), (Journal{"B16", "F+", "F16"}));
}

// A finished task with two entries: handling the first drops both, and the
// walk must go on to the entry after them rather than onto a freed one.
TEST_F(TaskPass, FinishedTaskListedTwiceIsRemovedOnceAndTheWalkGoesOn) {
    Probe* a = probe("A");
    a->setFollowUp(probe("F"));
    a->setFinished(true);
    tasks.addTask(a);
    tasks.addTask(a);
    tasks.addTask(probe("B"));
    letGo(); // the list's entries hold the only references to A
    EXPECT_EQ(pass(), (Journal{"A-", "B+", "B16", "F+", "F16", "A~"}));
    EXPECT_EQ(pass(), (Journal{"B16", "F16"}));
}

TEST_F(TaskPass, TasksMayRemoveThemselvesAndOthersDuringAPass) {
    Probe* a = probe("A");
    Probe* b = probe("B");
    Probe* c = probe("C");
    // A removes the entry the walk goes to next; C removes itself.
    a->onRun = once([&] { tasks.removeTask(b); });
    c->onRun = once([&] { tasks.removeTask(c); });
    tasks.addTask(a);
    tasks.addTask(b);
    tasks.addTask(c);
    letGo();
    // B is stopped and never runs; both die only once the pass is over.
    EXPECT_EQ(pass(), (Journal{"A+", "A16", "B-", "C+", "C16", "C-", "B~", "C~"}));
    EXPECT_EQ(pass(), (Journal{"A16"}));
}

TEST_F(TaskPass, TaskRemovedAndAddedAgainInOnePassKeepsItsNewEntry) {
    Probe* a = probe("A");
    Probe* b = probe("B");
    a->onRun = once([&] {
        tasks.removeTask(b);
        tasks.addTask(b);
    });
    tasks.addTask(a);
    tasks.addTask(b);
    EXPECT_EQ(pass(), (Journal{"A+", "A16", "B-", "B+", "B16"}));
    EXPECT_TRUE(b->isManaged());
    EXPECT_EQ(b->getRefCount(), 2);
}

TEST(TaskManagerLife, DestroyingTheManagerStopsEachTaskOnceInListOrder) {
    Journal journal;
    {
        RefPtr<Probe> a(new Probe("A", journal)); // outlives the manager
        TaskManager tasks;
        tasks.addTask(a.get());
        tasks.addTask(new Probe("B", journal));
        tasks.addTask(a.get());
    }
    EXPECT_EQ(journal, (Journal{"A-", "B-", "B~", "A~"}));
}

struct RecordCase {
    const ClassRecord* record;
    const ClassRecord* asked;
    bool expected;
};

class TaskRecords : public testing::TestWithParam<RecordCase> {};

TEST_P(TaskRecords, FollowTheClassGraph) {
    const RecordCase& c = GetParam();
    EXPECT_EQ(c.record->isKindOf(*c.asked), c.expected)
        << c.record->getName() << " kind of " << c.asked->getName();
}

INSTANTIATE_TEST_SUITE_P(
    Records, TaskRecords,
    testing::Values(RecordCase{&Task::classRecord, &BaseObject::classRecord, true},
                    RecordCase{&TimedTaskManager::classRecord, &TaskManager::classRecord, true},
                    // The task manager's record is a root of its own.
                    RecordCase{&TaskManager::classRecord, &BaseObject::classRecord, false},
                    RecordCase{&TimedTaskManager::classRecord, &BaseObject::classRecord, false}));

} // namespace
} // namespace orv
