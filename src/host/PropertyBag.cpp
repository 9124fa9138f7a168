#include "host/PropertyBag.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

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

constexpr std::size_t kLineWords = 8;

// The first word of the filter's line for a stem (already spread, see HashOf).
std::size_t FilterLine(std::uint32_t stem, std::size_t words) {
    const std::size_t lines = words / kLineWords;
    return (std::size_t{stem} & (lines - 1)) * kLineWords;
}

// Calls f(word offset in the line, bit) for the six bits a name sets.
template <class F>
bool EachBit(std::uint64_t full, F&& f) {
    const std::uint64_t m = (full ^ (full >> 31)) * 0xD6E8FEB86659FD93ull;
    for (int k = 0; k < 6; ++k) {
        const unsigned bit = static_cast<unsigned>(m >> (9 * k)) & 511u;
        if (!f(bit >> 6, std::uint64_t{1} << (bit & 63))) return false;
    }
    return true;
}

// How far around the cursor the entries are tried before the filter and the index: the
// largest step between two names a control reads one after the other.
constexpr std::size_t kBehind = 8, kAhead = 8;
// Then, for a name the filter lets through, the entries further ahead (a reader walking the
// items reads one value of each).
constexpr std::size_t kFarAhead = 2048;
// Scans of the entries the index does not hold yet, counted in entries, may cost this many
// times the bag's size before the index catches up: a scan compares eight bytes an entry in
// order, an index entry costs a fetch from memory.
constexpr std::size_t kScanBudget = 16;

// The first of the entries around the cursor (n in all) for which same(e) holds, or npos:
// those ahead of it first, as a reader mostly moves on.
template <class Same>
std::size_t NearCursor(std::size_t cursor, std::size_t n, Same&& same) {
    const std::size_t at = std::min(cursor, n);
    const std::size_t from = cursor > kBehind ? std::min(cursor - kBehind, n) : 0;
    const std::size_t to = std::min(cursor + kAhead, n);
    for (std::size_t k = 0; k < to - from; ++k) {
        const std::size_t e = at + k < to ? at + k : from + (at + k - to);
        if (same(e)) return e;
    }
    return static_cast<std::size_t>(-1);
}

}  // namespace

namespace {

// Eight bytes at a time into h: a design's names are ten to thirty bytes, and a byte at a time
// would make each look-up wait on a chain of twenty multiplications. p has eight readable bytes
// past n.
std::uint64_t Mix(std::uint64_t h, const unsigned char* p, std::size_t n) {
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = MixWord(h, w);
    }
    if (n > 0) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        // Only the n bytes that are the name's.
        if constexpr (std::endian::native == std::endian::little)
            w &= ~std::uint64_t{0} >> (64 - 8 * n);
        else
            w &= ~std::uint64_t{0} << (64 - 8 * n);
        h = MixWord(h, w ^ (std::uint64_t{n} << 56));
    }
    return h;
}

}  // namespace

