// Pieces of the design file that turn bytes into text and pictures into files: base64, and the
// file a picture is kept as. Used by DesignFile.cpp only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Picture.h"

namespace zo::design {

std::string Base64Encode(const std::uint8_t* data, std::size_t size);
// nullopt when the text is not canonical base64 (padding, alphabet, no line breaks).
std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

// The bytes among eight (little-endian) that a JSON string cannot hold as they are (control
// characters, '"' and '\\'): the lowest marked byte's top bit is set, and nothing below it.
// A design's texts are mostly plain, and are passed over a word at a time.
inline std::uint64_t EscapeMask(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = kOnes * 0x80;
    const auto zeroByte = [&](std::uint64_t x) { return (x - kOnes) & ~x & kHigh; };
    const std::uint64_t control = (w - kOnes * 0x20) & ~w & kHigh;
    return control | zeroByte(w ^ (kOnes * '"')) | zeroByte(w ^ (kOnes * '\\'));
}

// Whether the bytes are well-formed UTF-8 (what a JSON string can hold).
bool IsUtf8(std::string_view text);

// A picture as the design keeps it: its type, its HIMETRIC size and the file its bits are
// kept as (null for a picture that has no bits, such as a metafile made in memory).
struct StoredPicture {
    PictureType type = PictureType::None;
    std::int32_t width = 0;
    std::int32_t height = 0;
    Picture::SourceBytes file;
    // 1 for a monochrome bitmap (kept as a PNG of black and white), else 0.
    int bits = 0;
    // A file says what it holds, and a bitmap's or an icon's pixels say how big it is at 96 dpi,
    // so a design leaves out what they imply: these say what was given rather than implied.
    bool typeGiven = true;
    bool sizeGiven = true;
};

// The file of a picture loaded from one is that file's bytes; a bitmap made in memory is kept
// as a PNG (with alpha when it has alpha), an icon as an icon file (a cursor file when it has
// a hot spot), so that nothing is lost. The type is marked implied when there is a file, and
// the size when it is the one the pixels give.
StoredPicture StorePicture(const Picture& picture);

// The picture back from what was stored; an implied type or size is the one its bits give.
// Raises zo::Error 481 for bits that do not decode and std::invalid_argument for bits of
// another type than stored. Adds the picture's pixels to *pixels so the caller can hold all
// pictures to a budget.
PicturePtr RestorePicture(const StoredPicture& stored, std::int64_t* pixels);

std::string_view PictureTypeName(PictureType type);
std::optional<PictureType> PictureTypeFromName(std::string_view name);

}  // namespace zo::design
