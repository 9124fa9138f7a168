// The host's property bag: named values kept in the order written, names matched without
// regard to letter case. A value equal to the default given with it is not stored, and
// reading a missing name gives the default back.
// A bag is filled and read by one thread at a time: its look-ups keep a cursor and catch up
// their index, so even the const readers change hidden state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/BigBlocks.h"
#include "core/Export.h"
#include "core/Variant.h"

namespace zo {

class ZO_API PropertyBag {
public:
    // Stores value under name, replacing what was there; with a default equal to the value,
    // removes the name instead, so the bag keeps only what differs from the defaults.
    void WriteProperty(std::string_view name, Variant value);
    void WriteProperty(std::string_view name, Variant value, const Variant& defaultValue);

    // Stores a new entry at the end, taking the value; false, storing nothing and leaving the
    // value with the caller, when name is already stored. For readers that rebuild a bag and
    // must refuse a name given twice.
    bool Add(std::string_view name, Variant&& value);

    // The stored value, or defaultValue when nothing is stored under name.
    Variant ReadProperty(std::string_view name, const Variant& defaultValue = {}) const;
    // The same without a copy: the stored value, or defaultValue itself. Valid until the bag
    // changes (or defaultValue goes).
    const Variant& ReadPropertyRef(std::string_view name, const Variant& defaultValue) const;

    // Replaces the value of the entry at position in Entries(), for a reader that knows where
    // it stored a value it could only complete later; throws std::out_of_range past the end.
    void ReplaceAt(std::size_t position, Variant value);

    bool Contains(std::string_view name) const;
    // Where name stands in Entries(), if it is stored.
    std::optional<std::size_t> Position(std::string_view name) const;

    // The name a reader last asked for (found or not; spelt as stored when found), or last
    // pointed at with Concerns: when a load fails, the stored value it had reached.
    std::string LastRead() const;
    // Tells the bag that what the reader does next concerns the value under name, read
    // earlier (a key checked when its item is added, say).
    void Concerns(std::string_view name) const;
    std::size_t Count() const { return values_.size(); }
    void Clear();
    // Makes room for count entries in all, and nameBytes of their names (0: as a design's names
    // run), for a reader that knows how many it will add.
    void Reserve(std::size_t count, std::size_t nameBytes = 0);

    // A stored entry as Entries() hands it out.
    struct Entry {
        std::string_view name;
        const Variant& value;
    };
    // The entries in the order they were first written (for saving to a file); valid until the
    // bag changes.
    class EntryList {
    public:
        class Iterator {
        public:
            Iterator(const PropertyBag& bag, std::size_t at) : bag_(&bag), at_(at) {}
            Entry operator*() const { return {bag_->NameAt(at_), bag_->values_[at_]}; }
            Iterator& operator++() {
                ++at_;
                return *this;
            }
            bool operator==(const Iterator& other) const { return at_ == other.at_; }

        private:
            const PropertyBag* bag_;
            std::size_t at_;
        };
        explicit EntryList(const PropertyBag& bag) : bag_(bag) {}
        std::size_t size() const { return bag_.Count(); }
        Entry operator[](std::size_t i) const { return *Iterator(bag_, i); }
        Iterator begin() const { return {bag_, 0}; }
        Iterator end() const { return {bag_, bag_.Count()}; }

    private:
        const PropertyBag& bag_;
    };
    EntryList Entries() const { return EntryList(*this); }

    // Whether two values are equal the way the bag's default rule compares them: numbers by
    // value whatever their type, texts exactly, fonts by their attributes, other objects by
    // identity.
    static bool SameValue(const Variant& a, const Variant& b);

private:
    void Erase(std::string_view name);
    // The entry stored under name (matched without regard to case) whose folded hash is h, or
    // npos.
    // A name's folded hash, and its stem's place in the filter: the stem (up to the name's
    // last digit) is shared by the names of one numbered item, and its place is the hash of
    // the text before the stem's number plus that number.
    struct Hash {
        std::uint64_t full = 0;
        std::uint32_t stem = 0;
    };
    static Hash HashOf(std::string_view name);
    std::size_t Find(std::string_view name, const Hash& h) const;
    std::size_t Find(std::string_view name) const;
    // Find past the entries around the cursor, which the caller has tried.
    std::size_t FindFar(std::string_view name, const Hash& h) const;
    void Append(std::string_view name, Variant value, const Hash& h);
    std::string_view NameAt(std::size_t e) const {
        return {names_.data() + spans_[e].at, spans_[e].size};
    }
    bool MayContain(const Hash& h) const;
    void Remember(std::size_t entry);
    void CatchUp() const;
    void RebuildFilter(std::size_t room = 0);
    void Reindex();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // Designs hold hundreds of thousands of names, and a look-up in a table of that size waits
    // for memory. Most look-ups avoid it: a reader asks for names near the one it asked for
    // last (a control reads a design back in about the order it wrote it), so the entries
    // around a cursor are tried first; a name that is not stored (every write to a fresh bag,
    // and a default left out) is told apart by a filter that keeps the names of one stem in
    // one cache line, so one numbered item's names cost one fetch between them. Only the rest
    // goes further: the entries just ahead of the cursor, then a scan of those the index does
    // not hold yet, and once scans have cost about as much as the index, the index.
    // The index: open addressing over the entries; each slot holds an entry's folded hash and its
    // position plus one (0 = empty).
    struct Slot {
        std::uint32_t tag = 0;    // the hash's upper half
        std::uint32_t entry = 0;  // position + 1
    };
    // The entries: names one after another in one block (a design has hundreds of thousands,
    // and a string each would be an allocation each), where each name stands, and the values.
    struct Span {
        std::size_t at = 0;
        std::size_t size = 0;
    };
    BigString names_;
    BigVector<Span> spans_;
    BigVector<Variant> values_;
    BigVector<std::uint64_t> hashes_;  // of each entry: the cursor's test, and the index's
    BigVector<std::uint32_t> stems_;   // of each entry, for rebuilding the filter
    mutable BigVector<Slot> slots_;
    mutable std::size_t indexed_ = 0;  // entries in slots_ (the first ones)
    // A Bloom filter in lines of 512 bits (eight words), one line a stem, six bits a name;
    // about one line for every four to eight names.
    BigVector<std::uint64_t> filter_;
    mutable std::size_t cursor_ = 0;  // just after the entry found last
    // Entries compared one by one since the index last caught up: a few look-ups far from the
    // cursor are cheaper as a scan than as building the index of a large bag.
    mutable std::size_t scanned_ = 0;
    // The last read: the entry found, or (npos) the name asked for. A load reads hundreds of
    // thousands of names, and most are found.
    mutable std::size_t lastReadAt_ = npos;
    mutable std::string lastRead_;
};

}  // namespace zo
