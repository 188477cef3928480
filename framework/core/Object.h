#pragma once
// The root of the framework's object model. Objects are reference counted (Ref, WeakRef) and describe
// themselves through a class record, built once per class by its static Lookup().

#include "framework/core/Exceptions.h"

#include <memory>

namespace Ovelund {

class ClassRecord;

template <class T> using Ref = std::shared_ptr<T>;
template <class T> using WeakRef = std::weak_ptr<T>;

class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    static const ClassRecord& Lookup();
    virtual const ClassRecord& Record() const { return Lookup(); }

    // True when the object's class is `record` or derives from it.
    bool IsA(const ClassRecord& record) const;
};

// Declares a class's record accessor; the record itself is built in the class's source file.
#define OVELUND_OBJECT                                                                                       \
public:                                                                                                      \
    static const ::Ovelund::ClassRecord& Lookup();                                                           \
    const ::Ovelund::ClassRecord& Record() const override {                                                  \
        return Lookup();                                                                                     \
    }                                                                                                        \
                                                                                                             \
private:

// The one helper that tests a possibly missing object before use.
template <class T> T& CheckNil(T* object) {
    if (!object)
        throw NilObjectException("NilObjectException");
    return *object;
}
template <class T> T& CheckNil(const Ref<T>& object) {
    return CheckNil(object.get());
}

// Casts to T after testing the object's class; nil passes through as nil.
template <class T, class U> Ref<T> RuntimeCheckCast(const Ref<U>& object) {
    if (!object)
        return nullptr;
    if (!object->IsA(T::Lookup()))
        throw IllegalCastException("IllegalCastException");
    Ref<T> cast = std::dynamic_pointer_cast<T>(object);
    if (!cast)
        throw IllegalCastException("IllegalCastException");
    return cast;
}

} // namespace Ovelund
