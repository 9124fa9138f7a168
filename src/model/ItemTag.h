// The Tag of a group or a button. Most items never get one, and a loaded design gives every
// item the empty text; neither costs an allocation or more than a pointer, which a model of a
// hundred thousand buttons would otherwise pay for each.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "core/Export.h"
#include "core/Variant.h"

namespace zo {

class ZO_API ItemTag {
public:
    const Variant& Get() const {
        static const Variant kEmpty;
        return value_ ? *value_ : kEmpty;
    }

    void Set(Variant v) {
        if (v.IsEmpty())
            value_.reset();
        else if (v.IsString() && v.AsStringRef().empty())
            value_.reset(&EmptyText());
        else
            value_.reset(std::make_unique<const Variant>(std::move(v)).release());
    }

private:
    // The empty text is one shared value that is never freed.
    static const Variant& EmptyText() {
        static const Variant kEmptyText{std::string()};
        return kEmptyText;
    }
    struct Free {
        void operator()(const Variant* v) const noexcept {
            if (v != &EmptyText()) std::default_delete<const Variant>()(v);
        }
    };
    std::unique_ptr<const Variant, Free> value_;
};

}  // namespace zo
