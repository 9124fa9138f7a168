// The host's property bag: named values kept in the order written, names matched without
// regard to letter case. A value equal to the default given with it is not stored, and
// reading a missing name gives the default back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Export.h"
#include "core/Variant.h"

namespace zo {

class ZO_API PropertyBag {
public:
    // Stores value under name, replacing what was there; with a default equal to the value,
    // removes the name instead, so the bag keeps only what differs from the defaults.
    void WriteProperty(std::string_view name, const Variant& value);
    void WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue);

    // Stores a new entry at the end; false, storing nothing, when name is already stored.
    // For readers that rebuild a bag and must refuse a name given twice.
    bool Add(std::string name, Variant value);

    // The stored value, or defaultValue when nothing is stored under name.
    Variant ReadProperty(std::string_view name, const Variant& defaultValue = {}) const;

    bool Contains(std::string_view name) const;
    // Where name stands in Entries(), if it is stored.
    std::optional<std::size_t> Position(std::string_view name) const;

    // The name a reader last asked for (found or not), or last pointed at with Concerns: when
    // a load fails, the stored value it had reached.
    const std::string& LastRead() const { return lastRead_; }
    // Tells the bag that what the reader does next concerns the value under name, read
    // earlier (a key checked when its item is added, say).
    void Concerns(std::string_view name) const { lastRead_.assign(name); }
    std::size_t Count() const { return order_.size(); }
    void Clear();

    // Entries in the order they were first written (for saving to a file).
    const std::vector<std::pair<std::string, Variant>>& Entries() const { return order_; }

    // Whether two values are equal the way the bag's default rule compares them: numbers by
    // value whatever their type, texts exactly, fonts by their attributes, other objects by
    // identity.
    static bool SameValue(const Variant& a, const Variant& b);

private:
    void Erase(std::string_view name);
    // The entry stored under name (matched without regard to case), or npos.
    std::size_t Find(std::string_view name) const;
    void Index(std::size_t entry);
    void Reindex();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // An open-addressing index over order_: each slot holds an entry's folded hash and its
    // position plus one (0 = empty). Designs hold hundreds of thousands of names; a flat
    // table keeps a look-up to one or two cache lines and a save free of per-name nodes.
    // Eight bytes a slot: a look-up is bound by fetching its slot from memory.
    struct Slot {
        std::uint32_t tag = 0;    // the hash's upper half
        std::uint32_t entry = 0;  // position + 1
    };
    std::vector<std::pair<std::string, Variant>> order_;
    std::vector<std::uint64_t> hashes_;  // of each entry, for rebuilding the index
    std::vector<Slot> slots_;
    mutable std::string lastRead_;
};

}  // namespace zo
