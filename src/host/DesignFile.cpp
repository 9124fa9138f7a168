// The design file read: a SAX reader fills the bag without building a document of the whole
// file, and everything is checked before anything is built from it. simdjson feeds it (see
// JsonEvents.h); when that stops for any reason, nlohmann's parser feeds it again from the
// start, so every refusal has nlohmann's message and line. The writing side is in
// DesignFileWrite.cpp.
#include "host/DesignFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <stdexcept>

#include "core/Error.h"
#include "host/DesignCodec.h"
#include "host/JsonEvents.h"
#include "host/StdFont.h"

namespace zo {

using Json = nlohmann::json;

namespace {

// ---- Reading -------------------------------------------------------------------------------

// A forward iterator over the text that leaves its position where the parser's callbacks can
// read it, so that each entry knows its line without the parser's help.
class TrackingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackingIterator(const char** cursor, const char* fixed) : cursor_(cursor), fixed_(fixed) {}
    reference operator*() const { return **cursor_; }
    TrackingIterator& operator++() {
        ++*cursor_;
        return *this;
    }
    TrackingIterator operator++(int) {
        TrackingIterator old = *this;
        ++*this;
        return old;
    }
    friend bool operator==(const TrackingIterator& a, const TrackingIterator& b) {
        return a.Pos() == b.Pos();
    }

private:
    const char* Pos() const { return cursor_ != nullptr ? *cursor_ : fixed_; }
    const char** cursor_;
    const char* fixed_;
};

// Why an entry's value is refused; the reader adds the file, the line and the key.
struct BadValue {
    std::string message;
};

// The entry being read.
struct Entry {
    std::string_view name;  // in the text, or kept aside by the reader
    Variant value;
    std::size_t offset = 0;
    std::int64_t picture = 0;  // {"Picture": N}: N, resolved after the table is read
};

struct PictureEntry {
    design::StoredPicture stored;
    std::size_t offset = 0;
};

std::string KindOf(const Json& j) {
    switch (j.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::boolean:
            return "a Boolean";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
            return "a whole number";
        case Json::value_t::number_float:
            return "a real number";
        case Json::value_t::string:
            return "text";
        case Json::value_t::array:
            return "a list";
        default:
            return "an object";
    }
}

std::int64_t WholeNumber(const Json& j, std::int64_t lo, std::int64_t hi, const std::string& what) {
    if (j.is_number_integer()) {
        if (j.is_number_unsigned() && j.get<std::uint64_t>() > static_cast<std::uint64_t>(hi))
            throw BadValue{what + " " + j.dump() + " is out of range"};
        const std::int64_t v = j.get<std::int64_t>();
        if (v < lo || v > hi) throw BadValue{what + " " + j.dump() + " is out of range"};
        return v;
    }
    throw BadValue{what + " must be a whole number, not " + KindOf(j)};
}

double RealNumber(const Json& j, const std::string& what) {
    if (j.is_number()) return j.get<double>();
    if (j.is_string()) {
        const auto& s = j.get_ref<const std::string&>();
        if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
        if (s == "Infinity") return std::numeric_limits<double>::infinity();
        if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
    }
    throw BadValue{what + " must be a number, not " + KindOf(j)};
}

bool Boolean(const Json& j, const std::string& what) {
    if (!j.is_boolean()) throw BadValue{what + " must be true or false, not " + KindOf(j)};
    return j.get<bool>();
}

std::vector<std::uint8_t> Base64(const Json& j, const std::string& what) {
    if (!j.is_string()) throw BadValue{what + " must be base64 text, not " + KindOf(j)};
    auto bytes = design::Base64Decode(j.get_ref<const std::string&>());
    if (!bytes) throw BadValue{what + " is not valid base64"};
    return std::move(*bytes);
}

// The one member of a kind object, or a refusal.
const Json::object_t::value_type& OnlyMember(const Json& j) {
    if (!j.is_object() || j.size() != 1)
        throw BadValue{"a value written as an object has one member naming its kind"};
    return *j.get_ref<const Json::object_t&>().begin();
}

std::string Text(const Json& j, const std::string& what) {
    if (j.is_string()) return j.get<std::string>();
    if (j.is_object() && j.size() == 1 && j.contains("Bytes")) {
        const std::vector<std::uint8_t> b = Base64(j["Bytes"], "\"Bytes\"");
        return std::string(b.begin(), b.end());
    }
    throw BadValue{what + " must be text, not " + KindOf(j)};
}

Variant FontOf(const Json& j) {
    if (!j.is_object()) throw BadValue{"\"Font\" must be an object of font attributes"};
    auto font = std::make_shared<StdFont>();
    for (const auto& [name, v] : j.items()) {
        if (name == "Name") {
            font->SetName(Text(v, "the font's Name"));
        } else if (name == "Size") {
            const double size = RealNumber(v, "the font's Size");
            if (!std::isfinite(size) || size <= 0 || size > 2048)
                throw BadValue{"the font's Size " + v.dump() + " is outside 0 to 2048 points"};
            font->SetSize(size);
        } else if (name == "Weight") {
            font->SetWeight(
                static_cast<std::int16_t>(WholeNumber(v, 0, 1000, "the font's Weight")));
        } else if (name == "Italic") {
            font->SetItalic(Boolean(v, "the font's Italic"));
        } else if (name == "Underline") {
            font->SetUnderline(Boolean(v, "the font's Underline"));
        } else if (name == "Strikethrough") {
            font->SetStrikethrough(Boolean(v, "the font's Strikethrough"));
        } else if (name == "Charset") {
            font->SetCharset(
                static_cast<std::int16_t>(WholeNumber(v, 0, 255, "the font's Charset")));
        } else {
            throw BadValue{"a font has no attribute \"" + name + "\""};
        }
    }
    return Variant(font);
}

// The value of an entry written as an object: {"Kind": value}.
void KindValue(const Json& j, Entry& e) {
    const auto& [kind, v] = OnlyMember(j);
    if (kind == "Integer") {
        e.value = Variant(static_cast<std::int16_t>(WholeNumber(v, -32768, 32767, "an Integer")));
    } else if (kind == "Single") {
        const double d = RealNumber(v, "a Single");
        // Past the largest float by half a step or more, the value has no float to round to.
        const double beyond =
            static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103);
        if (std::isfinite(d) && std::fabs(d) >= beyond)
            throw BadValue{"the Single " + v.dump() + " is out of range"};
        e.value = Variant(static_cast<float>(d));
    } else if (kind == "Double") {
        e.value = Variant(RealNumber(v, "a Double"));
    } else if (kind == "Date") {
        e.value = Variant(Date{RealNumber(v, "a Date")});
    } else if (kind == "Bytes") {
        const std::vector<std::uint8_t> b = Base64(v, "\"Bytes\"");
        e.value = Variant(std::string(b.begin(), b.end()));
    } else if (kind == "Nothing") {
        if (!v.is_null()) throw BadValue{"\"Nothing\" takes null"};
        e.value = Variant(ObjectPtr{});
    } else if (kind == "Font") {
        e.value = FontOf(v);
    } else if (kind == "Picture") {
        e.picture = WholeNumber(v, 1, std::numeric_limits<std::int32_t>::max(), "a picture number");
    } else {
        throw BadValue{"\"" + kind + "\" is not a kind of value"};
    }
}

