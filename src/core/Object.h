// Base of everything a Variant can hold as an object: items, collections, fonts, pictures.
// Objects live in std::shared_ptr; back-references to them are weak so nothing forms a cycle.
#pragma once

#include <memory>
#include <string_view>

#include "core/Export.h"

namespace zo {

class ZO_API Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // The class name a host sees (TypeName), e.g. "CButton".
    virtual std::string_view TypeName() const = 0;

protected:
    // A counted reference to this object as its own class; valid once the object is owned
    // by a shared_ptr (items are only ever created that way).
    template <class T>
    std::shared_ptr<T> SharedAs(T* self) {
        return std::shared_ptr<T>(shared_from_this(), self);
    }
    template <class T>
    std::weak_ptr<T> WeakAs(T* self) {
        return SharedAs(self);
    }
};

using ObjectPtr = std::shared_ptr<Object>;

}  // namespace zo
