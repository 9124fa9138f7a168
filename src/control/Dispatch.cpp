// The dispatch table: every member of the control's dispatch interface by name and DISPID,
// with its getter, setter or method on Variants, so hosts, the property pages and the
// command-line program can read and write properties by name.
#include "control/Dispatch.h"

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "core/KeyCompare.h"

namespace zo {

namespace {

using B = ZoButtonBar;

std::int32_t L(const Variant& v) {
    return v.ToLong();
}

template <std::int32_t (B::*Get)() const, void (B::*Set)(std::int32_t)>
DispatchMember LongMember(const char* name, std::int32_t dispid, DispKind kind) {
    return DispatchMember{name,
                          dispid,
                          kind,
                          [](const B& b) { return Variant((b.*Get)()); },
                          [](B& b, const Variant& v) { (b.*Set)(L(v)); },
                          nullptr};
}

template <bool (B::*Get)() const, void (B::*Set)(bool)>
DispatchMember BoolMember(const char* name, std::int32_t dispid) {
    return DispatchMember{name,
                          dispid,
                          DispKind::Boolean,
                          [](const B& b) { return Variant((b.*Get)()); },
                          [](B& b, const Variant& v) { (b.*Set)(v.ToBool()); },
                          nullptr};
}

const std::vector<DispatchMember>& Table() {
    static const std::vector<DispatchMember> table = {
        LongMember<&B::Appearance, &B::SetAppearance>("Appearance", 0x6803001f, DispKind::Enum),
        LongMember<&B::ButtonBackColor, &B::SetButtonBackColor>("ButtonBackColor", 0x6803001e,
                                                                DispKind::Color),
        LongMember<&B::BorderStyle, &B::SetBorderStyle>("BorderStyle", 0x6803001d, DispKind::Enum),
        LongMember<&B::ButtonAppearance, &B::SetButtonAppearance>("ButtonAppearance", 0x6803001c,
                                                                  DispKind::Enum),
        LongMember<&B::ButtonLayout, &B::SetButtonLayout>("ButtonLayout", 0x6803001b,
                                                          DispKind::Enum),
        DispatchMember{"Font", 0x6803001a, DispKind::Object,
                       [](const B& b) { return Variant(b.Font()); },
                       [](B& b, const Variant& v) { b.SetFont(v.As<StdFont>()); }, nullptr},
        LongMember<&B::GroupAppearance, &B::SetGroupAppearance>("GroupAppearance", 0x68030019,
                                                                DispKind::Enum),
        DispatchMember{"Groups", 0x68030018, DispKind::Object,
                       [](const B& b) { return Variant(b.Groups()); }, nullptr, nullptr},
        LongMember<&B::SelectedButtonAppearance, &B::SetSelectedButtonAppearance>(
            "SelectedButtonAppearance", 0x68030017, DispKind::Enum),
        LongMember<&B::ShowButtonInfo, &B::SetShowButtonInfo>("ShowButtonInfo", 0x68030016,
                                                              DispKind::Enum),
        DispatchMember{"ActiveGroup", 0x68030015, DispKind::Object,
                       [](const B& b) { return Variant(b.ActiveGroup()); },
                       [](B& b, const Variant& v) { b.SetActiveGroup(v.As<CGroup>()); }, nullptr},
        LongMember<&B::ButtonHeight, &B::SetButtonHeight>("ButtonHeight", 0x68030014,
                                                          DispKind::Long),
        LongMember<&B::ButtonWidth, &B::SetButtonWidth>("ButtonWidth", 0x68030013, DispKind::Long),
        LongMember<&B::ButtonFlow, &B::SetButtonFlow>("ButtonFlow", 0x68030012, DispKind::Enum),
        LongMember<&B::GroupFlow, &B::SetGroupFlow>("GroupFlow", 0x68030011, DispKind::Enum),
        DispatchMember{"SelectedButton", 0x68030010, DispKind::Object,
                       [](const B& b) { return Variant(b.SelectedButton()); },
                       [](B& b, const Variant& v) { b.SetSelectedButton(v.As<CButton>()); },
                       nullptr},
        LongMember<&B::HighlightedButtonForeColor, &B::SetHighlightedButtonForeColor>(
            "HighlightedButtonForeColor", 0x6803000f, DispKind::Color),
        LongMember<&B::HighlightedButtonBackColor, &B::SetHighlightedButtonBackColor>(
            "HighlightedButtonBackColor", 0x6803000e, DispKind::Color),
        LongMember<&B::GroupBackColor, &B::SetGroupBackColor>("GroupBackColor", 0x6803000d,
                                                              DispKind::Color),
        LongMember<&B::GroupForeColor, &B::SetGroupForeColor>("GroupForeColor", 0x6803000c,
                                                              DispKind::Color),
        LongMember<&B::SelectedButtonBackColor, &B::SetSelectedButtonBackColor>(
            "SelectedButtonBackColor", 0x6803000b, DispKind::Color),
        LongMember<&B::SelectedButtonForeColor, &B::SetSelectedButtonForeColor>(
            "SelectedButtonForeColor", 0x6803000a, DispKind::Color),
        LongMember<&B::ButtonForeColor, &B::SetButtonForeColor>("ButtonForeColor", 0x68030009,
                                                                DispKind::Color),
        LongMember<&B::ButtonTextPosition, &B::SetButtonTextPosition>("ButtonTextPosition",
                                                                      0x68030008, DispKind::Enum),
        DispatchMember{"Caption", 0x68030007, DispKind::String,
                       [](const B& b) { return Variant(b.Caption()); },
                       [](B& b, const Variant& v) { b.SetCaption(v.ToText()); }, nullptr},
        BoolMember<&B::ShowCaptionBar, &B::SetShowCaptionBar>("ShowCaptionBar", 0x68030006),
        BoolMember<&B::ShowCloseButton, &B::SetShowCloseButton>("ShowCloseButton", 0x68030005),
        DispatchMember{"Refresh", 0x60030064, DispKind::Method, nullptr, nullptr,
                       [](B& b) { b.Refresh(); }},
        LongMember<&B::ButtonSize, &B::SetButtonSize>("ButtonSize", 0x68030004, DispKind::Enum),
        LongMember<&B::ButtonHighlightZone, &B::SetButtonHighlightZone>("ButtonHighlightZone",
                                                                        0x68030003, DispKind::Enum),
        LongMember<&B::MousePointer, &B::SetMousePointer>("MousePointer", 0x68030002,
                                                          DispKind::Long),
        DispatchMember{"MouseIcon", 0x68030001, DispKind::Object,
                       [](const B& b) { return Variant(b.MouseIcon()); },
                       [](B& b, const Variant& v) { b.SetMouseIcon(v.As<Picture>()); }, nullptr},
        DispatchMember{"ShowAbout", -552, DispKind::Method, nullptr, nullptr,
                       [](B& b) { b.ShowAbout(); }},
        LongMember<&B::ButtonPictureMaskColor, &B::SetButtonPictureMaskColor>(
            "ButtonPictureMaskColor", 0x68030000, DispKind::Color),
        LongMember<&B::GroupGradientType, &B::SetGroupGradientType>("GroupGradientType", 0x6803006b,
                                                                    DispKind::Enum),
        LongMember<&B::GroupGradientColor, &B::SetGroupGradientColor>("GroupGradientColor",
                                                                      0x6803006a, DispKind::Color),
        LongMember<&B::ButtonGradientType, &B::SetButtonGradientType>("ButtonGradientType",
                                                                      0x68030069, DispKind::Enum),
        LongMember<&B::ButtonGradientColor, &B::SetButtonGradientColor>(
            "ButtonGradientColor", 0x68030068, DispKind::Color),
        BoolMember<&B::LockRefresh, &B::SetLockRefresh>("LockRefresh", 0x68030067),
        DispatchMember{"hwnd", 0x68030065, DispKind::Long,
                       [](const B& b) { return Variant(static_cast<std::int32_t>(b.hwnd())); },
                       nullptr, nullptr},
    };
    return table;
}

[[noreturn]] void NoSuchMember() {
    // The dispatch runtime's answer to an unknown name.
    throw Error(438, std::string(kLibraryName), "Object doesn't support this property or method");
}

}  // namespace

const std::vector<DispatchMember>& DispatchMembers() {
    return Table();
}

const DispatchMember* FindDispatchMember(std::string_view name) {
    for (const DispatchMember& m : Table())
        if (KeysEqual(m.name, name)) return &m;
    return nullptr;
}

const DispatchMember* FindDispatchMember(std::int32_t dispid) {
    for (const DispatchMember& m : Table())
        if (m.dispid == dispid) return &m;
    return nullptr;
}

Variant ZoButtonBar::GetProperty(std::string_view name) const {
    const DispatchMember* m = FindDispatchMember(name);
    if (m == nullptr || !m->get) NoSuchMember();
    return m->get(*this);
}

void ZoButtonBar::SetProperty(std::string_view name, const Variant& value) {
    const DispatchMember* m = FindDispatchMember(name);
    if (m == nullptr) NoSuchMember();
    // A read-only property: the runtime's "Can't assign to read-only property".
    if (!m->set) throw Error(383, std::string(kLibraryName), "Can't set read-only property");
    m->set(*this, value);
}

Variant ZoButtonBar::Invoke(std::string_view name) {
    const DispatchMember* m = FindDispatchMember(name);
    if (m == nullptr || !m->call) NoSuchMember();
    m->call(*this);
    return Variant();
}

}  // namespace zo