PropertyBag::Hash PropertyBag::HashOf(std::string_view name) {
    // The folded bytes (equal for names equal without regard to case), with the whole name's
    // hash taken as they are folded; then the hash of the stem's text.
    constexpr std::uint64_t kSeed = 0x243F6A8885A308D3ull;
    std::uint64_t full = kSeed;
    unsigned char small[72] = {};
    std::vector<unsigned char> large;
    unsigned char* folded = small;
    if (name.size() + 8 > sizeof small) {
        large.resize(name.size() + 8);
        folded = large.data();
    }
    // ASCII names, which are nearly all, eight bytes at a time: capitals get their 0x20 bit,
    // and the last digit ends the stem.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = kOnes * 0x80;
    std::size_t stemEnd = 0;
    bool ascii = true;
    for (std::size_t at = 0; at < name.size() && ascii; at += 8) {
        const std::size_t n = std::min<std::size_t>(8, name.size() - at);
        std::uint64_t w = 0;
        if (n == 8) {
            std::memcpy(&w, name.data() + at, 8);
        } else if (name.size() >= 8) {
            // The last eight bytes of the name, shifted down to the n that are this word's.
            std::memcpy(&w, name.data() + name.size() - 8, 8);
            if constexpr (std::endian::native == std::endian::little)
                w >>= 8 * (8 - n);
            else
                w <<= 8 * (8 - n);
        } else {
            std::memcpy(&w, name.data() + at, n);
        }
        if ((w & kHigh) != 0) {
            ascii = false;
            break;
        }
        // With every byte below 0x80 the additions carry into no other byte.
        const std::uint64_t digit = (w + kOnes * (0x80 - '0')) & ~(w + kOnes * (0x80 - '9' - 1));
        w = FoldAsciiWord(w);
        std::memcpy(folded + at, &w, 8);
        full = MixWord(full, n == 8 ? w : w ^ (std::uint64_t{n} << 56));  // as Mix does
        if (const std::uint64_t d = digit & kHigh; d != 0)
            stemEnd = at + static_cast<std::size_t>(63 - std::countl_zero(d)) / 8 + 1;
    }
    if (!ascii) {
        stemEnd = 0;
        FoldedBytes f(name);
        for (std::size_t i = 0; !f.Done(); ++i) {
            if (static_cast<unsigned>(name[i] - '0') < 10u) stemEnd = i + 1;
            folded[i] = f.Next();
        }
        full = Mix(kSeed, folded, name.size());
    }
    if (stemEnd == 0) stemEnd = name.size();
    // The stem's filter line is its text's hash plus its number: the items of a collection are
    // written and read in order, so their lines follow one another in memory instead of each
    // costing a fetch of a line of its own.
    std::size_t numberAt = stemEnd;
    std::uint32_t number = 0, scale = 1;
    while (numberAt > 0 && static_cast<unsigned>(folded[numberAt - 1] - '0') < 10u) {
        --numberAt;
        number += static_cast<std::uint32_t>(folded[numberAt] - '0') * scale;
        scale *= 10;
    }
    const std::uint64_t text = Mix(kSeed, folded, numberAt);
    return {full, static_cast<std::uint32_t>((text * 0x9E3779B97F4A7C15ull) >> 32) + number};
}

std::size_t PropertyBag::Find(std::string_view name) const {
    // A reader walking the entries in about the order they were written asks for one near the
    // last it found, mostly spelt as it was written: that needs no hash. (The control asks for
    // "ToolTip" where the file says "Tooltip", so letter case is compared folded.)
    // Names of one item differ mostly in their ends, so those are compared first.
    const std::size_t n = values_.size();
    const auto tail = [](std::string_view s) {
        std::uint64_t w = 0;
        std::memcpy(&w, s.data() + s.size() - 8, 8);
        return w;
    };
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    const bool longName = name.size() >= 8;
    const std::uint64_t end = longName ? tail(name) : 0;
    const bool endAscii = (end & kHigh) == 0;
    const std::uint64_t endFolded = endAscii ? FoldAsciiWord(end) : 0;
    // Whether the last eight bytes may be those of the same name; bytes past ASCII are left
    // to KeysEqual.
    const auto sameTail = [&](std::uint64_t w) {
        return w == end || !endAscii || (w & kHigh) != 0 || FoldAsciiWord(w) == endFolded;
    };
    const auto same = [&](std::size_t e) {
        return spans_[e].size == name.size() && (!longName || sameTail(tail(NameAt(e)))) &&
               KeysEqual(NameAt(e), name);
    };
    if (const std::size_t e = NearCursor(cursor_, n, same); e != npos) {
        cursor_ = e + 1;
        return e;
    }
    return n == 0 ? npos : FindFar(name, HashOf(name));
}

std::size_t PropertyBag::Find(std::string_view name, const Hash& h) const {
    const std::size_t n = values_.size();
    if (n == 0) return npos;
    if (const std::size_t e = NearCursor(
            cursor_, n,
            [&](std::size_t e) { return hashes_[e] == h.full && KeysEqual(NameAt(e), name); });
        e != npos) {
        cursor_ = e + 1;
        return e;
    }
    return FindFar(name, h);
}

