// The pages' shared plumbing. Controls get IDs from their creation order, so a WM_COMMAND or
// WM_HSCROLL finds its control's name without a table per page.
#include "pages/PageBase.h"

#include <algorithm>

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "platform/Dialogs.h"
#include "platform/Gdi.h"

namespace zo {

using namespace plat;

namespace {

constexpr int kFirstId = 100;

// The scroll bar class's own procedure, kept so that the pages' scroll bars can hide the caret
// the class shows on its thumb while focused.
thread_local LONG_PTR tlsScrollProc = 0;

LRESULT ScrollNoCaret(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT r = CallWindowProcA(tlsScrollProc, hwnd, msg, wParam, lParam);
    if (msg == WM_SETFOCUS) HideCaret(hwnd);
    return r;
}

}  // namespace

PageBase::PageBase(std::string caption)
    : PropertyPage(std::move(caption), kPageWidth, kPageHeight) {}

HWND PageBase::Item(std::string_view name) const {
    for (const Entry& e : controls_)
        if (e.name == name && IsWindow(e.hwnd)) return e.hwnd;
    return 0;
}

std::string_view PageBase::NameOf(HWND h) const {
    for (const Entry& e : controls_)
        if (e.hwnd == h) return e.name;
    return {};
}

std::shared_ptr<ZoButtonBar> PageBase::Bar() const {
    const auto& selected = SelectedControls();
    auto bar = selected.empty() ? nullptr : std::dynamic_pointer_cast<ZoButtonBar>(selected[0]);
    if (!bar) RaiseRuntimeError(91);  // Object variable not set
    return bar;
}

Variant PageBase::Get(std::string_view property) const {
    return Bar()->GetProperty(property);
}

void PageBase::Set(std::string_view property, const Variant& value) const {
    Bar()->SetProperty(property, value);
}

HWND PageBase::Make(std::string name, const char* cls, DWORD style, const std::string& text, int x,
                    int y, int w, int h) {
    if (controls_.empty() || !IsWindow(controls_.front().hwnd)) {
        controls_.clear();
        boxes_.clear();
    }
    const int id = kFirstId + static_cast<int>(controls_.size());
    const HWND hwnd = CreateWindowExA(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w,
                                      h, hWnd(), static_cast<HMENU>(id), 0, nullptr);
    controls_.push_back(Entry{std::move(name), hwnd});
    return hwnd;
}

HWND PageBase::AddLabel(std::string name, std::string text, int x, int y, int w, int h,
                        DWORD align) {
    return Make(std::move(name), WC_STATICA, align, text, x, y, w, h);
}

HWND PageBase::AddFrame(std::string name, std::string text, int x, int y, int w, int h) {
    return Make(std::move(name), WC_BUTTONA, BS_GROUPBOX, text, x, y, w, h);
}

HWND PageBase::AddEdit(std::string name, std::string text, int x, int y, int w, int h) {
    return Make(std::move(name), WC_EDITA, WS_TABSTOP | WS_BORDER, text, x, y, w, h);
}

HWND PageBase::AddList(std::string name, const std::vector<std::string>& items, int x, int y, int w,
                       int h) {
    const HWND hwnd =
        Make(std::move(name), WC_COMBOBOXA, WS_TABSTOP | CBS_DROPDOWNLIST, "", x, y, w, h);
    for (const std::string& item : items)
        SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    return hwnd;
}

HWND PageBase::AddListBox(std::string name, const std::vector<std::string>& items, int x, int y,
                          int w, int h) {
    // The list box is a common control: its class exists once the common controls are set up.
    INITCOMMONCONTROLSEX icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    const HWND hwnd =
        Make(std::move(name), WC_LISTBOXA,
             WS_TABSTOP | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, "", x, y, w, h);
    for (const std::string& item : items)
        SendMessageA(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    return hwnd;
}

HWND PageBase::AddCheck(std::string name, std::string text, int x, int y, int w, int h) {
    return Make(std::move(name), WC_BUTTONA, WS_TABSTOP | BS_AUTOCHECKBOX, text, x, y, w, h);
}

HWND PageBase::AddButton(std::string name, std::string text, int x, int y, int w, int h) {
    return Make(std::move(name), WC_BUTTONA, WS_TABSTOP | BS_PUSHBUTTON, text, x, y, w, h);
}

HWND PageBase::AddScroll(std::string name, int x, int y, int w, int h) {
    const HWND hwnd = Make(std::move(name), WC_SCROLLBARA, WS_TABSTOP | SBS_HORZ, "", x, y, w, h);
    const LONG_PTR proc = GetWindowLongA(hwnd, GWL_WNDPROC);
    if (tlsScrollProc == 0) tlsScrollProc = proc;
    if (proc == tlsScrollProc)
        SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&ScrollNoCaret));
    return hwnd;
}

