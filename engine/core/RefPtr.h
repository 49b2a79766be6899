#pragma once

#include <cstddef>
#include <utility>

namespace orv {

/// Owns one reference to an intrusively counted object (anything with
/// `addRef` and `release`, normally a BaseObject). Copying adds a reference,
/// dropping releases it. Getters across the engine hand out plain pointers
/// without a reference; a RefPtr is how a caller keeps such an object.
///
///     RefPtr<PropertyNode> node(new PropertyNode("a", "Sprite")); // count 1
///     RefPtr<PropertyNode> copy = node;                            // count 2
template <class T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {} // NOLINT(google-explicit-constructor): null converts freely
    /// Takes a new reference to `object` (which may be null).
    RefPtr(T* object) : object_(object) { // NOLINT(google-explicit-constructor)
        if (object_ != nullptr) {
            object_->addRef();
        }
    }
    RefPtr(const RefPtr& other) : RefPtr(other.object_) {}
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U>
    RefPtr(const RefPtr<U>& other) : RefPtr(other.get()) {} // NOLINT(google-explicit-constructor)
    ~RefPtr() { reset(); }

    RefPtr& operator=(const RefPtr& other) {
        if (this != &other) {
            RefPtr(other).swap(*this);
        }
        return *this;
    }
    RefPtr& operator=(RefPtr&& other) noexcept {
        RefPtr(std::move(other)).swap(*this);
        return *this;
    }
    RefPtr& operator=(T* object) {
        RefPtr(object).swap(*this);
        return *this;
    }

    /// Releases the reference held, if any.
    void reset() {
        if (T* object = std::exchange(object_, nullptr)) {
            object->release();
        }
    }
    void swap(RefPtr& other) noexcept { std::swap(object_, other.object_); }

    [[nodiscard]] T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.object_ == b.object_; }
    friend bool operator==(const RefPtr& a, const T* b) { return a.object_ == b; }
    friend bool operator==(const RefPtr& a, std::nullptr_t) { return a.object_ == nullptr; }

private:
    T* object_ = nullptr;
};

} // namespace orv