std::size_t PropertyBag::FindFar(std::string_view name, const Hash& h) const {
    const std::size_t n = values_.size();
    const std::size_t to = std::min(cursor_ + kAhead, n);
    if (!MayContain(h)) return npos;
    const auto scan = [&](std::size_t first, std::size_t last) {
        for (std::size_t e = first; e < last; ++e)
            if (hashes_[e] == h.full && KeysEqual(NameAt(e), name)) return e;
        return npos;
    };
    const std::size_t ahead = std::min(to + kFarAhead, n);
    if (const std::size_t e = scan(to, ahead); e != npos) {
        cursor_ = e + 1;
        return e;
    }
    if (indexed_ < n && scanned_ < kScanBudget * n) {
        scanned_ += n - indexed_;
        if (const std::size_t e = scan(indexed_, n); e != npos) {
            cursor_ = e + 1;
            return e;
        }
        if (indexed_ == 0) return npos;
    } else {
        CatchUp();
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = StartSlot(h.full, mask);; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.entry == 0) return npos;
        if (s.tag == static_cast<std::uint32_t>(h.full >> 32) &&
            KeysEqual(NameAt(s.entry - 1), name)) {
            cursor_ = s.entry;
            return s.entry - 1;
        }
    }
}

bool PropertyBag::MayContain(const Hash& h) const {
    if (filter_.empty()) return false;
    const std::uint64_t* line = filter_.data() + FilterLine(h.stem, filter_.size());
    return EachBit(h.full, [&](unsigned w, std::uint64_t bit) { return (line[w] & bit) != 0; });
}

void PropertyBag::Remember(std::size_t entry) {
    // Rebuilt at eight names a line on average, to four.
    if (values_.size() * kLineWords > filter_.size() * 8) {
        RebuildFilter();
        return;
    }
    std::uint64_t* line = filter_.data() + FilterLine(stems_[entry], filter_.size());
    EachBit(hashes_[entry], [&](unsigned w, std::uint64_t bit) {
        line[w] |= bit;
        return true;
    });
}

void PropertyBag::CatchUp() const {
    if (indexed_ == values_.size()) return;
    // Kept at most half full, so probes stay short.
    if (values_.size() * 2 > slots_.size()) {
        std::size_t size = 16;
        while (size < values_.size() * 4)
            size *= 2;
        slots_.assign(size, Slot{});
        indexed_ = 0;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t e = indexed_; e < values_.size(); ++e) {
        std::size_t i = StartSlot(hashes_[e], mask);
        while (slots_[i].entry != 0)
            i = (i + 1) & mask;
        slots_[i] = {static_cast<std::uint32_t>(hashes_[e] >> 32),
                     static_cast<std::uint32_t>(e + 1)};
    }
    indexed_ = values_.size();
    scanned_ = 0;
}

// The filter at a size for the entries there are (at least `room`), when it has filled up.
void PropertyBag::RebuildFilter(std::size_t room) {
    std::size_t lines = 1;
    while (lines * 4 < std::max(room, values_.size()))
        lines *= 2;
    filter_.assign(lines * kLineWords, 0);
    for (std::size_t e = 0; e < values_.size(); ++e) {
        std::uint64_t* line = filter_.data() + FilterLine(stems_[e], filter_.size());
        EachBit(hashes_[e], [&](unsigned w, std::uint64_t bit) {
            line[w] |= bit;
            return true;
        });
    }
}

// The index and the filter again, after an entry went and the later ones moved.
void PropertyBag::Reindex() {
    slots_.clear();
    indexed_ = 0;
    scanned_ = 0;
    RebuildFilter();
    cursor_ = std::min(cursor_, values_.size());
}

