#include "host/PropertyBag.h"

#include "core/KeyCompare.h"
#include "host/StdFont.h"

namespace zo {

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

namespace {

// The slot a hash starts from: its bits mixed by Fibonacci hashing, since names that differ in
// one digit give folded hashes that differ little in their low bits.
std::size_t StartSlot(std::uint64_t h, std::size_t mask) {
    return static_cast<std::size_t>((h * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

}  // namespace

std::size_t PropertyBag::Find(std::string_view name) const {
    if (slots_.empty()) return npos;
    const std::uint64_t h = KeyHash(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = StartSlot(h, mask);; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.entry == 0) return npos;
        if (s.tag == static_cast<std::uint32_t>(h >> 32) &&
            KeysEqual(order_[s.entry - 1].first, name))
            return s.entry - 1;
    }
}

void PropertyBag::Index(std::size_t entry) {
    // Kept at most half full, so probes stay short.
    if ((order_.size()) * 2 > slots_.size()) {
        Reindex();
        return;
    }
    const std::uint64_t h = hashes_[entry];
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = StartSlot(h, mask);
    while (slots_[i].entry != 0)
        i = (i + 1) & mask;
    slots_[i] = {static_cast<std::uint32_t>(h >> 32), static_cast<std::uint32_t>(entry + 1)};
}

void PropertyBag::Reindex() {
    std::size_t size = 16;
    while (size < order_.size() * 4)
        size *= 2;
    slots_.assign(size, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t e = 0; e < order_.size(); ++e) {
        std::size_t i = StartSlot(hashes_[e], mask);
        while (slots_[i].entry != 0)
            i = (i + 1) & mask;
        slots_[i] = {static_cast<std::uint32_t>(hashes_[e] >> 32),
                     static_cast<std::uint32_t>(e + 1)};
    }
}

void PropertyBag::WriteProperty(std::string_view name, const Variant& value) {
    const std::size_t at = Find(name);
    if (at != npos) {
        order_[at].second = value;
        return;
    }
    order_.emplace_back(std::string(name), value);
    hashes_.push_back(KeyHash(name));
    Index(order_.size() - 1);
}

bool PropertyBag::Add(std::string name, Variant value) {
    if (Find(name) != npos) return false;
    hashes_.push_back(KeyHash(name));
    order_.emplace_back(std::move(name), std::move(value));
    Index(order_.size() - 1);
    return true;
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
    const std::size_t at = Find(name);
    return at == npos ? defaultValue : order_[at].second;
}

bool PropertyBag::Contains(std::string_view name) const {
    return Find(name) != npos;
}

std::optional<std::size_t> PropertyBag::Position(std::string_view name) const {
    const std::size_t at = Find(name);
    if (at == npos) return std::nullopt;
    return at;
}

void PropertyBag::Clear() {
    order_.clear();
    hashes_.clear();
    slots_.clear();
}

void PropertyBag::Erase(std::string_view name) {
    const std::size_t at = Find(name);
    if (at == npos) return;
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(at));
    hashes_.erase(hashes_.begin() + static_cast<std::ptrdiff_t>(at));
    Reindex();
}

}  // namespace zo
