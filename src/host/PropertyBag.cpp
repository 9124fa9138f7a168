#include "host/PropertyBag.h"

#include "core/KeyCompare.h"
#include "host/StdFont.h"

namespace zo {

std::size_t PropertyBag::Hash::operator()(const std::string& s) const {
    return static_cast<std::size_t>(KeyHash(s));
}

bool PropertyBag::Eq::operator()(const std::string& a, const std::string& b) const {
    return KeysEqual(a, b);
}

bool PropertyBag::SameValue(const Variant& a, const Variant& b) {
    const bool aNum = a.IsNumber() || a.Type() == VarType::Boolean;
    const bool bNum = b.IsNumber() || b.Type() == VarType::Boolean;
    if (aNum && bNum) return a.ToDouble() == b.ToDouble();
    // A font equal in every attribute to its default (the host's font, usually another
    // object) need not be stored.
    const auto fa = a.As<StdFont>(), fb = b.As<StdFont>();
    if (fa && fb)
        return KeysEqual(fa->Name(), fb->Name()) &&
               fa->SizeTenThousandths() == fb->SizeTenThousandths() &&
               fa->Weight() == fb->Weight() && fa->Italic() == fb->Italic() &&
               fa->Underline() == fb->Underline() && fa->Strikethrough() == fb->Strikethrough() &&
               fa->Charset() == fb->Charset();
    return a == b;
}

void PropertyBag::WriteProperty(std::string_view name, const Variant& value) {
    std::string key(name);
    auto it = index_.find(key);
    if (it != index_.end()) {
        order_[it->second].second = value;
        return;
    }
    index_.emplace(key, order_.size());
    order_.emplace_back(std::move(key), value);
}

void PropertyBag::WriteProperty(std::string_view name, const Variant& value,
                                const Variant& defaultValue) {
    if (SameValue(value, defaultValue)) {
        Erase(name);
        return;
    }
    WriteProperty(name, value);
}

Variant PropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) const {
    lastRead_.assign(name);
    auto it = index_.find(lastRead_);
    return it == index_.end() ? defaultValue : order_[it->second].second;
}

bool PropertyBag::Contains(std::string_view name) const {
    return index_.find(std::string(name)) != index_.end();
}

std::optional<std::size_t> PropertyBag::Position(std::string_view name) const {
    auto it = index_.find(std::string(name));
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

void PropertyBag::Clear() {
    order_.clear();
    index_.clear();
}

void PropertyBag::Erase(std::string_view name) {
    auto it = index_.find(std::string(name));
    if (it == index_.end()) return;
    const std::size_t pos = it->second;
    index_.erase(it);
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(pos));
    for (auto& [key, p] : index_)
        if (p > pos) --p;
}

}  // namespace zo
