// Builders of image files for the image tests and the fuzz seeds: BMP/DIB of every header
// generation, ICO/CUR containers, PNG of any colour type and depth (written byte by byte with
// stored deflate blocks, so a test controls every field), WMF and EMF skeletons.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zo::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put8(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
}
inline void Put16(Bytes& b, std::uint32_t v) {
    Put8(b, v);
    Put8(b, v >> 8);
}
inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutBe32(Bytes& b, std::uint32_t v) {
    Put8(b, v >> 24);
    Put8(b, v >> 16);
    Put8(b, v >> 8);
    Put8(b, v);
}
inline void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}
inline void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Packs rows of values (palette indices for 1-8 bits, the raw 16-bit value, 0xRRGGBB for 24
// bits, the raw 32-bit value) into DIB rows padded to 4 bytes, in the order given.
inline Bytes PackDibRows(int bpp, const std::vector<std::vector<std::uint32_t>>& rows) {
    Bytes out;
    for (const auto& row : rows) {
        const std::size_t start = out.size();
        if (bpp < 8) {
            std::uint32_t acc = 0;
            int used = 0;
            for (std::uint32_t v : row) {
                acc = (acc << bpp) | (v & ((1u << bpp) - 1));
                used += bpp;
                if (used == 8) {
                    Put8(out, acc);
                    acc = 0;
                    used = 0;
                }
            }
            if (used > 0) Put8(out, acc << (8 - used));
        } else {
            for (std::uint32_t v : row) {
                if (bpp == 8) Put8(out, v);
                if (bpp == 16) Put16(out, v);
                if (bpp == 24) {
                    Put8(out, v);
                    Put8(out, v >> 8);
                    Put8(out, v >> 16);
                }
                if (bpp == 32) Put32(out, v);
            }
        }
        while ((out.size() - start) % 4 != 0)
            Put8(out, 0);
    }
    return out;
}

struct DibSpec {
    int headerSize = 40;  // 12 (OS/2 1.x), 16-64 (OS/2 2.x), 40, 52, 56, 108, 124
    int width = 0;
    int height = 0;  // negative: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    // Bit-field masks: inside the header for sizes >= 52, else written after it.
    std::vector<std::uint32_t> masks;
    Bytes bits;
};

// A DIB: header, masks, palette, bits. (For icon entries pass height already doubled.)
inline Bytes MakeDib(const DibSpec& s) {
    Bytes b;
    Put32(b, static_cast<std::uint32_t>(s.headerSize));
    if (s.headerSize == 12) {
        Put16(b, static_cast<std::uint32_t>(s.width));
        Put16(b, static_cast<std::uint32_t>(s.height));
        Put16(b, 1);
        Put16(b, static_cast<std::uint32_t>(s.bpp));
    } else {
        Put32(b, static_cast<std::uint32_t>(s.width));
        Put32(b, static_cast<std::uint32_t>(s.height));
        Put16(b, 1);
        Put16(b, static_cast<std::uint32_t>(s.bpp));
        Put32(b, s.compression);
        Put32(b, static_cast<std::uint32_t>(s.bits.size()));
        Put32(b, 3780);
        Put32(b, 3780);
        Put32(b, s.colorsUsed);
        Put32(b, 0);
        if (s.headerSize >= 52)
            for (std::size_t i = 0; i < (s.headerSize >= 56 ? 4u : 3u); ++i)
                Put32(b, i < s.masks.size() ? s.masks[i] : 0);
        if (s.headerSize >= 108) Put32(b, 0x73524742u);  // LCS_sRGB
        b.resize(static_cast<std::size_t>(s.headerSize), 0);
    }
    if (s.headerSize < 52)
        for (std::uint32_t m : s.masks)
            Put32(b, m);
    for (std::uint32_t c : s.palette) {
        Put8(b, c);
        Put8(b, c >> 8);
        Put8(b, c >> 16);
        if (s.headerSize != 12) Put8(b, 0);
    }
    Append(b, s.bits);
    return b;
}

// A BMP file; offBits 0 means "right after the palette", gap inserts bytes before the bits.
inline Bytes MakeBmp(const DibSpec& s, std::uint32_t offBits = 0, std::size_t gap = 0) {
    DibSpec head = s;
    head.bits.clear();
    Bytes dib = MakeDib(head);
    dib.insert(dib.end(), gap, 0xEE);
    Append(dib, s.bits);
    Bytes b;
    Put8(b, 'B');
    Put8(b, 'M');
    Put32(b, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(b, 0);
    Put32(b, offBits != 0 ? offBits : static_cast<std::uint32_t>(14 + dib.size() - s.bits.size()));
    Append(b, dib);
    return b;
}

// AND mask rows (1 = transparent), bottom-up as stored, padded to 4 bytes.
inline Bytes PackMask(const std::vector<std::vector<std::uint32_t>>& rows) {
    return PackDibRows(1, rows);
}

struct IconEntrySpec {
    int dirWidth = 0;  // the directory's claims (0 = 256), which readers must not trust
    int dirHeight = 0;
    int dirBpp = 0;
    int hotspotX = 0;  // cursors: stored in the planes and bit-count fields
    int hotspotY = 0;
    Bytes data;  // a DIB with doubled height plus mask, or a PNG
};

// An ICO (type 1) or CUR (type 2) file.
inline Bytes MakeIco(const std::vector<IconEntrySpec>& entries, int type = 1) {
    Bytes b;
    Put16(b, 0);
    Put16(b, static_cast<std::uint32_t>(type));
    Put16(b, static_cast<std::uint32_t>(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    for (const IconEntrySpec& e : entries) {
        Put8(b, e.dirWidth);
        Put8(b, e.dirHeight);
        Put8(b, 0);
        Put8(b, 0);
        Put16(b, static_cast<std::uint32_t>(type == 2 ? e.hotspotX : 1));
        Put16(b, static_cast<std::uint32_t>(type == 2 ? e.hotspotY : e.dirBpp));
        Put32(b, static_cast<std::uint32_t>(e.data.size()));
        Put32(b, static_cast<std::uint32_t>(offset));
        offset += e.data.size();
    }
    for (const IconEntrySpec& e : entries)
        Append(b, e.data);
    return b;
}

// An icon entry's DIB: colour rows and mask rows given top row first.
inline Bytes MakeIconDib(int width, int height, int bpp, const std::vector<std::uint32_t>& palette,
                         std::vector<std::vector<std::uint32_t>> colorTopDown,
                         std::vector<std::vector<std::uint32_t>> maskTopDown) {
    DibSpec s;
    s.width = width;
    s.height = height * 2;
    s.bpp = bpp;
    s.palette = palette;
    if (bpp <= 8 && palette.size() < (std::size_t{1} << bpp))
        s.colorsUsed = static_cast<std::uint32_t>(palette.size());
    std::vector<std::vector<std::uint32_t>> color(colorTopDown.rbegin(), colorTopDown.rend());
    std::vector<std::vector<std::uint32_t>> mask(maskTopDown.rbegin(), maskTopDown.rend());
    s.bits = PackDibRows(bpp, color);
    Append(s.bits, PackMask(mask));
    return MakeDib(s);
}

// ---- PNG ---------------------------------------------------------------------------------

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline void PutChunk(Bytes& b, const char* type, const Bytes& data) {
    PutBe32(b, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = b.size();
    for (int i = 0; i < 4; ++i)
        Put8(b, static_cast<std::uint8_t>(type[i]));
    Append(b, data);
    PutBe32(b, Crc32(b.data() + start, b.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
inline Bytes ZlibStored(const Bytes& raw) {
    Bytes z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        Put8(z, last ? 1 : 0);
        Put16(z, static_cast<std::uint32_t>(n));
        Put16(z, static_cast<std::uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, c = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        c = (c + a) % 65521;
    }
    PutBe32(z, (c << 16) | a);
    return z;
}

inline int PngChannelsOf(int colorType) {
    switch (colorType) {
        case 0:
            return 1;
        case 2:
            return 3;
        case 3:
            return 1;
        case 4:
            return 2;
        default:
            return 4;
    }
}

// Packs one row of samples at the bit depth (MSB first below 8 bits, big-endian at 16) after a
// filter byte of 0.
inline void PackPngRow(Bytes& raw, const std::vector<std::uint32_t>& samples, int depth) {
    Put8(raw, 0);
    if (depth == 16) {
        for (std::uint32_t s : samples) {
            Put8(raw, s >> 8);
            Put8(raw, s);
        }
        return;
    }
    std::uint32_t acc = 0;
    int used = 0;
    for (std::uint32_t s : samples) {
        acc = (acc << depth) | (s & ((1u << depth) - 1));
        used += depth;
        if (used == 8) {
            Put8(raw, acc);
            acc = 0;
            used = 0;
        }
    }
    if (used > 0) Put8(raw, acc << (8 - used));
}

struct PngLayout {
    int width = 0;
    int height = 0;
    int colorType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    int depth = 8;
    bool interlaced = false;
    // Samples row-major, top row first, channels interleaved (RGB(A) or grey(+alpha) order).
    std::vector<std::uint32_t> samples;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    Bytes trns;                          // tRNS chunk data as stored
};

inline Bytes MakePng(const PngLayout& s) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBe32(ihdr, static_cast<std::uint32_t>(s.width));
    PutBe32(ihdr, static_cast<std::uint32_t>(s.height));
    Put8(ihdr, s.depth);
    Put8(ihdr, s.colorType);
    Put8(ihdr, 0);
    Put8(ihdr, 0);
    Put8(ihdr, s.interlaced ? 1 : 0);
    PutChunk(b, "IHDR", ihdr);
    if (!s.palette.empty()) {
        Bytes plte;
        for (std::uint32_t c : s.palette) {
            Put8(plte, c >> 16);
            Put8(plte, c >> 8);
            Put8(plte, c);
        }
        PutChunk(b, "PLTE", plte);
    }
    if (!s.trns.empty()) PutChunk(b, "tRNS", s.trns);
    const int ch = PngChannelsOf(s.colorType);
    // Samples past the end of the list end the image data there (a file with short data).
    auto index = [&](int x, int y, int c) {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) +
                static_cast<std::size_t>(x)) *
                   static_cast<std::size_t>(ch) +
               static_cast<std::size_t>(c);
    };
    Bytes raw;
    // Adam7 passes: (x0, y0, dx, dy); a plain image is one pass covering everything.
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    const int plain[1][4] = {{0, 0, 1, 1}};
    const int count = s.interlaced ? 7 : 1;
    for (int p = 0; p < count; ++p) {
        const int* pass = s.interlaced ? passes[p] : plain[0];
        if (pass[0] >= s.width) continue;
        for (int y = pass[1]; y < s.height; y += pass[3]) {
            std::vector<std::uint32_t> row;
            bool complete = true;
            for (int x = pass[0]; x < s.width && complete; x += pass[2])
                for (int c = 0; c < ch && complete; ++c) {
                    complete = index(x, y, c) < s.samples.size();
                    if (complete) row.push_back(s.samples[index(x, y, c)]);
                }
            if (!complete) break;
            PackPngRow(raw, row, s.depth);
        }
    }
    PutChunk(b, "IDAT", ZlibStored(raw));
    PutChunk(b, "IEND", {});
    return b;
}

// ---- Metafiles -----------------------------------------------------------------------------

// A standard WMF: METAHEADER, SetWindowExt(cx, cy), a LineTo, the EOF record.
inline Bytes MakeWmf(int extentX, int extentY) {
    Bytes records;
    Put32(records, 5);
    Put16(records, 0x020C);  // META_SETWINDOWEXT: y, x
    Put16(records, static_cast<std::uint32_t>(extentY));
    Put16(records, static_cast<std::uint32_t>(extentX));
    Put32(records, 5);
    Put16(records, 0x0213);  // META_LINETO: y, x
    Put16(records, 10);
    Put16(records, 20);
    Put32(records, 3);
    Put16(records, 0);  // META_EOF
    Bytes b;
    Put16(b, 1);
    Put16(b, 9);
    Put16(b, 0x0300);
    Put32(b, static_cast<std::uint32_t>((18 + records.size()) / 2));
    Put16(b, 0);
    Put32(b, 5);
    Put16(b, 0);
    Append(b, records);
    return b;
}

// A placeable WMF: the 22-byte header with its bounding box and units per inch, then a WMF.
inline Bytes MakePlaceableWmf(int left, int top, int right, int bottom, int inch) {
    Bytes b;
    Put32(b, 0x9AC6CDD7u);
    Put16(b, 0);
    Put16(b, static_cast<std::uint32_t>(left));
    Put16(b, static_cast<std::uint32_t>(top));
    Put16(b, static_cast<std::uint32_t>(right));
    Put16(b, static_cast<std::uint32_t>(bottom));
    Put16(b, static_cast<std::uint32_t>(inch));
    Put32(b, 0);
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<std::uint16_t>(b[i] | (b[i + 1] << 8));
    Put16(b, sum);
    Append(b, MakeWmf(right - left, bottom - top));
    return b;
}

// An EMF: EMR_HEADER with the frame in HIMETRIC, one EMR_LINETO, EMR_EOF.
inline Bytes MakeEmf(int frameLeft, int frameTop, int frameRight, int frameBottom) {
    Bytes b;
    Put32(b, 1);   // EMR_HEADER
    Put32(b, 88);  // nSize
    for (int v : {0, 0, 100, 50})
        Put32(b, static_cast<std::uint32_t>(v));  // rclBounds
    for (int v : {frameLeft, frameTop, frameRight, frameBottom})
        Put32(b, static_cast<std::uint32_t>(v));
    Put32(b, 0x464D4520u);  // " EMF"
    Put32(b, 0x10000);
    const std::size_t nBytesAt = b.size();
    Put32(b, 0);  // nBytes, filled below
    Put32(b, 3);  // nRecords
    Put16(b, 1);  // nHandles
    Put16(b, 0);
    Put32(b, 0);  // nDescription
    Put32(b, 0);  // offDescription
    Put32(b, 0);  // nPalEntries
    Put32(b, 1024);
    Put32(b, 768);  // szlDevice
    Put32(b, 320);
    Put32(b, 240);  // szlMillimeters
    Put32(b, 54);   // EMR_LINETO
    Put32(b, 16);
    Put32(b, 10);
    Put32(b, 20);
    Put32(b, 14);  // EMR_EOF
    Put32(b, 20);
    Put32(b, 0);
    Put32(b, 16);
    Put32(b, 20);
    Set32(b, nBytesAt, static_cast<std::uint32_t>(b.size()));
    return b;
}

// ---- A sample of valid files of every kind ------------------------------------------------

// Small valid files covering each decoder path, named for messages and seed files.
inline std::vector<std::pair<std::string, Bytes>> SampleImageFiles() {
    std::vector<std::pair<std::string, Bytes>> out;
    const std::vector<std::uint32_t> pal16 = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    auto rows = [](int w, int h, int bpp) {
        std::vector<std::vector<std::uint32_t>> r(static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = static_cast<std::uint32_t>(x * 7 + y * 13 + 1);
                r[static_cast<std::size_t>(y)].push_back(
                    bpp <= 8 ? v % (1u << bpp) : (v * 0x9E3779B1u) >> (32 - std::min(bpp, 31)));
            }
        return r;
    };
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        DibSpec s;
        s.width = 5;
        s.height = 3;
        s.bpp = bpp;
        if (bpp <= 8) s.palette.assign(pal16.begin(), pal16.begin() + (bpp == 1 ? 2 : 16));
        s.bits = PackDibRows(bpp, rows(5, 3, bpp));
        out.emplace_back("bmp" + std::to_string(bpp), MakeBmp(s));
    }
    {
        DibSpec s;  // top-down
        s.width = 3;
        s.height = -2;
        s.bits = PackDibRows(24, {{0xFF0000, 0x00FF00, 0x0000FF}, {0x000000, 0xFFFFFF, 0x808080}});
        out.emplace_back("bmp24-topdown", MakeBmp(s));
    }
    {
        DibSpec s;  // RLE8 with runs, an absolute run, end of line, delta, end of bitmap
        s.width = 6;
        s.height = 4;
        s.bpp = 8;
        s.compression = 1;
        s.palette = pal16;
        s.bits = {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 8, 5, 0, 0, 0, 2, 2, 1, 2, 6, 0, 1};
        out.emplace_back("bmp-rle8", MakeBmp(s));
    }
    {
        DibSpec s;  // RLE4 with a split run, odd absolute runs and a delta
        s.width = 7;
        s.height = 2;
        s.bpp = 4;
        s.compression = 2;
        s.palette = pal16;
        // 1 2 1 2, absolute 3 4 5, end of line, absolute 5 6 7 A B, delta (1, 0), 8 8, end.
        s.bits = {4,    0x12, 0, 3, 0x34, 0x50, 0, 0, 0,    5, 0x56,
                  0x7A, 0xB0, 0, 0, 2,    1,    0, 2, 0x88, 0, 1};
        out.emplace_back("bmp-rle4", MakeBmp(s));
    }
    {
        DibSpec s;  // 16-bit 5-6-5 bit fields
        s.width = 2;
        s.height = 2;
        s.bpp = 16;
        s.compression = 3;
        s.masks = {0xF800, 0x07E0, 0x001F};
        s.bits = PackDibRows(16, {{0xF800, 0x07E0}, {0x001F, 0x0841}});
        out.emplace_back("bmp16-565", MakeBmp(s));
    }
    {
        DibSpec s;  // V5 32-bit with an alpha mask
        s.headerSize = 124;
        s.width = 2;
        s.height = 1;
        s.bpp = 32;
        s.compression = 3;
        s.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
        s.bits = PackDibRows(32, {{0x80FF0000, 0xFF00FF00}});
        out.emplace_back("bmp32-v5-alpha", MakeBmp(s));
    }
    {
        DibSpec s;  // OS/2 1.x core header, 3-byte palette entries
        s.headerSize = 12;
        s.width = 3;
        s.height = 2;
        s.bpp = 4;
        s.palette = pal16;
        s.bits = PackDibRows(4, {{1, 2, 3}, {4, 5, 6}});
        out.emplace_back("bmp-os2v1", MakeBmp(s));
    }
    {
        DibSpec s;  // OS/2 2.x 64-byte header
        s.headerSize = 64;
        s.width = 3;
        s.height = 2;
        s.bpp = 8;
        s.colorsUsed = 4;
        s.palette = {0x112233, 0x445566, 0x778899, 0xAABBCC};
        s.bits = PackDibRows(8, {{0, 1, 2}, {3, 2, 1}});
        out.emplace_back("bmp-os2v2", MakeBmp(s));
    }
    out.emplace_back("ico8", MakeIco({{16, 16, 8, 0, 0,
                                       MakeIconDib(2, 2, 8, {0x000000, 0xFF0000, 0x0000FF},
                                                   {{1, 2}, {0, 1}}, {{0, 0}, {1, 0}})}}));
    out.emplace_back(
        "ico32", MakeIco({{2, 2, 32, 0, 0,
                           MakeIconDib(2, 2, 32, {}, {{0x80FF0000, 0xFF00FF00}, {0, 0x400000FF}},
                                       {{0, 0}, {1, 0}})}}));
    {
        PngLayout p;
        p.width = 2;
        p.height = 2;
        p.colorType = 6;
        p.samples = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
        Bytes png = MakePng(p);
        out.emplace_back("png-rgba", png);
        out.emplace_back("ico-png", MakeIco({{2, 2, 32, 0, 0, png}}));
    }
    out.emplace_back(
        "cur1",
        MakeIco({{2, 2, 1, 1, 0,
                  MakeIconDib(2, 2, 1, {0x000000, 0xFFFFFF}, {{1, 0}, {0, 1}}, {{0, 1}, {0, 0}})}},
                2));
    {
        PngLayout p;
        p.width = 3;
        p.height = 1;
        p.colorType = 3;
        p.depth = 2;
        p.palette = {0xFF0000, 0x00FF00, 0x0000FF};
        p.trns = {0x80};
        p.samples = {0, 1, 2};
        out.emplace_back("png-palette2-trns", MakePng(p));
    }
    {
        PngLayout p;
        p.width = 3;
        p.height = 3;
        p.colorType = 0;
        p.depth = 16;
        p.interlaced = true;
        for (int i = 0; i < 9; ++i)
            p.samples.push_back(static_cast<std::uint32_t>(i * 7000));
        out.emplace_back("png-grey16-interlaced", MakePng(p));
    }
    out.emplace_back("wmf-placeable", MakePlaceableWmf(0, 0, 1440, 720, 1440));
    out.emplace_back("wmf-standard", MakeWmf(64, 32));
    out.emplace_back("emf", MakeEmf(0, 0, 2540, 1270));
    return out;
}

}  // namespace zo::test
