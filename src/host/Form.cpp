#include "host/Form.h"

#include <vector>

#include "core/Error.h"
#include "host/OleColor.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zo {

using namespace plat;

namespace {

constexpr const char* kFormClass = "ZoButtonBarForm";
constexpr const char* kSurfaceClass = "ZoButtonBarSurface";

void RegisterClasses() {
    thread_local bool registered = false;
    if (registered) return;
    WNDCLASSA wc;
    wc.lpfnWndProc = &ControlForm::WndProc;
    wc.hbrBackground = static_cast<HBRUSH>(15 + 1);  // button face
    wc.lpszClassName = kFormClass;
    RegisterClassA(&wc);
    WNDCLASSA sc;
    sc.lpfnWndProc = &Surface::WndProc;
    sc.lpszClassName = kSurfaceClass;  // no background brush: the surface erases itself
    RegisterClassA(&sc);
    registered = true;
}

std::int16_t ShiftState() {
    std::int16_t s = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) s |= vbShiftMask;
    if (GetKeyState(VK_CONTROL) & 0x8000) s |= vbCtrlMask;
    if (GetKeyState(VK_MENU) & 0x8000) s |= vbAltMask;
    return s;
}

std::int16_t HeldButtons(WPARAM wParam) {
    std::int16_t b = 0;
    if (wParam & MK_LBUTTON) b |= vbLeftButton;
    if (wParam & MK_RBUTTON) b |= vbRightButton;
    if (wParam & MK_MBUTTON) b |= vbMiddleButton;
    return b;
}

RECT ClientRectOf(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
}

}  // namespace

// ---- Surface -------------------------------------------------------------------------------

