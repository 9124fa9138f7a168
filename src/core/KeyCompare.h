// Key comparison without regard to letter case, for keyed lists and property names.
// Keys are UTF-8; ASCII letters and the Latin-1 letters U+00C0-U+00DE / U+00E0-U+00FE are
// folded (U+00D7 and U+00F7 are signs, not letters). Other characters compare exactly.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// A word of eight ASCII bytes (each below 0x80) with the capitals made small, all at once.
inline std::uint64_t FoldAsciiWord(std::uint64_t w) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    // No byte carries into the next: every byte is below 0x80.
    const std::uint64_t atLeastA = w + ones * (0x80 - 'A');
    const std::uint64_t aboveZ = w + ones * (0x80 - 'Z' - 1);
    return w | (((atLeastA & ~aboveZ) & (ones * 0x80)) >> 2);
}

// One step of the word-at-a-time hashes of folded names and keys.
inline std::uint64_t MixWord(std::uint64_t h, std::uint64_t w) {
    h = (h ^ w) * 0x9FB21C651E98DF25ull;
    return h ^ (h >> 29);
}

// The hash of the folded bytes, taken eight at a time: keys equal without regard to case hash
// alike. Words of plain ASCII are folded in one step; from the first word that holds another
// byte on, the bytes are folded one by one and packed the same way.
inline std::uint64_t KeyHash(std::string_view s) {
    std::uint64_t h = 0x243F6A8885A308D3ull ^ s.size();
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
        if ((w & 0x8080808080808080ull) != 0) break;
        h = MixWord(h, FoldAsciiWord(w));
    }
    FoldedBytes rest(s.substr(i));
    std::uint64_t w = 0;
    int k = 0;
    while (!rest.Done()) {
        w |= std::uint64_t{rest.Next()} << (8 * k);
        if (++k == 8) {
            h = MixWord(h, w);
            w = 0;
            k = 0;
        }
    }
    if (k > 0) h = MixWord(h, w);
    // The tables use the low bits, and the last bytes of a key (where keys like "INTERNAL_17"
    // differ) reach only the high ones until they are spread.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

}  // namespace zo
