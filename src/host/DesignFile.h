// The design file: the host's way of keeping a control's property bag on disk, as UTF-8 JSON
// text a person can read, diff and keep in version control. The bag's entries stand one a line
// in the order the control wrote them, so a one-property change is a one-line diff; pictures
// are kept once each, in a table after the entries, with their bits embedded.
//
//   {
//   "format": "ZoBtnBar design",
//   "version": 1,
//   "properties": {
//     "Caption": "Mail",
//     "GroupCount": 1,
//     "GRP1Caption": "Inbox",
//     "GRP1Tag": {"Date": 45000.5},
//     "GRP1BTN1Picture": {"Picture": 1},
//     ...
//   },
//   "pictures": [
//     {"Type": "Bitmap", "Width": 847, "Height": 847, "File": "iVBORw0KGgo..."}
//   ]
//   }
//
// Values: a whole number is a Long, true/false a Boolean, a string text, null Empty; other
// kinds are an object of one member naming the kind: {"Integer": 5}, {"Single": 1.5},
// {"Double": 2.5}, {"Date": 45000.25}, {"Bytes": "<base64>"} (text that is not UTF-8),
// {"Nothing": null} (an object reference to nothing), {"Font": {...}}, {"Picture": N}.
#pragma once

#include "core/Export.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/BigBlocks.h"
#include "host/AtomicFile.h"
#include "host/PropertyBag.h"

namespace zo {

inline constexpr std::string_view kDesignFormatName = "ZoBtnBar design";
inline constexpr std::int64_t kDesignFormatVersion = 1;

// What a design may hold, checked before anything is built from it, so that a hostile or
// broken file cannot make the loader allocate or work without end.
struct ZO_API DesignLimits {
    std::uintmax_t maxFileBytes = std::uintmax_t{256} * 1024 * 1024;
    std::int64_t maxGroups = 10000;
    // All groups' buttons together.
    std::int64_t maxButtons = 250000;
    // All pictures' pixels together; each picture is also held to the decoders' own limits.
    std::int64_t maxPicturePixels = std::int64_t{256} * 1024 * 1024;
};

// Why a design could not be loaded or saved. It names the file, the line where that is known
// (0 when not), the bag key the problem concerns ("" when none) and, for errors raised by a
// conversion or by the control, their number and source.
class ZO_API DesignError : public std::runtime_error {
public:
    DesignError(std::string file, int line, std::string key, std::string message,
                std::int32_t number = 0, std::string source = {});

    const std::string& File() const { return file_; }
    int Line() const { return line_; }
    const std::string& Key() const { return key_; }
    const std::string& Message() const { return message_; }
    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }

    // The same error told about the file and the line, when the place it arose did not know.
    DesignError At(const std::string& file, int line) const;

private:
    static std::string Compose(const std::string& file, int line, const std::string& key,
                               const std::string& message, std::int32_t number,
                               const std::string& source);
    std::string file_;
    int line_;
    std::string key_;
    std::string message_;
    std::int32_t number_;
    std::string source_;
};

// A parsed design: its bag and where in the text each entry stood.
struct ZO_API LoadedDesign {
    std::string file;
    PropertyBag bag;
    BigVector<int> lines;  // line of each bag entry, in bag order

    // The line of the entry stored under key (names matched as the bag matches them), 0 when
    // the file does not hold it.
    int LineOf(std::string_view key) const;
};

// The design's text. Raises DesignError naming the key for a value the format cannot hold
// (an object other than a font or a picture).
ZO_API std::string FormatDesign(const PropertyBag& bag);

// Parses a design's whole text before anything is built; `file` names it in errors. Raises
// DesignError: not this format, a newer version, malformed JSON (with the parser's line), a
// value of the wrong form, a key given twice, an undecodable picture, a limit passed.
ZO_API LoadedDesign ParseDesign(std::string_view text, std::string file,
                                const DesignLimits& limits = {});

// Reads a design file (its size checked before it is read) and parses it.
ZO_API LoadedDesign ReadDesignFile(const std::filesystem::path& path,
                                   const DesignLimits& limits = {});

// The counts a load will act on ("GroupCount", then each group's "ButtonCount"), converted as
// the control converts them, whatever kind of value they are stored as, and held to the
// limits. A count that does not convert is left for the control to refuse. Raises DesignError
// naming the key.
ZO_API void CheckDesignLimits(const PropertyBag& bag, const DesignLimits& limits);

// Saves the bag's design to path atomically and durably (see AtomicFile.h); the old file is
// left untouched when anything fails. Raises DesignError.
ZO_API void WriteDesignFile(const std::filesystem::path& path, const PropertyBag& bag,
                            FileOps& ops = SystemFileOps());

}  // namespace zo