design::StoredPicture PictureOf(const Json& j) {
    if (!j.is_object()) throw BadValue{"a picture is an object, not " + KindOf(j)};
    design::StoredPicture s;
    bool haveType = false, haveWidth = false, haveHeight = false;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    for (const auto& [name, v] : j.items()) {
        if (name == "Type") {
            const auto type =
                v.is_string() ? design::PictureTypeFromName(v.get<std::string>()) : std::nullopt;
            if (!type)
                throw BadValue{"the picture's Type " + v.dump() +
                               " is not None, Bitmap, Metafile, Icon or EnhancedMetafile"};
            s.type = *type;
            haveType = true;
        } else if (name == "Width") {
            s.width = static_cast<std::int32_t>(WholeNumber(v, 0, kMax, "the picture's Width"));
            haveWidth = true;
        } else if (name == "Height") {
            s.height = static_cast<std::int32_t>(WholeNumber(v, 0, kMax, "the picture's Height"));
            haveHeight = true;
        } else if (name == "Bits") {
            s.bits = static_cast<int>(WholeNumber(v, 1, 1, "the picture's Bits"));
        } else if (name == "File") {
            s.file =
                std::make_shared<const std::vector<std::uint8_t>>(Base64(v, "the picture's File"));
        } else {
            throw BadValue{"a picture has no member \"" + name + "\""};
        }
    }
    // A file says what it holds and how big its pixels are; without one, nothing does.
    if (!s.file && (!haveType || !haveWidth || !haveHeight))
        throw BadValue{"a picture without a File needs its Type, Width and Height"};
    if (haveWidth != haveHeight) throw BadValue{"a picture has both Width and Height or neither"};
    s.typeGiven = haveType;
    s.sizeGiven = haveWidth;
    if (s.bits == 1 && ((haveType && s.type != PictureType::Bitmap) || !s.file))
        throw BadValue{"only a bitmap with a File can have Bits 1"};
    return s;
}

