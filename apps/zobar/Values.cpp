#include <cctype>
#include <string>

#include "Commands.h"
#include "core/Error.h"
#include "core/KeyCompare.h"

namespace zobar {

namespace {

struct EnumName {
    std::string_view name;
    std::int32_t value;
};

constexpr EnumName kEnumNames[] = {
    {"zoFlatControl", 0},
    {"zo3dControl", 1},
    {"zoFlat", 0},
    {"zoFlatWithBorder", 1},
    {"zoClassic3DRaised", 2},
    {"zoModern3dRaised", 3},
    {"zoClassic3dSunken", 4},
    {"zoModern3dSunken", 5},
    {"zoNone", 0},
    {"zoFixedSingle", 1},
    {"zoTiled", 0},
    {"zoLinear", 1},
    {"zoPictureCentered", 0},
    {"zoPictureStretched", 1},
    {"zoPictureTiled", 2},
    {"zoAutoCalculated", 0},
    {"zoUserSpecified", 1},
    {"zoPictureOnly", 0},
    {"zoPictureAndCaption", 1},
    {"zoVertical", 0},
    {"zoHorizontal", 1},
    {"zoLeft", 0},
    {"zoRight", 1},
    {"zoTop", 2},
    {"zoBottom", 3},
    {"zoZonePictureAndText", 0},
    {"zoZonePicture", 1},
    {"zoGradientNone", 0},
    {"zoGradientHorizontal", 1},
    {"zoGradientHorizontalCenter", 2},
    {"zoGradientVertical", 3},
    {"zoGradientVerticalCenter", 4},
};

[[noreturn]] void Bad(std::string_view what, std::string_view text) {
    throw zo::Error(380, "zobar", "'" + std::string(text) + "' is not " + std::string(what));
}

std::int32_t ParseColor(std::string_view text) {
    std::string_view t = text;
    if (!t.empty() && t.front() == '#') {
        if (t.size() != 7) Bad("a colour (#RRGGBB)", text);
        std::uint32_t rgb = 0;
        for (char c : t.substr(1)) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) Bad("a colour (#RRGGBB)", text);
            rgb = rgb * 16 + static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                                            ? c - '0'
                                                            : std::tolower(c) - 'a' + 10);
        }
        // #RRGGBB names red first; the control's colours keep red in the low byte.
        return static_cast<std::int32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) |
                                         ((rgb & 0xFF) << 16));
    }
    // The source-code form &H80000011& ends in a type sign that the value itself lacks.
    if (t.size() > 2 && t.back() == '&' && (t[1] == 'H' || t[1] == 'h')) t.remove_suffix(1);
    const auto n = zo::ParseNumber(t);
    if (!n || *n != static_cast<double>(static_cast<std::int64_t>(*n)))
        Bad("a colour (&H80000011&, #RRGGBB or a number)", text);
    const auto whole = static_cast<std::int64_t>(*n);
    if (whole < -2147483648LL || whole > 0xFFFFFFFFLL)
        Bad("a colour (&H80000011&, #RRGGBB or a number)", text);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
}

}  // namespace

zo::Variant ParseValue(const zo::DispatchMember& member, std::string_view text) {
    using zo::DispKind;
    switch (member.kind) {
        case DispKind::Color:
            return zo::Variant(ParseColor(text));
        case DispKind::Enum:
            for (const EnumName& e : kEnumNames)
                if (zo::KeysEqual(e.name, text)) return zo::Variant(e.value);
            [[fallthrough]];
        case DispKind::Long: {
            const auto n = zo::ParseNumber(text);
            if (!n) Bad("a number or a member name", text);
            return zo::Variant(*n);
        }
        case DispKind::Boolean:
            if (zo::KeysEqual(text, "True") || text == "1") return zo::Variant(true);
            if (zo::KeysEqual(text, "False") || text == "0") return zo::Variant(false);
            Bad("True or False", text);
        case DispKind::String:
            return zo::Variant(std::string(text));
        case DispKind::Object:
        case DispKind::Method:
            break;
    }
    Bad("something this property takes from the command line", text);
}

}  // namespace zobar
