// The tooltip wrapper: every member is one or two messages to the tooltip window. Text goes to
// the window in the platform's 8-bit code page and comes back from it the same way.
#include "input/CToolTip.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "control/ZoButtonBar.h"
#include "core/Variant.h"
#include "platform/CommCtrl.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "render/Utils.h"

namespace zo {

using namespace plat;

// The tool record as the wrapper exchanges it.
struct ToolRecord {
    TOOLINFOA ti;
};

namespace {

LRESULT Send(HWND h, UINT msg, WPARAM w, LPARAM l) {
    return h != 0 ? SendMessageA(h, msg, w, l) : 0;
}

// Low word as an unsigned 16-bit value, high word above it.
LPARAM MakeLong(std::int32_t lo, std::int32_t hi) {
    return static_cast<LPARAM>(hi) * 65536 + static_cast<LPARAM>(lo & 0xFFFF);
}

}  // namespace

CToolTip::~CToolTip() {
    if (m_hWnd != 0 && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
    m_hWnd = 0;
}

void CToolTip::init(HWND hParent) {
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(INITCOMMONCONTROLSEX);
    icc.dwICC = 255;
    InitCommonControlsEx(&icc);
    m_hWnd = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_NOPREFIX | TTS_NOANIMATE, 0, 0, 0, 0,
                             hParent, 0, 0, nullptr);
    m_hParent = hParent;
    SetActivate(true);
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

bool CToolTip::BallonStyle() const {
    return m_hWnd != 0 && (GetWindowLongA(m_hWnd, GWL_STYLE) & TTS_BALLOON) != 0;
}

void CToolTip::SetBallonStyle(bool b) {
    if (m_hWnd == 0) return;
    const LONG_PTR style = GetWindowLongA(m_hWnd, GWL_STYLE);
    SetWindowLongA(m_hWnd, GWL_STYLE, b ? (style | TTS_BALLOON) : (style & ~LONG_PTR{TTS_BALLOON}));
}

std::int32_t CToolTip::ToolCount() const {
    return static_cast<std::int32_t>(Send(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}

void CToolTip::SetActivate(bool bActivate) {
    Send(m_hWnd, TTM_ACTIVATE, bActivate ? TRUE : FALSE, 0);
}

bool CToolTip::FindTool(std::uintptr_t uid, ToolRecord& out) const {
    const std::int32_t n = ToolCount();
    for (std::int32_t i = 0; i < n; ++i) {
        ToolRecord r;
        if (Send(m_hWnd, TTM_ENUMTOOLSA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r.ti)) &&
            r.ti.uId == uid) {
            out = r;
            return true;
        }
    }
    return false;
}

void CToolTip::SetNewToolRect(std::uintptr_t uid, std::int32_t x, std::int32_t y, std::int32_t cx,
                              std::int32_t cy) {
    ToolRecord r;
    if (!FindTool(uid, r)) return;
    r.ti.rect = RECT{x, y, x + cx, y + cy};
    Send(m_hWnd, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&r.ti));
}

void CToolTip::AdjustRect(RECT* rect) {
    if (rect != nullptr) Send(m_hWnd, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(rect));
}

void CToolTip::SetToolWindowPos(std::int32_t x, std::int32_t y) {
    if (m_hWnd != 0) SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CToolTip::AddTool(std::uintptr_t uid, bool bUIDisWnd, std::int32_t x, std::int32_t y,
                       std::int32_t cx, std::int32_t cy, const std::string& sText) {
    ToolRecord existing;
    if (m_hWnd == 0 || FindTool(uid, existing)) return false;
    std::string text = Trim(sText);
    // An empty text would make the window show nothing at all.
    if (text.empty()) text.push_back(' ');
    std::string ansi = Utf8ToAnsi(text);
    m_lMaxTextLen = std::max(m_lMaxTextLen, static_cast<std::int32_t>(ansi.size()));
    ToolRecord r;
    r.ti.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT | (bUIDisWnd ? TTF_IDISHWND : 0);
    r.ti.hwnd = m_hParent;
    r.ti.uId = uid;
    r.ti.rect = RECT{x, y, x + cx, y + cy};
    r.ti.lpszText = ansi.data();
    return Send(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&r.ti)) != 0;
}

void CToolTip::DeleteTool(std::uintptr_t uid) {
    ToolRecord r;
    if (FindTool(uid, r)) Send(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&r.ti));
}

std::int32_t CToolTip::BackColor() const {
    return static_cast<std::int32_t>(Send(m_hWnd, TTM_GETTIPBKCOLOR, 0, 0));
}

void CToolTip::SetBackColor(std::int32_t oleColor) {
    Send(m_hWnd, TTM_SETTIPBKCOLOR,
         static_cast<WPARAM>(static_cast<std::uint32_t>(TranslateColor(oleColor))), 0);
}

std::int32_t CToolTip::ForeColor() const {
    return static_cast<std::int32_t>(Send(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0));
}

void CToolTip::SetForeColor(std::int32_t oleColor) {
    Send(m_hWnd, TTM_SETTIPTEXTCOLOR,
         static_cast<WPARAM>(static_cast<std::uint32_t>(TranslateColor(oleColor))), 0);
}

RECT CToolTip::Margin() const {
    RECT r;
    Send(m_hWnd, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

void CToolTip::SetMargin(const RECT& r) {
    Send(m_hWnd, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&r));
}

namespace {

// One side of the margin changed, the others as the window has them.
RECT WithSide(RECT r, LONG RECT::*side, std::int32_t v) {
    r.*side = v;
    return r;
}

}  // namespace

void CToolTip::SetLeftMargin(std::int32_t v) {
    SetMargin(WithSide(Margin(), &RECT::left, v));
}

void CToolTip::SetTopMargin(std::int32_t v) {
    SetMargin(WithSide(Margin(), &RECT::top, v));
}

void CToolTip::SetRightMargin(std::int32_t v) {
    SetMargin(WithSide(Margin(), &RECT::right, v));
}

void CToolTip::SetBottomMargin(std::int32_t v) {
    SetMargin(WithSide(Margin(), &RECT::bottom, v));
}

std::string CToolTip::Text(std::uintptr_t uid) const {
    ToolRecord r;
    if (!FindTool(uid, r)) return {};
    // Room for the longest text set through this wrapper; a longer one set past it (directly
    // on the window, or by another wrapper) comes back cut, never written past the buffer.
    std::vector<char> buffer(static_cast<std::size_t>(m_lMaxTextLen) + 1, ' ');
    buffer.back() = '\0';
    r.ti.lpszText = buffer.data();
    Send(m_hWnd, TTM_GETTEXTA, buffer.size(), reinterpret_cast<LPARAM>(&r.ti));
    return AnsiToUtf8(std::string(buffer.data()));
}

void CToolTip::SetText(std::uintptr_t uid, const std::string& sText) {
    ToolRecord r;
    if (!FindTool(uid, r)) return;
    std::string ansi = Utf8ToAnsi(sText);
    m_lMaxTextLen = std::max(m_lMaxTextLen, static_cast<std::int32_t>(ansi.size()));
    r.ti.lpszText = ansi.data();
    Send(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&r.ti));
}

void CToolTip::SethFont(HFONT hFnt) {
    Send(m_hWnd, WM_SETFONT, static_cast<WPARAM>(hFnt), 1);
}

void CToolTip::SetTitle(const std::string& sTitle) {
    m_sTitle = Trim(sTitle);
    std::string ansi = Utf8ToAnsi(m_sTitle);
    Send(m_hWnd, TTM_SETTITLEA, static_cast<WPARAM>(m_lIcon),
         reinterpret_cast<LPARAM>(ansi.c_str()));
}

void CToolTip::SetIcon(std::int32_t nIcon) {
    m_lIcon = nIcon;
    std::string ansi = Utf8ToAnsi(m_sTitle);
    Send(m_hWnd, TTM_SETTITLEA, static_cast<WPARAM>(static_cast<std::uint32_t>(nIcon)),
         reinterpret_cast<LPARAM>(ansi.c_str()));
}

std::int32_t CToolTip::InitialDelay() const {
    return static_cast<std::int32_t>(Send(m_hWnd, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
}

void CToolTip::SetInitialDelay(std::int32_t ms) {
    Send(m_hWnd, TTM_SETDELAYTIME, TTDT_INITIAL, MakeLong(ms, 0));
}

std::int32_t CToolTip::ReshowDelay() const {
    return static_cast<std::int32_t>(Send(m_hWnd, TTM_GETDELAYTIME, TTDT_RESHOW, 0));
}

void CToolTip::SetReshowDelay(std::int32_t ms) {
    Send(m_hWnd, TTM_SETDELAYTIME, TTDT_RESHOW, MakeLong(ms, 0));
}

std::int32_t CToolTip::AutopopDelay() const {
    return static_cast<std::int32_t>(Send(m_hWnd, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
}

void CToolTip::SetAutopopDelay(std::int32_t ms) {
    Send(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOPOP, MakeLong(ms, 0));
}

std::uintptr_t CToolTip::ToolId(std::int32_t index) const {
    ToolRecord r;
    if (!Send(m_hWnd, TTM_ENUMTOOLSA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r.ti)))
        return 0;
    return r.ti.uId;
}

// Only at run time: one rectangle tool for the button area, one whole-window tool per strip.
void ZoButtonBar::StartToolTip() {
    m_aToolTip = std::make_shared<CToolTip>();
    m_aToolTip->init(m_hWndButtons);
    m_aToolTip->AddTool(m_hWndButtons, false, 0, 0, 0, 0, "");
    m_aToolTip->AddTool(m_hWndLowerGroups, true, 0, 0, 0, 0, "");
    m_aToolTip->AddTool(m_hWndUpperGroups, true, 0, 0, 0, 0, "");
}

void ZoButtonBar::StopToolTip() {
    m_aToolTip.reset();
}

}  // namespace zo