Surface::Surface(ControlForm& form, std::string name) : form_(form), name_(std::move(name)) {
    RegisterClasses();
    hwnd_ = CreateWindowExA(0, kSurfaceClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                            0, form.hWnd(), 0, 0, nullptr);
    SetWindowLongA(hwnd_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Surface::~Surface() {
    *alive_ = false;
    if (IsWindow(hwnd_)) {
        SetWindowLongA(hwnd_, GWL_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

namespace {
// Only a user scale depends on the client size; converting between fixed units asks the
// window nothing, which painting does for every picture it draws.
bool ScalesWithClient(ScaleMode from, ScaleMode to) {
    return from == vbUser || to == vbUser;
}
}  // namespace

ScaleInfo Surface::Info() const {
    ScaleInfo s;
    s.mode = scaleMode_;
    s.clientWidthPx = ClientWidthPx();
    s.clientHeightPx = ClientHeightPx();
    return s;
}

std::int32_t Surface::ClientWidthPx() const {
    return ClientRectOf(hwnd_).right;
}
std::int32_t Surface::ClientHeightPx() const {
    return ClientRectOf(hwnd_).bottom;
}

double Surface::ScaleWidth() const {
    return ConvertScaleX(ClientWidthPx(), vbPixels, scaleMode_, Info());
}
double Surface::ScaleHeight() const {
    return ConvertScaleY(ClientHeightPx(), vbPixels, scaleMode_, Info());
}
double Surface::ScaleX(double v, ScaleMode from, ScaleMode to) const {
    return ConvertScaleX(v, from, to, ScalesWithClient(from, to) ? Info() : ScaleInfo{});
}
double Surface::ScaleY(double v, ScaleMode from, ScaleMode to) const {
    return ConvertScaleY(v, from, to, ScalesWithClient(from, to) ? Info() : ScaleInfo{});
}
float Surface::ToUnitsX(int px) const {
    return static_cast<float>(ScaleX(px, vbPixels, scaleMode_));
}
float Surface::ToUnitsY(int px) const {
    return static_cast<float>(ScaleY(px, vbPixels, scaleMode_));
}

namespace {
RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(0, GetParent(hwnd), pts, 2);
    return RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}
}  // namespace

double Surface::Left() const {
    return form_.ScaleX(RectInParent(hwnd_).left, vbPixels, form_.GetScaleMode());
}
double Surface::Top() const {
    return form_.ScaleY(RectInParent(hwnd_).top, vbPixels, form_.GetScaleMode());
}
double Surface::Width() const {
    const RECT r = RectInParent(hwnd_);
    return form_.ScaleX(r.right - r.left, vbPixels, form_.GetScaleMode());
}
double Surface::Height() const {
    const RECT r = RectInParent(hwnd_);
    return form_.ScaleY(r.bottom - r.top, vbPixels, form_.GetScaleMode());
}

void Surface::Move(double left, double top, double width, double height) {
    const ScaleMode m = form_.GetScaleMode();
    const int x = NearestInt(form_.ScaleX(left, m, vbPixels));
    const int y = NearestInt(form_.ScaleY(top, m, vbPixels));
    const int w = NearestInt(form_.ScaleX(width, m, vbPixels));
    const int h = NearestInt(form_.ScaleY(height, m, vbPixels));
    MoveWindow(hwnd_, x, y, w < 0 ? 0 : w, h < 0 ? 0 : h, TRUE);
}

void Surface::MovePx(int left, int top, int width, int height) {
    MoveWindow(hwnd_, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height, TRUE);
}

void Surface::SetBackColor(std::int32_t oleColor) {
    if (oleColor == backColor_) return;
    backColor_ = oleColor;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Surface::Visible() const {
    return (GetWindowLongA(hwnd_, GWL_STYLE) & static_cast<LONG_PTR>(WS_VISIBLE)) != 0;
}

void Surface::SetVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void Surface::Refresh() {
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void Surface::SetFocus() {
    plat::SetFocus(hwnd_);
}

std::string Surface::Text() const {
    const int n = GetWindowTextLengthA(hwnd_);
    std::vector<char> buf(static_cast<std::size_t>(n) + 1, '\0');
    GetWindowTextA(hwnd_, buf.data(), n + 1);
    return std::string(buf.data());
}

void Surface::SetText(const std::string& text) {
    SetWindowTextA(hwnd_, text.c_str());
}

LRESULT Surface::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Surface*>(GetWindowLongA(hwnd, GWL_USERDATA));
    if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    // A handler may destroy the control, and this surface with it.
    std::weak_ptr<bool> alive = self->alive_;
    const auto x = [&] { return self->ToUnitsX(GET_X_LPARAM(lParam)); };
    const auto y = [&] { return self->ToUnitsY(GET_Y_LPARAM(lParam)); };
    switch (msg) {
        case WM_ERASEBKGND: {
            const HDC hdc = static_cast<HDC>(wParam);
            const HBRUSH brush = CreateSolidBrush(TranslateOleColor(self->backColor_));
            const RECT rc = ClientRectOf(hwnd);
            FillRect(hdc, &rc, brush);
            DeleteObject(brush);
            return 1;
        }
        case WM_PAINT: {
            // A surface repaints whole, background first: its Paint handler draws everything
            // straight onto the window, unclipped. Filling only the invalid part would keep
            // what the handler no longer draws there (a mark taken away from a flat header)
            // and let it draw a second time over what was kept elsewhere.
            if (GetUpdateRect(hwnd, nullptr, FALSE)) InvalidateRect(hwnd, nullptr, TRUE);
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            if (self->on.Paint) self->on.Paint();
            if (!alive.expired()) EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SIZE:
            if (self->on.Resize) self->on.Resize();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const std::int16_t button = msg == WM_LBUTTONDOWN   ? vbLeftButton
                                        : msg == WM_RBUTTONDOWN ? vbRightButton
                                                                : vbMiddleButton;
            if (button == vbLeftButton) {
                self->leftPressed_ = true;
                if (GetFocus() != hwnd) plat::SetFocus(hwnd);
                if (alive.expired()) return 0;
            }
            if (self->on.MouseDown) self->on.MouseDown(button, ShiftState(), x(), y());
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const std::int16_t button = msg == WM_LBUTTONUP   ? vbLeftButton
                                        : msg == WM_RBUTTONUP ? vbRightButton
                                                              : vbMiddleButton;
            const bool click = button == vbLeftButton && self->leftPressed_;
            if (button == vbLeftButton) self->leftPressed_ = false;
            if (self->on.MouseUp) self->on.MouseUp(button, ShiftState(), x(), y());
            if (click && !alive.expired() && self->on.Click) self->on.Click();
            return 0;
        }
        case WM_MOUSEMOVE:
            if (self->on.MouseMove) self->on.MouseMove(HeldButtons(wParam), ShiftState(), x(), y());
            return 0;
        case WM_KEYDOWN: {
            std::int16_t key = static_cast<std::int16_t>(wParam & 0xFFFF);
            if (self->on.KeyDown) self->on.KeyDown(key, ShiftState());
            return 0;
        }
        case WM_SETFOCUS:
            self->form_.FocusMoved(hwnd);
            return 0;
        case WM_KILLFOCUS: {
            if (self->on.LostFocus) self->on.LostFocus();
            if (!alive.expired()) self->form_.FocusMoved(static_cast<HWND>(wParam));
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- ControlForm ---------------------------------------------------------------------------

ControlForm::ControlForm(HWND parent, int x, int y, int width, int height, bool visible) {
    RegisterClasses();
    const DWORD style =
        (parent ? WS_CHILD : WS_POPUP) | (visible ? WS_VISIBLE : 0) | WS_CLIPCHILDREN;
    hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, kFormClass, "", style, x, y, width, height, parent, 0,
                            0, nullptr);
    SetWindowLongA(hwnd_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    captionBar_ = std::make_unique<Surface>(*this, "m_picCaptionBar");
    upperGroups_ = std::make_unique<Surface>(*this, "m_PicUpperGroups");
    buttons_ = std::make_unique<Surface>(*this, "m_PicButtons");
    lowerGroups_ = std::make_unique<Surface>(*this, "m_PicLowerGroups");
    // The caption bar starts hidden, in the colour of an inactive title bar.
    captionBar_->SetVisible(false);
    captionBar_->SetBackColor(static_cast<std::int32_t>(0x80000003u));
    // The header strips start in the window colour until the control gives them GroupBackColor.
    upperGroups_->SetBackColor(static_cast<std::int32_t>(0x80000005u));
    lowerGroups_->SetBackColor(static_cast<std::int32_t>(0x80000005u));
}

ControlForm::~ControlForm() {
    *alive_ = false;
    // Children go first so that their destruction never reaches a half-destroyed form.
    captionBar_.reset();
    upperGroups_.reset();
    buttons_.reset();
    lowerGroups_.reset();
    if (IsWindow(hwnd_)) {
        SetWindowLongA(hwnd_, GWL_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

ScaleInfo ControlForm::Info() const {
    ScaleInfo s;
    s.mode = scaleMode_;
    s.clientWidthPx = ClientWidthPx();
    s.clientHeightPx = ClientHeightPx();
    return s;
}

std::int32_t ControlForm::ClientWidthPx() const {
    return ClientRectOf(hwnd_).right;
}
std::int32_t ControlForm::ClientHeightPx() const {
    return ClientRectOf(hwnd_).bottom;
}
double ControlForm::ScaleWidth() const {
    return ConvertScaleX(ClientWidthPx(), vbPixels, scaleMode_, Info());
}
double ControlForm::ScaleHeight() const {
    return ConvertScaleY(ClientHeightPx(), vbPixels, scaleMode_, Info());
}
double ControlForm::ScaleX(double v, ScaleMode from, ScaleMode to) const {
    return ConvertScaleX(v, from, to, ScalesWithClient(from, to) ? Info() : ScaleInfo{});
}
double ControlForm::ScaleY(double v, ScaleMode from, ScaleMode to) const {
    return ConvertScaleY(v, from, to, ScalesWithClient(from, to) ? Info() : ScaleInfo{});
}

void ControlForm::MovePx(int x, int y, int width, int height) {
    MoveWindow(hwnd_, x, y, width, height, TRUE);
}

namespace {
void SetStyleBit(HWND hwnd, int index, DWORD bit, bool on) {
    LONG_PTR style = GetWindowLongA(hwnd, index);
    style = on ? (style | static_cast<LONG_PTR>(bit)) : (style & ~static_cast<LONG_PTR>(bit));
    SetWindowLongA(hwnd, index, style);
    SetWindowPos(hwnd, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}
[[noreturn]] void InvalidPropertyValue() {
    throw Error(380, std::string(kLibraryName), "Invalid property value");
}
}  // namespace

void ControlForm::SetAppearance(std::int32_t value) {
    if (value != 0 && value != 1) InvalidPropertyValue();
    appearance_ = value;
    SetStyleBit(hwnd_, GWL_EXSTYLE, WS_EX_CLIENTEDGE, value == 1);
}

void ControlForm::SetBorderStyle(std::int32_t value) {
    if (value != 0 && value != 1) InvalidPropertyValue();
    borderStyle_ = value;
    SetStyleBit(hwnd_, GWL_STYLE, WS_BORDER, value == 1);
}

void ControlForm::SetMousePointer(std::int32_t value) {
    if ((value < 0 || value > 15) && value != 99) InvalidPropertyValue();
    mousePointer_ = value;
}

bool ControlForm::HasFocusWithin() const {
    const HWND f = GetFocus();
    return f != 0 && (f == hwnd_ || IsChild(hwnd_, f));
}

void ControlForm::FocusMoved(HWND gaining) {
    const bool within = gaining != 0 && (gaining == hwnd_ || IsChild(hwnd_, gaining));
    if (within == focusWithin_) return;
    focusWithin_ = within;
    if (within && on.EnterFocus) on.EnterFocus();
    if (!within && on.ExitFocus) on.ExitFocus();
}

LRESULT ControlForm::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ControlForm*>(GetWindowLongA(hwnd, GWL_USERDATA));
    if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_SIZE:
            if (self->on.Resize) self->on.Resize();
            return 0;
        case WM_SETFOCUS:
            self->FocusMoved(hwnd);
            return 0;
        case WM_KILLFOCUS:
            self->FocusMoved(static_cast<HWND>(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace zo
