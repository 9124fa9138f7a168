// Key comparison without regard to letter case, for keyed lists and property names.
// Keys are UTF-8; ASCII letters and the Latin-1 letters U+00C0-U+00DE / U+00E0-U+00FE are
// folded (U+00D7 and U+00F7 are signs, not letters). Other characters compare exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Export.h"

namespace zo {

// Walks a UTF-8 key and yields folded bytes; a folded Latin-1 capital becomes its small
// letter's second byte, so that equal keys yield equal byte sequences.
class ZO_API FoldedBytes {
public:
    explicit FoldedBytes(std::string_view s) : s_(s) {}
    bool Done() const { return i_ >= s_.size(); }
    unsigned char Next() {
        unsigned char c = static_cast<unsigned char>(s_[i_++]);
        if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
        if (c == 0xC3 && i_ < s_.size()) {
            // Emit the lead byte now and remember to fold the continuation byte.
            pendingLatin1_ = true;
            return c;
        }
        if (pendingLatin1_) {
            pendingLatin1_ = false;
            if (c >= 0x80 && c <= 0x9E && c != 0x97) return static_cast<unsigned char>(c + 0x20);
        }
        return c;
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
    bool pendingLatin1_ = false;
};

inline bool KeysEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;  // folding never changes a key's byte length
    if (a == b) return true;                 // most keys are asked for as they were given
    FoldedBytes fa(a), fb(b);
    while (!fa.Done())
        if (fa.Next() != fb.Next()) return false;
    return true;
}

inline std::uint64_t KeyHash(std::string_view s) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    FoldedBytes f(s);
    while (!f.Done()) {
        h ^= f.Next();
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace zo
