// The standard colour page: every colour property of the control (the dispatch table knows
// which), with a palette of the sixteen basic colours and the list of system colours. A choice
// is kept per property until Apply writes the ones that changed.
#include <array>
#include <cstdio>

#include "control/Dispatch.h"
#include "control/ZoButtonBar.h"
#include "pages/StandardPages.h"
#include "platform/Dialogs.h"
#include "platform/Gdi.h"

namespace zo {

using namespace plat;

namespace {

constexpr std::int32_t kSystemColor = static_cast<std::int32_t>(0x80000000u);
constexpr int kSwatchX = 200, kSwatchY = 74, kSwatch = 24, kGap = 2;

// The sixteen basic colours, as OLE colours (0x00BBGGRR).
constexpr std::array<std::int32_t, 16> kPalette = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

const std::vector<std::string> kSystemNames = {"Scroll Bars",
                                               "Desktop",
                                               "Active Title Bar",
                                               "Inactive Title Bar",
                                               "Menu Bar",
                                               "Window Background",
                                               "Window Frame",
                                               "Menu Text",
                                               "Window Text",
                                               "Active Title Bar Text",
                                               "Active Border",
                                               "Inactive Border",
                                               "Application Workspace",
                                               "Highlight",
                                               "Highlight Text",
                                               "Button Face",
                                               "Button Shadow",
                                               "Disabled Text",
                                               "Button Text",
                                               "Inactive Title Bar Text",
                                               "Button Highlight",
                                               "Button Dark Shadow",
                                               "Button Light Shadow",
                                               "ToolTip Text",
                                               "ToolTip"};

RECT SwatchRect(int i) {
    const int x = kSwatchX + (i % 8) * (kSwatch + kGap);
    const int y = kSwatchY + (i / 8) * (kSwatch + kGap);
    return RECT{x, y, x + kSwatch, y + kSwatch};
}

const RECT kPreview{200, 164, 408, 200};

COLORREF ToColorRef(std::int32_t ole) {
    if ((ole & kSystemColor) != 0) return GetSysColor(ole & 0xFF);
    return static_cast<COLORREF>(ole & 0xFFFFFF);
}

std::vector<std::string> ColorProperties() {
    std::vector<std::string> names;
    for (const DispatchMember& m : DispatchMembers())
        if (m.kind == DispKind::Color) names.emplace_back(m.name);
    return names;
}

}  // namespace

ColorPage::ColorPage() : PageBase("Color") {}

void ColorPage::Create() {
    AddLabel("lblProperties", "&Properties:", 8, 8, 180);
    AddListBox("lstProperties", ColorProperties(), 8, 24, 184, 262);
    AddLabel("lblSystem", "S&ystem Color:", 200, 8, 208);
    AddList("lstSystem", kSystemNames, 200, 24, 208);
    AddLabel("lblPalette", "Palette:", 200, 56, 208);
    AddLabel("lblValue", "Value:", 200, 134, 44);
    const HWND value = AddEdit("txtValue", "", 248, 130, 160);
    SendMessageA(value, EM_SETREADONLY, TRUE, 0);
}

std::string ColorPage::Current() const {
    const HWND list = Item("lstProperties");
    const auto i = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (i < 0) return {};
    std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    return text;
}

void ColorPage::SelectionChanged() {
    pending_.clear();
    loaded_.clear();
    for (const std::string& name : ColorProperties())
        loaded_[name] = Get(name).ToLong();
    if (SendMessageA(Item("lstProperties"), LB_GETCURSEL, 0, 0) < 0)
        SendMessageA(Item("lstProperties"), LB_SETCURSEL, 0, 0);
    ShowValue();
}

void ColorPage::ShowValue() {
    const std::string name = Current();
    if (name.empty()) return;
    const auto it = pending_.find(name);
    const std::int32_t v = it != pending_.end() ? it->second : loaded_[name];
    char text[16];
    std::snprintf(text, sizeof text, "&H%08X&", static_cast<unsigned>(v));
    SetText(Item("txtValue"), text);
    SetListQuietly(Item("lstSystem"), (v & kSystemColor) != 0 && (v & 0xFF) < 25 ? (v & 0xFF) : -1);
    InvalidateRect(hWnd(), &kPreview, FALSE);
}

void ColorPage::Choose(std::int32_t oleColor) {
    const std::string name = Current();
    if (name.empty()) return;
    pending_[name] = oleColor;
    ShowValue();
    SetChanged(true);
}

void ColorPage::OnCommand(std::string_view name, int code) {
    if (name == "lstProperties" && code == LBN_SELCHANGE) ShowValue();
    if (name == "lstSystem" && code == CBN_SELCHANGE) {
        const int i = ListIndex(Item("lstSystem"));
        if (i >= 0) Choose(kSystemColor | i);
    }
}

bool ColorPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_LBUTTONDOWN) {
        const int x = static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        const int y = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)));
        for (int i = 0; i < 16; ++i) {
            const RECT r = SwatchRect(i);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                Choose(kPalette[static_cast<std::size_t>(i)]);
                return true;
            }
        }
        return false;
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hWnd(), &ps);
        if (dc == 0) return true;
        const int saved = SaveDC(dc);
        const HBRUSH frame = GetSysColorBrush(COLOR_BTNSHADOW);
        for (int i = 0; i < 17; ++i) {
            const RECT r = i < 16 ? SwatchRect(i) : kPreview;
            std::int32_t color = 0;
            if (i < 16) {
                color = kPalette[static_cast<std::size_t>(i)];
            } else {
                const std::string name = Current();
                const auto it = pending_.find(name);
                color = it != pending_.end() ? it->second : loaded_[name];
            }
            const HBRUSH fill = CreateSolidBrush(ToColorRef(color));
            RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
            FillRect(dc, &inner, fill);
            DeleteObject(fill);
            FrameRect(dc, &r, frame);
        }
        RestoreDC(dc, saved);
        EndPaint(hWnd(), &ps);
        return true;
    }
    return PageBase::OnMessage(msg, wParam, lParam, result);
}

void ColorPage::ApplyChanges() {
    for (const auto& [name, value] : pending_)
        if (value != loaded_[name]) Set(name, value);
    for (const auto& [name, value] : pending_)
        loaded_[name] = value;
    pending_.clear();
}

}  // namespace zo
