#pragma once

// Test doubles for the node tree and the modifier protocol: nodes and
// modifiers that write what happens to them into a shared journal.

#include "engine/core/GameNode.h"
#include "engine/core/Modifier.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

using Journal = std::vector<std::string>;

/// A node that notes its death ("A~") and counts its own updates.
class ProbeNode : public GameNode {
public:
    explicit ProbeNode(const std::string& name, Journal* journal = nullptr)
        : GameNode(name), journal_(journal) {}
    ~ProbeNode() override {
        if (journal_ != nullptr) {
            journal_->push_back(getName() + "~");
        }
    }
    void updateSelf(int /*elapsedMs*/) override { ++selfUpdates; }

    int selfUpdates = 0;

private:
    Journal* journal_;
};

/// A modifier that notes each update ("M16") and its death ("M~"), and
/// finishes on its `steps`-th update (0 or 1: on the first). `onUpdate` runs
/// inside each update, before it may finish.
class StubModifier : public Modifier {
public:
    StubModifier(std::string name, int steps, Journal* journal)
        : name_(std::move(name)), steps_(steps), journal_(journal) {}
    ~StubModifier() override {
        if (journal_ != nullptr) {
            journal_->push_back(name_ + "~");
        }
    }
    void update(int dtMs) override {
        if (journal_ != nullptr) {
            journal_->push_back(name_ + std::to_string(dtMs));
        }
        if (onUpdate) {
            onUpdate();
        }
        if (++updates >= steps_) {
            finish();
        }
    }

    int updates = 0;
    std::function<void()> onUpdate;

private:
    std::string name_;
    int steps_;
    Journal* journal_;
};

} // namespace orv::test
