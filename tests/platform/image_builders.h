// Image files for the image tests: small fixtures in data/image/ (see the README there),
// damaged byte by byte by table rows, and the two checks the decoder tables share: a file
// decodes to exactly these pixels, or it is refused with 481 "Invalid picture".
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "core/Error.h"
#include "core/Picture.h"
#include "platform/Image.h"

namespace zo::test {

using Bytes = std::vector<std::uint8_t>;

inline std::string FixturePath(const std::string& name) {
    return std::string(ZO_SOURCE_DIR) + "/tests/platform/data/image/" + name;
}

inline Bytes Fixture(const std::string& name) {
    std::ifstream f(FixturePath(name), std::ios::binary);
    EXPECT_TRUE(f) << name << " missing";
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Writes v over |size| bytes at `at`: little-endian, big-endian for a negative size.
inline void Poke(Bytes& b, std::size_t at, int size, std::uint64_t v) {
    const std::size_t n = static_cast<std::size_t>(std::abs(size));
    for (std::size_t i = 0; i < n; ++i)
        b.at(at + (size < 0 ? n - 1 - i : i)) = static_cast<std::uint8_t>(v >> (8 * i));
}

// Recomputes the CRC of each PNG chunk whose CRC field lies outside [from, to), so that a patch
// of a chunk's data reaches the decoder's own checks, and a patch of a CRC stays wrong.
inline void FixPngCrcs(Bytes& b, std::size_t from, std::size_t to) {
    if (b.size() < 8 || b[0] != 0x89 || b[1] != 'P') return;
    for (std::size_t at = 8; at + 12 <= b.size();) {
        std::size_t len = 0;
        for (std::size_t i = 0; i < 4; ++i)
            len = (len << 8) | b[at + i];
        if (len > b.size() - at - 12) return;
        const std::size_t crc = at + 8 + len;
        if (to <= crc || from >= crc + 4)
            Poke(b, crc, -4, crc32(0, &b[at + 4], static_cast<uInt>(len + 4)));
        at = crc + 4;
    }
}

// A fixture damaged in one place, once per value: each value is written over |size| bytes at
// `at` (see Poke; PNG chunk CRCs are then fixed; size 0 leaves the fixture as it is); at kCut
// keeps that many leading bytes (a negative value drops as many from the end).
inline constexpr long kCut = -1;
struct Damage {
    const char* name;
    const char* file;
    long at;
    int size;
    std::vector<std::int64_t> values;
};

inline Bytes Damaged(const Damage& d, std::int64_t v) {
    Bytes b = Fixture(d.file);
    if (d.at == kCut) {
        b.resize(v < 0 ? b.size() - static_cast<std::size_t>(-v) : static_cast<std::size_t>(v));
    } else {
        const std::size_t at = static_cast<std::size_t>(d.at);
        Poke(b, at, d.size, static_cast<std::uint64_t>(v));
        FixPngCrcs(b, at, at + static_cast<std::size_t>(std::abs(d.size)));
    }
    return b;
}

// The decoder the file's extension names; metafiles are only loaded as pictures.
inline plat::Image DecodeFile(const std::string& file, const Bytes& b) {
    const std::string ext = file.substr(file.rfind('.'));
    if (ext == ".wmf" || ext == ".emf") return plat::LoadPictureFromMemory(b), plat::Image{};
    if (ext == ".bmp") return plat::DecodeBmp(b);
    if (ext == ".png") return plat::DecodePng(b);
    return plat::DecodeIcon(b);
}

inline void ExpectRefused(const Damage& d) {
    for (const std::int64_t v : d.values) {
        SCOPED_TRACE(std::string(d.name) + " (" + d.file + ", value " + std::to_string(v) + ")");
        try {
            DecodeFile(d.file, Damaged(d, v));
            ADD_FAILURE() << "decoded";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), 481);
            EXPECT_EQ(e.Description(), "Invalid picture");
        }
    }
}

// Fixtures and the image each decodes to. Pixels: rows top first split by "/", each pixel
// AARRGGBB in hex or one of the opaque B(lack), W(hite), R(ed), G(reen), U (blue); the AND
// mask: '0' or '1' per pixel, "" for none.
struct Decoded {
    std::vector<const char*> files;
    bool alpha;
    const char* mask;
    const char* pixels;
};

inline void ExpectDecodes(const Decoded& row) {
    const std::string names = "BWRGU";
    const std::uint32_t named[] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    int width = 0;
    int height = 1;
    std::vector<std::uint32_t> pixels;
    std::istringstream in(row.pixels);
    for (std::string t; in >> t;) {
        if (t == "/") {
            ++height;
            continue;
        }
        const std::size_t n = t.size() == 1 ? names.find(t[0]) : std::string::npos;
        pixels.push_back(n != std::string::npos ? named[n] : std::stoul(t, nullptr, 16));
        width += height == 1 ? 1 : 0;
    }
    std::string mask = row.mask;
    std::erase(mask, '/');
    for (const char* file : row.files) {
        SCOPED_TRACE(file);
        const plat::Image img = DecodeFile(file, Fixture(file));
        EXPECT_EQ(img.width, width);
        EXPECT_EQ(img.height, height);
        EXPECT_EQ(img.hasAlpha, row.alpha);
        EXPECT_EQ(img.pixels, pixels);
        std::string got;  // stays "" without a mask
        for (int i = 0; !img.mask.empty() && i < img.width * img.height; ++i)
            got += img.Masked(i % img.width, i / img.width) ? '1' : '0';
        EXPECT_EQ(got, mask);
    }
}

// A standard WMF whose window extent, its only size, is cx x cy.
inline Bytes MakeWmf(int cx, int cy) {
    Bytes b = Fixture("standard.wmf");
    Poke(b, 24, 2, static_cast<std::uint64_t>(cy));
    Poke(b, 26, 2, static_cast<std::uint64_t>(cx));
    return b;
}

}  // namespace zo::test
