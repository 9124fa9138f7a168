// The design file's text as it is written: entry by entry, so that each entry is one line
// whatever it holds, and each picture once, in the table after the entries; and the file saved.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/DesignCodec.h"
#include "host/DesignFile.h"
#include "host/StdFont.h"

namespace zo {

namespace {

// ---- Writing -------------------------------------------------------------------------------

void PutString(BigString& out, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    std::size_t plain = 0;  // start of the run of characters that need no escape
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((i & 7) == 0 && s.size() - i >= 8) {
            std::uint64_t w;
            std::memcpy(&w, s.data() + i, 8);
            if (design::EscapeMask(w) == 0) {
                i += 7;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s.data() + plain, i - plain);
        plain = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                out += "\\u00";
                out.push_back(kHex[c >> 4]);
                out.push_back(kHex[c & 15]);
        }
    }
    out.append(s.data() + plain, s.size() - plain);
    out.push_back('"');
}

void PutInt(BigString& out, std::int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// The shortest text that reads back as exactly x; always with a point or an exponent, so that
// a reader takes it for a real number (-0 stays -0). Non-finite values as names.
void PutReal(BigString& out, double x, bool single) {
    if (std::isnan(x)) {
        out += "\"NaN\"";
        return;
    }
    if (std::isinf(x)) {
        out += x > 0 ? "\"Infinity\"" : "\"-Infinity\"";
        return;
    }
    char buf[40];
    std::to_chars_result r{};
    if (single) {
        // The float's own shortest text, unless reading it as a double and narrowing would
        // land elsewhere; then the double's.
        const float f = static_cast<float>(x);
        r = std::to_chars(buf, buf + sizeof buf, f);
        double back = 0;
        std::from_chars(buf, r.ptr, back);
        if (static_cast<float>(back) != f) r = std::to_chars(buf, buf + sizeof buf, x);
    } else {
        r = std::to_chars(buf, buf + sizeof buf, x);
    }
    out.append(buf, r.ptr);
    if (std::find_if(buf, r.ptr, [](char c) { return c == '.' || c == 'e'; }) == r.ptr) out += ".0";
}

void PutText(BigString& out, const std::string& s) {
    if (design::IsUtf8(s)) {
        PutString(out, s);
        return;
    }
    out += "{\"Bytes\": \"";
    out += design::Base64Encode(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    out += "\"}";
}

void PutFont(BigString& out, const StdFont& f) {
    out += "{\"Font\": {\"Name\": ";
    PutText(out, f.Name());
    out += ", \"Size\": ";
    PutReal(out, static_cast<double>(f.SizeTenThousandths()) / 10000.0, false);
    out += ", \"Weight\": ";
    PutInt(out, f.Weight());
    out += f.Italic() ? ", \"Italic\": true" : ", \"Italic\": false";
    out += f.Underline() ? ", \"Underline\": true" : ", \"Underline\": false";
    out += f.Strikethrough() ? ", \"Strikethrough\": true" : ", \"Strikethrough\": false";
    out += ", \"Charset\": ";
    PutInt(out, f.Charset());
    out += "}}";
}

class Writer {
public:
    BigString Run(const PropertyBag& bag) {
        out_.reserve(64 + bag.Count() * 40);
        // Entries and pictures are indented by two, the parts of the file not at all: a
        // design is mostly entries, and each space is paid for on every one.
        out_ += "{\n\"format\": ";
        PutString(out_, kDesignFormatName);
        out_ += ",\n\"version\": ";
        PutInt(out_, kDesignFormatVersion);
        out_ += ",\n\"properties\": {";
        bool first = true;
        for (const auto& [name, value] : bag.Entries()) {
            if (!design::IsUtf8(name)) throw DesignError({}, 0, {}, "a key that is not UTF-8 text");
            out_ += first ? "\n  " : ",\n  ";
            first = false;
            PutString(out_, name);
            out_ += ": ";
            PutValue(name, value);
        }
        out_ += first ? "},\n\"pictures\": [" : "\n},\n\"pictures\": [";
        for (std::size_t i = 0; i < pictures_.size(); ++i) {
            out_ += i == 0 ? "\n  " : ",\n  ";
            PutPicture(*pictures_[i]);
        }
        out_ += pictures_.empty() ? "]\n}\n" : "\n]\n}\n";
        return std::move(out_);
    }

private:
    void PutValue(std::string_view name, const Variant& v) {
        switch (v.Type()) {
            case VarType::Empty:
                out_ += "null";
                return;
            case VarType::Boolean:
                out_ += v.ToBool() ? "true" : "false";
                return;
            case VarType::Long:
                PutInt(out_, v.ToLong());
                return;
            case VarType::Integer:
                out_ += "{\"Integer\": ";
                PutInt(out_, v.ToInteger());
                out_ += "}";
                return;
            case VarType::Single:
                out_ += "{\"Single\": ";
                PutReal(out_, v.ToDouble(), true);
                out_ += "}";
                return;
            case VarType::Double:
                out_ += "{\"Double\": ";
                PutReal(out_, v.ToDouble(), false);
                out_ += "}";
                return;
            case VarType::Date:
                out_ += "{\"Date\": ";
                PutReal(out_, v.ToDouble(), false);
                out_ += "}";
                return;
            case VarType::String:
                PutText(out_, v.AsStringRef());
                return;
            case VarType::Object:
                break;
        }
        const ObjectPtr& o = v.AsObject();
        if (!o) {
            out_ += "{\"Nothing\": null}";
        } else if (const auto font = v.As<StdFont>()) {
            PutFont(out_, *font);
        } else if (const auto picture = v.As<Picture>()) {
            out_ += "{\"Picture\": ";
            PutInt(out_, PictureNumber(picture.get()));
            out_ += "}";
        } else {
            throw DesignError({}, 0, std::string(name),
                              "a " + std::string(o->TypeName()) +
                                  " object cannot be kept in a design (only fonts and pictures)");
        }
    }

    std::int64_t PictureNumber(const Picture* p) {
        const auto [it, added] = numbers_.emplace(p, pictures_.size() + 1);
        if (added) pictures_.push_back(p);
        return static_cast<std::int64_t>(it->second);
    }

    void PutPicture(const Picture& p) {
        const design::StoredPicture s = design::StorePicture(p);
        const char* sep = "{";
        const auto member = [&](const char* name) {
            out_ += sep;
            out_ += name;
            sep = ", ";
        };
        if (s.typeGiven) {
            member("\"Type\": ");
            PutString(out_, design::PictureTypeName(s.type));
        }
        if (s.sizeGiven) {
            member("\"Width\": ");
            PutInt(out_, s.width);
            out_ += ", \"Height\": ";
            PutInt(out_, s.height);
        }
        if (s.bits == 1) member("\"Bits\": 1");
        if (s.file) {
            member("\"File\": \"");
            out_ += design::Base64Encode(s.file->data(), s.file->size());
            out_ += "\"";
        }
        out_ += "}";
    }

    BigString out_;
    std::unordered_map<const Picture*, std::size_t> numbers_;
    std::vector<const Picture*> pictures_;
};

}  // namespace

std::string FormatDesign(const PropertyBag& bag) {
    const BigString text = Writer().Run(bag);
    return std::string(text.data(), text.size());
}

void WriteDesignFile(const std::filesystem::path& path, const PropertyBag& bag, FileOps& ops) {
    BigString text;
    try {
        text = Writer().Run(bag);
    } catch (const DesignError& e) {
        throw e.At(path.string(), 0);
    }
    const std::string error =
        ReplaceFileAtomically(path, std::string_view(text.data(), text.size()), ops);
    if (!error.empty()) throw DesignError(path.string(), 0, {}, "cannot save: " + error);
}

}  // namespace zo
