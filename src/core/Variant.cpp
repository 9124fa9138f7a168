#include "core/Variant.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/Error.h"

namespace zo {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::optional<double> ParseRadix(std::string_view digits, int radix, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        if (d >= radix) return std::nullopt;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    // Hex and octal literals name a 32-bit pattern: &H80000011 is the negative Long.
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// Days from 1 March of year 0 style civil conversion (Howard Hinnant's algorithm).
void CivilFromDays(long long z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}

std::string FormatDate(double serial) {
    // Serial 0 is 30 December 1899, which is 25569 days before 1 January 1970.
    double whole = std::floor(serial);
    double frac = serial - whole;
    if (serial < 0 && frac != 0) {
        // Negative serials count the day backwards but the time forwards.
        whole = std::ceil(serial);
        frac = whole - serial;
    }
    std::string out;
    char buf[64];
    if (whole != 0) {
        int y;
        unsigned m, d;
        CivilFromDays(static_cast<long long>(whole) - 25569, y, m, d);
        std::snprintf(buf, sizeof buf, "%u/%u/%d", m, d, y);
        out = buf;
    }
    long secs = std::lround(frac * 86400.0);
    if (secs != 0 || whole == 0) {
        const long h = secs / 3600, mi = (secs / 60) % 60, s = secs % 60;
        const long h12 = h % 12 == 0 ? 12 : h % 12;
        std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld %s", h12, mi, s, h < 12 ? "AM" : "PM");
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

}  // namespace

VarType Variant::Type() const {
    switch (v_.index()) {
        case 0:
            return VarType::Empty;
        case 1:
            return VarType::Boolean;
        case 2:
            return VarType::Integer;
        case 3:
            return VarType::Long;
        case 4:
            return VarType::Single;
        case 5:
            return VarType::Double;
        case 6:
            return VarType::Date;
        case 7:
            return VarType::String;
        default:
            return VarType::Object;
    }
}

bool Variant::IsNumber() const {
    const VarType t = Type();
    return t == VarType::Integer || t == VarType::Long || t == VarType::Single ||
           t == VarType::Double;
}

const std::shared_ptr<Object>& Variant::AsObject() const {
    static const std::shared_ptr<Object> kNone;
    if (const auto* p = std::get_if<std::shared_ptr<Object>>(&v_)) return *p;
    return kNone;
}

const std::string& Variant::AsStringRef() const {
    static const std::string kNone;
    if (const auto* p = std::get_if<std::string>(&v_)) return *p;
    return kNone;
}

double Variant::ToDouble() const {
    switch (Type()) {
        case VarType::Empty:
            return 0.0;
        case VarType::Boolean:
            return std::get<bool>(v_) ? -1.0 : 0.0;
        case VarType::Integer:
            return std::get<std::int16_t>(v_);
        case VarType::Long:
            return std::get<std::int32_t>(v_);
        case VarType::Single:
            return std::get<float>(v_);
        case VarType::Double:
            return std::get<double>(v_);
        case VarType::Date:
            return std::get<Date>(v_).value;
        case VarType::String: {
            const std::string& s = std::get<std::string>(v_);
            if (auto n = ParseNumber(s)) return *n;
            const std::string_view t = TrimBlanks(s);
            if (EqualsNoCase(t, "True")) return -1.0;
            if (EqualsNoCase(t, "False")) return 0.0;
            RaiseRuntimeError(kErrTypeMismatch);
        }
        case VarType::Object:
            break;
    }
    RaiseRuntimeError(kErrTypeMismatch);
}

std::int32_t Variant::ToLong() const {
    if (const auto* l = std::get_if<std::int32_t>(&v_)) return *l;
    return RoundToLong(ToDouble());
}

std::int16_t Variant::ToInteger() const {
    const std::int32_t l = RoundToLong(ToDouble());
    if (l < std::numeric_limits<std::int16_t>::min() ||
        l > std::numeric_limits<std::int16_t>::max())
        RaiseRuntimeError(kErrOverflow);
    return static_cast<std::int16_t>(l);
}

bool Variant::ToBool() const {
    if (const auto* b = std::get_if<bool>(&v_)) return *b;
    return ToDouble() != 0.0;
}

std::string Variant::ToText() const {
    switch (Type()) {
        case VarType::Empty:
            return "";
        case VarType::Boolean:
            return std::get<bool>(v_) ? "True" : "False";
        case VarType::Integer:
            return std::to_string(std::get<std::int16_t>(v_));
        case VarType::Long:
            return std::to_string(std::get<std::int32_t>(v_));
        case VarType::Single:
            return FormatNumber(std::get<float>(v_), 7);
        case VarType::Double:
            return FormatNumber(std::get<double>(v_), 15);
        case VarType::Date:
            return FormatDate(std::get<Date>(v_).value);
        case VarType::String:
            return std::get<std::string>(v_);
        case VarType::Object:
            break;
    }
    RaiseRuntimeError(kErrTypeMismatch);
}

bool IsNumeric(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Boolean:
        case VarType::Integer:
        case VarType::Long:
        case VarType::Single:
        case VarType::Double:
            return true;
        case VarType::String:
            return ParseNumber(v.AsStringRef()).has_value();
        case VarType::Date:
        case VarType::Object:
            return false;
    }
    return false;
}

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return ParseRadix(s.substr(2), 16, 8);
        if (s[1] == 'O' || s[1] == 'o') return ParseRadix(s.substr(2), 8, 11);
        return std::nullopt;
    }
    bool negative = false;
    bool signSeen = false;
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        negative = true;
        signSeen = true;
        s = TrimBlanks(s.substr(1, s.size() - 2));
    }
    bool currencySeen = false;
    auto takeCurrency = [&] {
        if (!s.empty() && s.front() == '$' && !currencySeen) {
            currencySeen = true;
            s = TrimBlanks(s.substr(1));
        }
    };
    takeCurrency();
    if (!signSeen && !s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        signSeen = true;
        s = TrimBlanks(s.substr(1));
    }
    takeCurrency();

    std::string clean;
    std::size_t i = 0;
    int digits = 0;
    bool point = false;
    while (i < s.size()) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            clean += c;
            ++digits;
        } else if (c == ',' && !point && digits > 0) {
            // thousands separator: only between digits of the whole part
        } else if (c == '.' && !point) {
            point = true;
            clean += c;
        } else {
            break;
        }
        ++i;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
        std::size_t expDigits = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            exp += s[j++];
            ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
        clean += exp;
        i = j;
    }
    std::string_view rest = TrimBlanks(s.substr(i));
    if (!rest.empty() && !currencySeen && rest.front() == '$') {
        currencySeen = true;
        rest = TrimBlanks(rest.substr(1));
    }
    if (!rest.empty() && !signSeen && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest = TrimBlanks(rest.substr(1));
    }
    if (!rest.empty() && !currencySeen && rest.front() == '$') rest = TrimBlanks(rest.substr(1));
    if (!rest.empty()) return std::nullopt;

    const double value = std::strtod(clean.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

double RoundHalfEven(double x) {
    // nearbyint follows the current rounding mode, which is to-nearest-even by default;
    // compute it explicitly so nothing depends on the floating-point environment.
    const double f = std::floor(x);
    const double diff = x - f;
    if (diff < 0.5) return f;
    if (diff > 0.5) return f + 1.0;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

std::int32_t RoundToLong(double x) {
    if (std::isnan(x)) RaiseRuntimeError(kErrOverflow);
    const double r = RoundHalfEven(x);
    if (r < -2147483648.0 || r > 2147483647.0) RaiseRuntimeError(kErrOverflow);
    return static_cast<std::int32_t>(r);
}

std::string FormatNumber(double x, int significantDigits) {
    if (x == 0.0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", significantDigits, x);
    return buf;
}

std::string Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return std::string(s);
}

}  // namespace zo