void PropertyBag::Append(std::string_view name, Variant value, const Hash& h) {
    spans_.push_back({names_.size(), name.size()});
    names_.append(name);
    values_.push_back(std::move(value));
    hashes_.push_back(h.full);
    stems_.push_back(h.stem);
    Remember(values_.size() - 1);
    cursor_ = values_.size();
}

void PropertyBag::WriteProperty(std::string_view name, Variant value) {
    const Hash h = HashOf(name);
    // Writers mostly bring names the bag does not hold yet: the filter tells them apart
    // before the entries around the cursor are tried.
    const std::size_t at = MayContain(h) ? Find(name, h) : npos;
    if (at != npos) {
        values_[at] = std::move(value);
        return;
    }
    Append(name, std::move(value), h);
}

void PropertyBag::ReplaceAt(std::size_t position, Variant value) {
    if (position >= values_.size())
        throw std::out_of_range("PropertyBag::ReplaceAt: position " + std::to_string(position) +
                                " of " + std::to_string(values_.size()) + " entries");
    values_[position] = std::move(value);
}

bool PropertyBag::Add(std::string_view name, Variant&& value) {
    const Hash h = HashOf(name);
    if (MayContain(h) && Find(name, h) != npos) return false;
    Append(name, std::move(value), h);
    return true;
}

void PropertyBag::WriteProperty(std::string_view name, Variant value, const Variant& defaultValue) {
    if (SameValue(value, defaultValue)) {
        Erase(name);
        return;
    }
    WriteProperty(name, std::move(value));
}

Variant PropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) const {
    return ReadPropertyRef(name, defaultValue);
}

const Variant& PropertyBag::ReadPropertyRef(std::string_view name,
                                            const Variant& defaultValue) const {
    const std::size_t at = Find(name);
    lastReadAt_ = at;
    if (at != npos) return values_[at];
    lastRead_.assign(name);
    return defaultValue;
}

std::string PropertyBag::LastRead() const {
    return lastReadAt_ != npos && lastReadAt_ < values_.size() ? std::string(NameAt(lastReadAt_))
                                                               : lastRead_;
}

void PropertyBag::Concerns(std::string_view name) const {
    lastReadAt_ = npos;
    lastRead_.assign(name);
}

bool PropertyBag::Contains(std::string_view name) const {
    return Find(name) != npos;
}

std::optional<std::size_t> PropertyBag::Position(std::string_view name) const {
    const std::size_t at = Find(name);
    if (at == npos) return std::nullopt;
    return at;
}

void PropertyBag::Reserve(std::size_t count, std::size_t nameBytes) {
    spans_.reserve(count);
    values_.reserve(count);
    names_.reserve(nameBytes != 0 ? nameBytes : count * 24);
    hashes_.reserve(count);
    stems_.reserve(count);
    // The filter at the size it will grow to, so it is not rebuilt on the way.
    if (filter_.size() * 4 < count * kLineWords) RebuildFilter(count);
}

void PropertyBag::Clear() {
    if (lastReadAt_ != npos) Concerns(LastRead());
    names_.clear();
    spans_.clear();
    values_.clear();
    hashes_.clear();
    stems_.clear();
    slots_.clear();
    indexed_ = 0;
    filter_.clear();
    cursor_ = 0;
    scanned_ = 0;
}

void PropertyBag::Erase(std::string_view name) {
    const std::size_t at = Find(name);
    if (at == npos) return;
    // The last read names its entry by position, which is about to change.
    if (lastReadAt_ != npos) Concerns(LastRead());
    // The names after it move up over its bytes.
    const Span gone = spans_[at];
    names_.erase(gone.at, gone.size);
    for (std::size_t e = at + 1; e < spans_.size(); ++e)
        spans_[e].at -= gone.size;
    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(at));
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
    hashes_.erase(hashes_.begin() + static_cast<std::ptrdiff_t>(at));
    stems_.erase(stems_.begin() + static_cast<std::ptrdiff_t>(at));
    Reindex();
}

}  // namespace zo
