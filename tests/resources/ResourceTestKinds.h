#pragma once

#include "engine/resources/ResourceObject.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv::test {

/// What the gated test objects report, and the gate that holds back the
/// loads of blocking objects until a test opens it. Shared by the test and
/// the loader thread; every field is read and written under `mutex`.
struct LoadGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    /// Names of the objects in the order their loads began.
    std::vector<std::string> loadOrder;
    int loadsBegun = 0;
    int destroyed = 0;
    /// Objects destroyed while their load was still running.
    int destroyedWhileLoading = 0;

    /// Waits (at most 10 s) until `condition` holds; false after the limit.
    bool waitFor(const std::function<bool()>& condition);
    void setOpen(bool isOpen);
    [[nodiscard]] int countLoadsOf(const std::string& name);
    // Readings taken under the mutex.
    [[nodiscard]] std::vector<std::string> getLoadOrder();
    [[nodiscard]] int getLoadsBegun();
    [[nodiscard]] int getDestroyed();
    [[nodiscard]] int getDestroyedWhileLoading();
};

/// A resource kind for the loader tests: its load records itself in the
/// gate and, when it blocks, waits for the gate to open (bounded) so a test
/// can hold the loader inside a load and race it.
class GatedResource : public ResourceObject {
public:
    GatedResource(std::string name, LoadGate& gate, bool blocks, const std::string& fileName = {});
    ~GatedResource() override;

    void load() override;
    [[nodiscard]] BaseObject* getHeldObject() const override;

    [[nodiscard]] const std::string& getName() const { return name_; }
    /// The thread of the last load.
    [[nodiscard]] std::thread::id getLoadThread();

private:
    std::string name_;
    LoadGate& gate_;
    bool blocks_;
    bool loading_ = false;
    std::thread::id loadThread_;
};

} // namespace orv::test
