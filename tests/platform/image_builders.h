// Image files for the image tests: small fixtures in data/image/ (see the README there), and
// the two checks driven by the tables there: a fixture decodes to exactly the pixels of
// decoded.txt, and one damaged as refused.txt says is refused with 481 "Invalid picture".
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

#include "core/Error.h"
#include "core/Picture.h"
#include "core/TestData.h"
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

// The decoder the file's extension names; metafiles are only loaded as pictures.
inline plat::Image DecodeFile(const std::string& file, const Bytes& b) {
    const std::string ext = file.substr(file.rfind('.'));
    if (ext == ".wmf" || ext == ".emf") return plat::LoadPictureFromMemory(b), plat::Image{};
    if (ext == ".bmp") return plat::DecodeBmp(b);
    if (ext == ".png") return plat::DecodePng(b);
    return plat::DecodeIcon(b);
}

// Hands the trimmed '|'-separated fields of each row of data/image/<table>.txt whose fixture
// (field `file`, its first word) has an extension among `formats` to check, the row in every
// failure; a table with no row for the formats fails.
template <class Check>
void ForEachRow(const std::string& table, std::size_t file, std::string_view formats,
                Check&& check) {
    int rows = 0;
    zo::testing::RunScript(
        "tests/platform/data/image", table, [&](const std::string& line, auto&, int) {
            std::vector<std::string> f;
            std::istringstream in(line);
            for (std::string field; std::getline(in, field, '|');) {
                field.erase(field.find_last_not_of(' ') + 1);
                f.push_back(field.erase(0, field.find_first_not_of(' ')));
            }
            const std::string first = f.at(file).substr(0, f[file].find(' '));
            if (formats.find(first.substr(first.rfind('.'))) == std::string_view::npos) return;
            ++rows;
            check(f);
        });
    EXPECT_GT(rows, 0) << formats;
}

// The rows of refused.txt for the formats: each damaged fixture is refused with 481.
inline void ExpectRefused(std::string_view formats) {
    ForEachRow("refused", 1, formats, [](const std::vector<std::string>& f) {
        std::istringstream values(f.at(4));
        for (std::string v; values >> v;) {
            Bytes b = Fixture(f[1]);
            const std::int64_t value = std::stoll(v, nullptr, 0);
            if (f[2] == "cut") {
                b.resize(value < 0 ? b.size() - static_cast<std::size_t>(-value)
                                   : static_cast<std::size_t>(value));
            } else {
                const std::size_t at = std::stoul(f[2]);
                const int size = std::stoi(f[3]);
                Poke(b, at, size, static_cast<std::uint64_t>(value));
                FixPngCrcs(b, at, at + static_cast<std::size_t>(std::abs(size)));
            }
            SCOPED_TRACE("value " + v);
            try {
                DecodeFile(f[1], b);
                ADD_FAILURE() << "decoded";
            } catch (const Error& e) {
                EXPECT_EQ(e.Number(), 481);
                EXPECT_EQ(e.Description(), "Invalid picture");
            }
        }
    });
}

// The rows of decoded.txt for the formats: each fixture decodes to exactly those pixels.
inline void ExpectDecodes(std::string_view formats) {
    ForEachRow("decoded", 0, formats, [](const std::vector<std::string>& f) {
        const std::string names = "BWRGU";
        const std::uint32_t named[] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFF0000u, 0xFF00FF00u,
                                       0xFF0000FFu};
        int width = 0, height = 1;
        std::vector<std::uint32_t> pixels;
        std::istringstream in(f.at(3));
        for (std::string t; in >> t;) {
            if (t == "/") {
                ++height;
                continue;
            }
            const std::size_t n = t.size() == 1 ? names.find(t[0]) : std::string::npos;
            pixels.push_back(n != std::string::npos ? named[n] : std::stoul(t, nullptr, 16));
            width += height == 1 ? 1 : 0;
        }
        std::string mask = f[2] == "-" ? "" : f[2];
        std::erase(mask, '/');
        std::istringstream files(f[0]);
        for (std::string file; files >> file;) {
            SCOPED_TRACE(file);
            const plat::Image img = DecodeFile(file, Fixture(file));
            EXPECT_EQ(img.width, width);
            EXPECT_EQ(img.height, height);
            EXPECT_EQ(img.hasAlpha, f[1] == "alpha");
            EXPECT_EQ(img.pixels, pixels);
            std::string got;  // stays "" without a mask
            for (int i = 0; !img.mask.empty() && i < img.width * img.height; ++i)
                got += img.Masked(i % img.width, i / img.width) ? '1' : '0';
            EXPECT_EQ(got, mask);
        }
    });
}

// A standard WMF whose window extent, its only size, is cx x cy.
inline Bytes MakeWmf(int cx, int cy) {
    Bytes b = Fixture("standard.wmf");
    Poke(b, 24, 2, static_cast<std::uint64_t>(cy));
    Poke(b, 26, 2, static_cast<std::uint64_t>(cx));
    return b;
}

}  // namespace zo::test