HWND PageBase::AddPictureBox(std::string name, int x, int y, int w, int h) {
    const HWND hwnd = Make(std::move(name), WC_STATICA, SS_BITMAP | SS_SUNKEN, "", x, y, w, h);
    boxes_.push_back(Box{hwnd, Picture::Empty()});
    return hwnd;
}

void PageBase::OnCommand(std::string_view, int) {}
void PageBase::OnScrollChange(std::string_view) {}
void PageBase::OnScrollDrag(std::string_view) {}
bool PageBase::OnKeyFilter(std::string_view, bool, unsigned&) {
    return true;
}

bool PageBase::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && lParam != 0) {
        const std::string_view name = NameOf(static_cast<HWND>(lParam));
        if (name.empty()) return false;
        OnCommand(name, HIWORD(wParam));
        return true;
    }
    if (msg == WM_HSCROLL && lParam != 0) {
        const std::string_view name = NameOf(static_cast<HWND>(lParam));
        if (name.empty()) return false;
        HandleScroll(static_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return true;
    }
    if (msg == WM_NOTIFY && lParam != 0) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        const std::string_view name = NameOf(hdr->hwndFrom);
        if (name.empty()) return false;
        if (hdr->code == NM_CHAR) {
            auto* n = reinterpret_cast<NMCHAR*>(lParam);
            unsigned key = n->ch;
            result = OnKeyFilter(name, true, key) ? 0 : 1;
            n->ch = key;
            return true;
        }
        if (hdr->code == NM_KEYDOWN) {
            auto* n = reinterpret_cast<NMKEY*>(lParam);
            unsigned key = n->nVKey;
            result = OnKeyFilter(name, false, key) && key != 0 ? 0 : 1;
            n->nVKey = key;
            return true;
        }
    }
    return false;
}

std::string PageBase::Text(HWND h) {
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
    const int got = GetWindowTextA(h, s.data(), static_cast<int>(s.size()));
    s.resize(static_cast<std::size_t>(std::max(got, 0)));
    return s;
}

void PageBase::SetText(HWND h, const std::string& text) {
    // A box's Change runs only when its text really changes.
    if (Text(h) == text) return;
    SetWindowTextA(h, text.c_str());
}

int PageBase::ListIndex(HWND h) {
    return static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0));
}

void PageBase::SetListIndex(HWND h, int index) {
    const int count = static_cast<int>(SendMessageA(h, CB_GETCOUNT, 0, 0));
    if (index < -1 || index >= count) RaiseRuntimeError(380);
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    OnCommand(NameOf(h), CBN_SELCHANGE);
}

