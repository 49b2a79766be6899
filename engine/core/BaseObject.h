#pragma once

#include "engine/core/ClassRecord.h"

#include <string>

namespace orv {

/// Root of every registered engine and game class: an intrusive reference
/// count, a run-time class record, an interface query and a textual dump.
///
/// A new object has a count of 0; whoever stores it takes the first reference
/// (usually through a RefPtr) and the release that brings the count back to 0
/// destroys it. An object that was never referenced is never destroyed by the
/// count. Counts are not atomic: objects are referenced on the main thread, and
/// the few the loader thread touches are guarded by the resource locks.
///
///     RefPtr<Sprite> sprite(new Sprite(definition));   // count 1
///     parent->addChild(sprite.get());                   // count 2
///     sprite = nullptr;                                 // count 1, owned by parent
class BaseObject {
public:
    static const ClassRecord classRecord;

    BaseObject() = default;
    BaseObject(const BaseObject&) = delete;
    BaseObject& operator=(const BaseObject&) = delete;
    virtual ~BaseObject() = default;

    void addRef() { ++refCount_; }
    /// Drops one reference and destroys the object when it was the last one.
    void release();
    [[nodiscard]] int getRefCount() const { return refCount_; }

    /// The most-derived object (the one `destroy` deletes).
    virtual BaseObject* getObject() { return this; }
    /// Deletes the object; called by `release` when the count reaches 0.
    virtual void destroy();
    [[nodiscard]] virtual const ClassRecord& getClassRecord() const { return classRecord; }
    /// The part of this object that implements the interface whose record is
    /// given, or null. Borrowed: it lives as long as this object.
    virtual void* getInterface(const ClassRecord& interfaceRecord);
    /// "Address: <address as signed decimal>; "
    [[nodiscard]] virtual std::string toString() const;

    /// Shorthand for `getClassRecord().isKindOf(record)`.
    [[nodiscard]] bool isKindOf(const ClassRecord& record) const {
        return getClassRecord().isKindOf(record);
    }

private:
    int refCount_ = 0;
};

/// Common parent record of the interface classes (`IRenderable`,
/// `iInputListener`, `iGuiMethod`). It has no code of its own.
struct Interface {
    static const ClassRecord classRecord;
};

/// `object` as a `T` when its class record is kind of `T`'s and it really is a
/// `T`; null otherwise (also for a null object). Use it wherever data decides
/// the class of an object, so that a wrong definition never yields a bad cast.
template <class T>
[[nodiscard]] T* kindCast(BaseObject* object) {
    if (object == nullptr || !object->isKindOf(T::classRecord)) {
        return nullptr;
    }
    return dynamic_cast<T*>(object);
}

} // namespace orv