// Line numbers (from 1) of increasing offsets, in one pass over the text.
class LineCounter {
public:
    explicit LineCounter(std::string_view text) : text_(text) {}
    int LineAt(std::size_t offset) {
        if (offset < at_) {
            at_ = 0;
            line_ = 1;
        }
        offset = std::min(offset, text_.size());
        while (at_ < offset) {
            const void* nl = std::memchr(text_.data() + at_, '\n', offset - at_);
            if (nl == nullptr) {
                at_ = offset;
                break;
            }
            ++line_;
            at_ = static_cast<std::size_t>(static_cast<const char*>(nl) - text_.data()) + 1;
        }
        return line_;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// Receives the parser's events. The top level and the entries are handled as they come; a
// value written as an object is gathered into a small document and converted when it ends.
class Reader {
public:
    Reader(std::string_view text, const char** cursor)
        : begin_(text.data()), cursor_(cursor), lines_(text) {}

    // The entries go into the bag as each ends, with their lines; what cannot be settled until
    // the pictures are read is kept aside, and the first of it in the file's order is raised
    // then (a reference to a picture, a name given twice).
    LoadedDesign design;
    // One on nearly every button, so kept small: the name of an entry that is not in the bag
    // (given twice, which fails the load) is kept aside.
    struct PictureRef {
        std::size_t order = 0;     // among all entries read
        std::size_t position = 0;  // in the bag, or in `unplaced` when the name was given twice
        std::int64_t number = 0;
        int line = 0;
        bool placed = true;
    };
    BigVector<PictureRef> refs;
    std::vector<std::string> unplaced;
    struct Twice {
        std::size_t order = 0;
        int line = 0;
        std::string name;
        int firstLine = 0;
    };
    std::optional<Twice> twice;
    std::vector<PictureEntry> pictures;

    // A refusal of the whole file: the message, and the offset it concerns.
    std::string error;
    std::size_t errorOffset = 0;
    std::string errorKey;
    bool parseError = false;
    int parseLine = 0;

    bool null() {
        if (!Release()) return false;
        if (InEntry()) {
            current_.value = Variant();
            return Commit();
        }
        return Primitive(Json(nullptr));
    }
    bool boolean(bool b) {
        if (!Release()) return false;
        if (InEntry()) {
            current_.value = Variant(b);
            return Commit();
        }
        return Primitive(Json(b));
    }
    bool number_integer(std::int64_t v) {
        if (Hold(v)) return true;
        if (!Release()) return false;
        if (InEntry() && v >= std::numeric_limits<std::int32_t>::min() &&
            v <= std::numeric_limits<std::int32_t>::max()) {
            current_.value = Variant(static_cast<std::int32_t>(v));
            return Commit();
        }
        return Primitive(Json(v));
    }
    bool number_unsigned(std::uint64_t v) {
        if (v <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) &&
            Hold(static_cast<std::int64_t>(v)))
            return true;
        if (!Release()) return false;
        if (InEntry() &&
            v <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            current_.value = Variant(static_cast<std::int32_t>(v));
            return Commit();
        }
        return Primitive(Json(v));
    }
    bool number_float(double v, const std::string&) { return Release() && Primitive(Json(v)); }
    bool string(std::string& s) {
        if (!Release()) return false;
        if (InEntry()) {
            current_.value = Variant(std::move(s));
            return Commit();
        }
        return Primitive(Json(std::move(s)));
    }
    bool binary(Json::binary_t&) { return Fail("binary data is not JSON"); }

    bool start_object(std::size_t) {
        if (!Release()) return false;
        if (depth_ == 0) {
            ++depth_;
            return true;
        }
        if (depth_ == 1) {
            if (section_ != Section::Properties) return Misplaced("an object");
            ++depth_;
            return true;
        }
        if (InEntry()) {
            ref_ = Ref::Open;
            return true;
        }
        return Open(Json::object());
    }
    bool start_array(std::size_t) {
        if (!Release()) return false;
        if (depth_ == 0) return NotThisFormat();
        if (depth_ == 1) {
            if (section_ != Section::Pictures) return Misplaced("a list");
            ++depth_;
            return true;
        }
        return Open(Json::array());
    }
    bool end_object() {
        if (ref_ == Ref::Number) {
            ref_ = Ref::None;
            current_.picture = refNumber_;
            return Commit();
        }
        return Release() && Close();
    }
    bool end_array() { return Release() && Close(); }

    // From nlohmann's parser, which refills k for the next key: an entry's name is kept aside.
    bool key(std::string& k) {
        if (ref_ == Ref::None && depth_ == 2) {
            nameKept_.swap(k);
            return key(std::string_view(nameKept_));
        }
        return key(std::string_view(k));
    }
    // From simdjson, whose keys stay where they are until the read ends.
    bool key(std::string_view k) {
        if (ref_ == Ref::Open && k == "Picture") {
            ref_ = Ref::Key;
            return true;
        }
        if (!Release()) return false;
        if (depth_ == 1) return TopKey(std::string(k));
        if (depth_ == 2) {
            current_.name = k;
            current_.value = Variant();
            current_.offset = Offset();
            current_.picture = 0;
            return true;
        }
        key_.assign(k);
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) {
        parseError = true;
        const std::string what = ex.what();
        // "[json.exception.parse_error.101] parse error at line 3, column 7: <message>"
        const auto at = what.find("line ");
        if (at != std::string::npos) parseLine = std::atoi(what.c_str() + at + 5);
        const auto column = what.find("column ");
        const auto colon = what.find(": ", column == std::string::npos ? 0 : column);
        error = "not valid JSON: " + (colon == std::string::npos ? what : what.substr(colon + 2));
        return false;
    }

    bool SawFormat() const { return seenFormat_; }
    bool SawHeader() const { return version_ > 0; }

private:
    enum class Section { None, Format, Version, Properties, Pictures, Done };

    std::size_t Offset() const { return static_cast<std::size_t>(*cursor_ - begin_); }
    // A plain value of an entry, which needs no document to be converted.
    bool InEntry() const { return depth_ == 2 && section_ == Section::Properties; }

    // The entry has its value: into the bag.
    bool Commit() {
        const std::size_t order = order_++;
        const int line = lines_.LineAt(current_.offset);
        const bool picture = current_.picture > 0;
        const std::size_t position = design.bag.Count();
        if (design.bag.Add(current_.name, std::move(current_.value))) {
            design.lines.push_back(line);
        } else if (!twice) {
            twice = Twice{order, line, std::string(current_.name), design.LineOf(current_.name)};
        }
        if (picture) {
            const bool added = design.bag.Count() > position;
            if (!added) unplaced.emplace_back(current_.name);
            refs.push_back(
                {order, added ? position : unplaced.size() - 1, current_.picture, line, added});
        }
        return true;
    }

    // A picture reference ({"Picture": N}), on nearly every button, is taken without gathering
    // a document: its events are held back until they prove to be one, and handed to the
    // general path as soon as they do not.
    enum class Ref { None, Open, Key, Number };
    bool Hold(std::int64_t v) {
        if (ref_ != Ref::Key || v < 1 || v > std::numeric_limits<std::int32_t>::max()) return false;
        ref_ = Ref::Number;
        refNumber_ = v;
        return true;
    }
    bool Release() {
        const Ref held = ref_;
        if (held == Ref::None) return true;
        ref_ = Ref::None;
        if (!Open(Json::object())) return false;
        if (held != Ref::Open) key_ = "Picture";
        return held != Ref::Number || Insert(Json(refNumber_));
    }

    bool Fail(std::string message) {
        if (error.empty()) {
            error = std::move(message);
            errorOffset = Offset();
        }
        return false;
    }
    bool NotThisFormat() {
        return Fail("not a ZoBtnBar design file (it begins with no \"format\": \"" +
                    std::string(kDesignFormatName) + "\")");
    }
    bool Misplaced(const std::string& what) {
        if (section_ == Section::Format || section_ == Section::None) return NotThisFormat();
        return Fail(what + " is not what \"" + topKey_ + "\" holds");
    }

    bool TopKey(const std::string& k) {
        topKey_ = k;
        if (!seenFormat_) {
            if (k != "format") return NotThisFormat();
            section_ = Section::Format;
            return true;
        }
        if (version_ == 0) {
            if (k != "version") return Fail("the \"version\" must follow the \"format\"");
            section_ = Section::Version;
            return true;
        }
        if (k == "properties" && !seenProperties_) {
            seenProperties_ = true;
            section_ = Section::Properties;
            return true;
        }
        if (k == "pictures" && !seenPictures_) {
            seenPictures_ = true;
            section_ = Section::Pictures;
            return true;
        }
        return Fail("\"" + k + "\" is not a part of a design, or is given twice");
    }

    bool Primitive(Json v) {
        if (depth_ == 0) return NotThisFormat();
        if (depth_ == 1) return TopValue(v);
        if (depth_ == 2) {
            pictureOffset_ = Offset();
            return Convert(v);
        }
        return Insert(std::move(v));
    }

    bool TopValue(const Json& v) {
        if (section_ == Section::Format) {
            if (!v.is_string() || v.get_ref<const std::string&>() != kDesignFormatName)
                return NotThisFormat();
            seenFormat_ = true;
            return true;
        }
        if (section_ == Section::Version) {
            if (!v.is_number_integer() || v.get<std::int64_t>() < 1)
                return Fail("the \"version\" must be a whole number from 1");
            if (v.get<std::int64_t>() > kDesignFormatVersion)
                return Fail("version " + v.dump() + " is newer than this program reads (" +
                            std::to_string(kDesignFormatVersion) + "); nothing was read");
            version_ = v.get<std::int64_t>();
            return true;
        }
        return Misplaced(KindOf(v));
    }

    // A whole entry's value at depth 2 (a primitive, or a gathered object).
    bool Convert(const Json& v) {
        try {
            if (section_ == Section::Pictures) {
                pictures.push_back({PictureOf(v), pictureOffset_});
                return true;
            }
            Entry& e = current_;
            switch (v.type()) {
                case Json::value_t::null:
                    e.value = Variant();
                    break;
                case Json::value_t::boolean:
                    e.value = Variant(v.get<bool>());
                    break;
                case Json::value_t::number_integer:
                case Json::value_t::number_unsigned:
                    e.value = Variant(static_cast<std::int32_t>(
                        WholeNumber(v, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max(), "the Long")));
                    break;
                case Json::value_t::number_float:
                    throw BadValue{"the number " + v.dump() +
                                   " has a fraction or an exponent; a real number is written "
                                   "{\"Double\": " +
                                   v.dump() + "} or {\"Single\": " + v.dump() + "}"};
                case Json::value_t::string:
                    e.value = Variant(v.get<std::string>());
                    break;
                case Json::value_t::object:
                    KindValue(v, e);
                    break;
                default:
                    throw BadValue{"a list is not a value"};
            }
            return Commit();
        } catch (const BadValue& bad) {
            return Refuse(bad.message);
        } catch (const zo::Error& e) {
            return Refuse(e.Description());
        }
    }

    // Refuses the entry or the picture being converted.
    bool Refuse(const std::string& message) {
        if (section_ == Section::Pictures) {
            Fail("picture " + std::to_string(pictures.size() + 1) + ": " + message);
            errorOffset = pictureOffset_;
        } else {
            Fail(message);
            errorKey = current_.name;
            errorOffset = current_.offset;
        }
        return false;
    }

    bool Open(Json container) {
        if (depth_ == 2 && section_ == Section::Pictures) pictureOffset_ = Offset();
        if (stack_.empty()) {
            doc_ = std::move(container);
            stack_.push_back(&doc_);
        } else {
            Json* parent = stack_.back();
            Json* child = parent->is_object() ? &((*parent)[key_] = std::move(container))
                                              : &parent->emplace_back(std::move(container));
            stack_.push_back(child);
        }
        ++depth_;
        return true;
    }

    bool Insert(Json v) {
        Json* parent = stack_.back();
        if (parent->is_object())
            (*parent)[key_] = std::move(v);
        else
            parent->push_back(std::move(v));
        return true;
    }

    bool Close() {
        --depth_;
        if (!stack_.empty()) {
            stack_.pop_back();
            if (stack_.empty()) return Convert(doc_);
            return true;
        }
        if (depth_ == 1) section_ = Section::Done;
        if (depth_ == 0 && version_ == 0) return NotThisFormat();
        return true;
    }

    const char* begin_;
    const char** cursor_;
    int depth_ = 0;
    Section section_ = Section::None;
    std::string topKey_;
    bool seenFormat_ = false;
    bool seenProperties_ = false;
    bool seenPictures_ = false;
    std::int64_t version_ = 0;
    std::size_t pictureOffset_ = 0;
    Json doc_;
    std::vector<Json*> stack_;
    std::string key_;
    Ref ref_ = Ref::None;
    std::int64_t refNumber_ = 0;
    Entry current_;
    std::string nameKept_;
    std::size_t order_ = 0;
    LineCounter lines_;
};

}  // namespace

