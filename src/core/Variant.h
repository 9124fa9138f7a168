// Variant: the value type of the component's dispatch interface, Tags and event arguments.
// It holds nothing (Empty), a Boolean, a 16- or 32-bit integer, a single or double, a string
// (UTF-8), a date or an object reference; copying copies values and shares objects, which is
// exactly how a Tag keeps an object by reference and everything else by copy.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/Export.h"
#include "core/Object.h"

namespace zo {

// A date as the platform counts it: days since 30 December 1899, the time as the fraction.
struct ZO_API Date {
    double value = 0.0;
    friend bool operator==(const Date&, const Date&) = default;
};

enum class VarType : std::int32_t {
    Empty = 0,
    Integer = 2,  // 16-bit
    Long = 3,     // 32-bit
    Single = 4,
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Boolean = 11,
};

class ZO_API Variant {
public:
    Variant() = default;
    Variant(bool b) : v_(b) {}
    Variant(std::int16_t n) : v_(n) {}
    Variant(std::int32_t l) : v_(l) {}
    Variant(float f) : v_(f) {}
    Variant(double d) : v_(d) {}
    Variant(Date d) : v_(d) {}
    Variant(std::string s) : v_(std::move(s)) {}
    Variant(std::string_view s) : v_(std::string(s)) {}
    Variant(const char* s) : v_(std::string(s ? s : "")) {}
    Variant(std::shared_ptr<Object> o) : v_(std::move(o)) {}
    template <class T>
    requires std::is_base_of_v<Object, T> Variant(std::shared_ptr<T> o)
        : v_(std::shared_ptr<Object>(std::move(o))) {}

    VarType Type() const;
    bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsObject() const { return std::holds_alternative<std::shared_ptr<Object>>(v_); }
    bool IsString() const { return std::holds_alternative<std::string>(v_); }
    // A number type (Integer, Long, Single, Double); Boolean and Date are not.
    bool IsNumber() const;

    // The held object (nullptr when the variant holds no object or an empty reference).
    const std::shared_ptr<Object>& AsObject() const;
    template <class T>
    std::shared_ptr<T> As() const {
        return std::dynamic_pointer_cast<T>(AsObject());
    }
    // The held string; only meaningful when IsString().
    const std::string& AsStringRef() const;

    // Same type and same value; objects compare by identity.
    friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

    // Conversions with the platform's rules; they raise Type mismatch (13) or Overflow (6).
    std::int32_t ToLong() const;  // nearest, exact halves to the even neighbour
    std::int16_t ToInteger() const;
    double ToDouble() const;
    bool ToBool() const;
    std::string ToText() const;  // Empty gives "", Booleans "True"/"False"

private:
    std::variant<std::monostate, bool, std::int16_t, std::int32_t, float, double, Date, std::string,
                 std::shared_ptr<Object>>
        v_;
};

// Whether the value reads as a number (the platform's IsNumeric): numbers, Booleans and Empty
// do; a string does when it parses under the rules of ParseNumber; dates and objects do not.
ZO_API bool IsNumeric(const Variant& v);

// Parses a string as the platform's numeric parser does: surrounding spaces and tabs, one
// leading or trailing sign, parentheses for negative, thousands separators, one decimal
// point, a currency sign, an exponent, and &H / &O prefixes. nullopt when it is not a number.
ZO_API std::optional<double> ParseNumber(std::string_view text);

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
ZO_API double RoundHalfEven(double x);

// Raises Overflow (6) unless x rounds into the 32-bit range.
ZO_API std::int32_t RoundToLong(double x);

// The platform's general number format: up to 15 significant digits for doubles, 7 for
// singles, no trailing zeros, an exponent only for very large or small magnitudes.
ZO_API std::string FormatNumber(double x, int significantDigits = 15);

// Removes leading and trailing spaces (32) only, as the platform's Trim does.
ZO_API std::string Trim(std::string_view s);

}  // namespace zo