void PageBase::SetListQuietly(HWND h, int index) {
    const int count = static_cast<int>(SendMessageA(h, CB_GETCOUNT, 0, 0));
    if (index < -1 || index >= count) RaiseRuntimeError(380);
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int PageBase::CheckValue(HWND h) {
    return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void PageBase::SetCheckValue(HWND h, int value) {
    if (CheckValue(h) == value) return;
    SetCheckQuietly(h, value);
    OnCommand(NameOf(h), BN_CLICKED);
}

void PageBase::SetCheckQuietly(HWND h, int value) {
    SendMessageA(h, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int PageBase::ScrollMin(HWND h) {
    int lo = 0, hi = 0;
    GetScrollRange(h, SB_CTL, &lo, &hi);
    return lo;
}

int PageBase::ScrollMax(HWND h) {
    int lo = 0, hi = 0;
    GetScrollRange(h, SB_CTL, &lo, &hi);
    return hi;
}

int PageBase::ScrollValue(HWND h) {
    return GetScrollPos(h, SB_CTL);
}

// A range that no longer holds the value moves the value to its nearer end, which is a change.
void PageBase::ClampScroll(HWND h, int oldValue) {
    const int v = std::clamp(oldValue, ScrollMin(h), ScrollMax(h));
    SetScrollPos(h, SB_CTL, v, TRUE);
    if (v != oldValue) OnScrollChange(NameOf(h));
}

void PageBase::SetScrollMin(HWND h, int v) {
    const int old = ScrollValue(h);
    SetScrollRange(h, SB_CTL, v, std::max(v, ScrollMax(h)), TRUE);
    ClampScroll(h, old);
}

void PageBase::SetScrollMax(HWND h, int v) {
    const int old = ScrollValue(h);
    SetScrollRange(h, SB_CTL, std::min(v, ScrollMin(h)), v, TRUE);
    ClampScroll(h, old);
}

// The scroll bar only reports what the user did; the page moves it, a step at a time.
void PageBase::HandleScroll(HWND h, int code, int pos) {
    const int lo = ScrollMin(h), hi = ScrollMax(h), v = ScrollValue(h);
    if (!IsWindowEnabled(h)) return;
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            SetScrollValue(h, std::max(lo, v - 1));
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            SetScrollValue(h, std::min(hi, v + 1));
            break;
        case SB_LEFT:
            SetScrollValue(h, lo);
            break;
        case SB_RIGHT:
            SetScrollValue(h, hi);
            break;
        case SB_THUMBTRACK:
            if (pos >= lo && pos <= hi && pos != v) {
                SetScrollPos(h, SB_CTL, pos, TRUE);
                OnScrollDrag(NameOf(h));
            }
            break;
        case SB_THUMBPOSITION:
            // The drag already moved the thumb; letting go is the change.
            if (pos >= lo && pos <= hi) {
                SetScrollPos(h, SB_CTL, pos, TRUE);
                OnScrollChange(NameOf(h));
            }
            break;
        default:
            break;
    }
}

void PageBase::SetScrollValue(HWND h, int v) {
    const int lo = ScrollMin(h), hi = ScrollMax(h);
    if (v < lo || v > hi) RaiseRuntimeError(380);
    if (v == ScrollValue(h)) return;
    SetScrollPos(h, SB_CTL, v, TRUE);
    OnScrollChange(NameOf(h));
}

PicturePtr PageBase::BoxPicture(HWND h) const {
    for (const Box& b : boxes_)
        if (b.hwnd == h) return b.picture;
    return Picture::Empty();
}

void PageBase::SetBoxPicture(HWND h, PicturePtr picture) {
    if (!picture) picture = Picture::Empty();
    for (Box& b : boxes_) {
        if (b.hwnd != h) continue;
        const WPARAM kind = picture->Kind() == PictureType::Icon ? IMAGE_ICON : IMAGE_BITMAP;
        const bool shown =
            picture->Kind() == PictureType::Bitmap || picture->Kind() == PictureType::Icon;
        SendMessageA(h, STM_SETIMAGE, kind, shown ? static_cast<LPARAM>(picture->Handle()) : 0);
        b.picture = std::move(picture);
        return;
    }
}

std::string PageBase::Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace zo