// ---- Public functions ----------------------------------------------------------------------

namespace {

// text.data() has simdjson's padding after it when padded is true.
LoadedDesign Parse(std::string_view text, bool padded, std::string file,
                   const DesignLimits& limits) {
    if (text.size() > limits.maxFileBytes)
        throw DesignError(file, 0, {},
                          "the file is larger than a design may be (" +
                              std::to_string(limits.maxFileBytes) + " bytes)");
    simdjson::padded_string copy;
    if (!padded) {
        copy = simdjson::padded_string(text);
        text = std::string_view(copy.data(), copy.size());
    }
    const char* cursor = text.data();
    std::optional<Reader> fast(std::in_place, text, &cursor);
    // A written design has an entry a line: room for them at once, as growing a large bag step
    // by step touches about twice its memory, and fresh memory is much of a load's time.
    std::size_t lineCount = 0;
    for (const char* at = text.data();
         const void* nl =
             std::memchr(at, '\n', static_cast<std::size_t>(text.data() + text.size() - at));
         ++lineCount)
        at = static_cast<const char*>(nl) + 1;
    // No more than a design within the limits holds, so that a file of empty lines cannot
    // make it reserve without end.
    const auto count = [](std::int64_t limit) {
        return static_cast<std::size_t>(std::clamp<std::int64_t>(limit, 0, 1'000'000'000));
    };
    const std::size_t most = count(limits.maxButtons) * 7 + count(limits.maxGroups) * 9 + 64;
    const std::size_t room = std::min(lineCount, most);
    fast->design.bag.Reserve(room, std::min(text.size(), room * 24));
    fast->design.lines.reserve(room);
    // Nearly every button refers to a picture; pages of the room not reached are never touched.
    fast->refs.reserve(room);
    bool ok = json::EventReader<Reader>(*fast, &cursor).Run(text);
    std::optional<Reader> slow;
    if (!ok) {
        fast.reset();
        cursor = text.data();
        slow.emplace(text, &cursor);
        ok = Json::sax_parse(TrackingIterator(&cursor, nullptr),
                             TrackingIterator(nullptr, text.data() + text.size()), &*slow);
    }
    Reader& reader = fast ? *fast : *slow;
    LineCounter lines(text);
    if (reader.parseError)
        throw DesignError(file, reader.parseLine, {},
                          reader.SawFormat() ? reader.error
                                             : "not a ZoBtnBar design file (" + reader.error + ")");
    if (!ok || !reader.SawHeader()) {
        if (reader.error.empty()) reader.error = "not a ZoBtnBar design file";
        throw DesignError(file, lines.LineAt(reader.errorOffset), reader.errorKey, reader.error);
    }

    LoadedDesign& out = reader.design;
    const auto nameOf = [&](const Reader::PictureRef& r) -> std::string {
        return r.placed ? std::string(out.bag.Entries()[r.position].name)
                        : reader.unplaced[r.position];
    };
    std::vector<PicturePtr> pictures;
    pictures.reserve(reader.pictures.size());
    std::int64_t pixels = 0;
    const auto userOf = [&](std::size_t number) -> const Reader::PictureRef* {
        for (const Reader::PictureRef& r : reader.refs)
            if (r.number == static_cast<std::int64_t>(number)) return &r;
        return nullptr;
    };
    for (std::size_t i = 0; i < reader.pictures.size(); ++i) {
        const PictureEntry& p = reader.pictures[i];
        const auto fail = [&](const std::string& message, std::int32_t number = 0) {
            const Reader::PictureRef* user = userOf(i + 1);
            throw DesignError(file, lines.LineAt(p.offset), user ? nameOf(*user) : std::string(),
                              "picture " + std::to_string(i + 1) + ": " + message, number);
        };
        try {
            pictures.push_back(design::RestorePicture(p.stored, &pixels));
        } catch (const zo::Error& e) {
            fail(e.Description(), e.Number());
        } catch (const std::invalid_argument& e) {
            fail(e.what());
        }
        if (pixels > limits.maxPicturePixels)
            fail("the pictures hold more than " + std::to_string(limits.maxPicturePixels) +
                 " pixels together");
    }

    // The first entry, in the file's order, that refers to a picture past the table or gives
    // a name again (an entry that does both is refused for its picture).
    out.file = std::move(file);
    const Reader::PictureRef* missing = nullptr;
    for (const Reader::PictureRef& r : reader.refs)
        if (static_cast<std::size_t>(r.number) > pictures.size()) {
            missing = &r;
            break;
        }
    if (missing != nullptr && (!reader.twice || missing->order <= reader.twice->order))
        throw DesignError(out.file, missing->line, nameOf(*missing),
                          "there is no picture " + std::to_string(missing->number) +
                              " (the file has " + std::to_string(pictures.size()) + ")");
    if (reader.twice)
        throw DesignError(out.file, reader.twice->line, reader.twice->name,
                          "the key is given twice (first on line " +
                              std::to_string(reader.twice->firstLine) + ")");
    for (const Reader::PictureRef& r : reader.refs)
        out.bag.ReplaceAt(r.position, Variant(pictures[static_cast<std::size_t>(r.number) - 1]));
    try {
        CheckDesignLimits(out.bag, limits);
    } catch (const DesignError& e) {
        throw e.At(out.file, out.LineOf(e.Key()));
    }
    return std::move(out);
}

}  // namespace

LoadedDesign ParseDesign(std::string_view text, std::string file, const DesignLimits& limits) {
    return Parse(text, false, std::move(file), limits);
}

LoadedDesign ReadDesignFile(const std::filesystem::path& path, const DesignLimits& limits) {
    const std::string name = path.string();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) throw DesignError(name, 0, {}, "no such file");
    if (!std::filesystem::is_regular_file(status)) throw DesignError(name, 0, {}, "not a file");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) throw DesignError(name, 0, {}, "cannot read: " + ec.message());
    if (size > limits.maxFileBytes)
        throw DesignError(name, 0, {},
                          "the file is larger than a design may be (" +
                              std::to_string(limits.maxFileBytes) + " bytes)");
    std::ifstream in(path, std::ios::binary);
    // Read with the parser's padding after it, so that the text need not be copied again.
    BigString text(static_cast<std::size_t>(size) + simdjson::SIMDJSON_PADDING, '\0');
    if (!in || !in.read(text.data(), static_cast<std::streamsize>(size)) ||
        static_cast<std::uintmax_t>(in.gcount()) != size)
        throw DesignError(name, 0, {}, std::string("cannot read: ") + std::strerror(errno));
    return Parse(std::string_view(text.data(), static_cast<std::size_t>(size)), true, name, limits);
}

void CheckDesignLimits(const PropertyBag& bag, const DesignLimits& limits) {
    const auto count = [&](const std::string& key) -> std::int64_t {
        try {
            return bag.ReadProperty(key, Variant(std::int16_t{0})).ToLong();
        } catch (const zo::Error&) {
            return 0;  // not a number: the control refuses it when it reads it
        }
    };
    const std::int64_t groups = count("GroupCount");
    if (groups > limits.maxGroups)
        throw DesignError({}, 0, "GroupCount",
                          std::to_string(groups) + " groups are more than a design may hold (" +
                              std::to_string(limits.maxGroups) + ")");
    std::int64_t buttons = 0;
    for (std::int64_t i = 1; i <= groups; ++i) {
        const std::string key = "GRP" + std::to_string(i) + "ButtonCount";
        buttons += std::max<std::int64_t>(0, count(key));
        if (buttons > limits.maxButtons)
            throw DesignError({}, 0, key,
                              "the groups up to this one hold more buttons than a design may (" +
                                  std::to_string(limits.maxButtons) + ")");
    }
}

}  // namespace zo
