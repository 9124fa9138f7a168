// The open-file dialog: a bordered pop-up with a caption bar, the folder being looked in, a
// list of its folders ("[name]", with "[..]" for the one above) and of the files that match
// the chosen filter, a file-name box with Open, and the filter list with Cancel. It runs its
// own loop with the owner disabled, as a message box does.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/commctrl/ControlKit.h"
#include "platform/commctrl/FileNames.h"

namespace zo::plat {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDialogClass = "ZoOpenFileDialog";
constexpr int kWidth = 420;
constexpr int kHeight = 300;
constexpr int kCaptionH = 18;
constexpr int kMargin = 8;
constexpr int kButtonW = 75;
constexpr int kButtonH = 23;
constexpr int kLabelW = 80;
constexpr int kRowH = 21;
constexpr int kFolderRowH = 20;
enum : int { kListId = 0x460, kNameId = 0x480, kTypeId = 0x470 };

thread_local DWORD tlsLastError = 0;

struct FileDlg {
    OPENFILENAMEA* ofn = nullptr;
    std::vector<FileFilter> filters;
    std::vector<std::string> patterns;
    fs::path folder;
    std::vector<FolderEntry> entries;
    std::string title;
    HWND list = 0, name = 0, type = 0;
    bool done = false;
    BOOL result = FALSE;
};

FileDlg* DlgOf(HWND h) {
    return reinterpret_cast<FileDlg*>(GetWindowLongA(h, GWL_USERDATA));
}

void Say(HWND h, const std::string& text) {
    const FileDlg* d = DlgOf(h);
    MessageBoxA(h, text.c_str(), d != nullptr ? d->title.c_str() : "Open",
                MB_OK | MB_ICONEXCLAMATION);
}

// Shows folder, or says why it cannot and keeps the one shown.
bool Enter(HWND h, const fs::path& folder) {
    FileDlg* d = DlgOf(h);
    if (d == nullptr) return false;
    FolderListing l = ListFolder(folder, d->patterns);
    if (!l.ok) {
        Say(h, Utf8ToAnsi(folder.string()) + "\nis not accessible.\n\nAccess is denied.");
        return false;
    }
    d = DlgOf(h);
    if (d == nullptr) return false;
    d->folder = folder;
    d->entries = std::move(l.entries);
    SendMessageA(d->list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < d->entries.size(); ++i) {
        const FolderEntry& e = d->entries[i];
        const std::string shown = e.folder ? "[" + e.shown + "]" : e.shown;
        const LRESULT at =
            SendMessageA(d->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        SendMessageA(d->list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
    }
    RECT row{0, kCaptionH, kWidth, kCaptionH + kMargin + kFolderRowH};
    InvalidateRect(h, &row, FALSE);
    return true;
}

std::string TextOf(HWND h) {
    std::string s(static_cast<std::size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    s.resize(static_cast<std::size_t>(GetWindowTextA(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

const FolderEntry* ChosenEntry(const FileDlg& d) {
    const LRESULT sel = SendMessageA(d.list, LB_GETCURSEL, 0, 0);
    if (sel < 0) return nullptr;
    const LRESULT i = SendMessageA(d.list, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
    return i >= 0 && static_cast<std::size_t>(i) < d.entries.size()
               ? &d.entries[static_cast<std::size_t>(i)]
               : nullptr;
}

void Finish(HWND h, BOOL result, DWORD error) {
    if (FileDlg* d = DlgOf(h)) {
        d->done = true;
        d->result = result;
        tlsLastError = error;
    }
}

// Open: a folder is entered, wildcards become the filter, a file ends the dialog.
void Open(HWND h, bool fromList) {
    FileDlg* d = DlgOf(h);
    if (d == nullptr) return;
    const FolderEntry* chosen = ChosenEntry(*d);
    if (fromList && chosen != nullptr && chosen->folder) {
        if (chosen->representable)
            Enter(h, (d->folder / chosen->name).lexically_normal());
        else
            Say(h, chosen->shown + "\nThe file name is not valid.");
        return;
    }
    std::string typed = TextOf(d->name);
    typed.erase(0, typed.find_first_not_of(' '));
    typed.erase(typed.find_last_not_of(' ') + 1);
    if (typed.empty()) return;
    if (chosen != nullptr && !chosen->representable && typed == chosen->shown) {
        Say(h, typed + "\nThe file name is not valid.");
        return;
    }
    if (HasWildcards(typed)) {
        d->patterns = SplitPatterns(typed);
        Enter(h, d->folder);
        return;
    }
    const fs::path path = ResolveTyped(d->folder, typed);
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        if (Enter(h, path)) SetWindowTextA(d->name, "");
        return;
    }
    const DWORD flags = d->ofn->Flags;
    if ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) &&
        !fs::is_directory(path.parent_path(), ec)) {
        Say(h, typed + "\nPath does not exist.\nPlease verify the correct path was given.");
        return;
    }
    if ((flags & OFN_FILEMUSTEXIST) && !fs::exists(path, ec)) {
        Say(h, typed + "\nFile not found.\nPlease verify the correct file name was given.");
        return;
    }
    std::string ansi;
    if (!PathToAnsi(path, &ansi)) {
        Say(h, typed + "\nThe file name is not valid.");
        return;
    }
    const DWORD error = CopyChosenPath(*d->ofn, ansi);
    d = DlgOf(h);
    if (d == nullptr) return;
    const LRESULT type = SendMessageA(d->type, CB_GETCURSEL, 0, 0);
    if (error == 0 && type >= 0) d->ofn->nFilterIndex = static_cast<DWORD>(type + 1);
    Finish(h, error == 0 ? TRUE : FALSE, error);
}

void OnCommand(HWND h, WORD id, WORD code) {
    FileDlg* d = DlgOf(h);
    if (d == nullptr) return;
    if (id == IDOK && code == BN_CLICKED) {
        Open(h, GetFocus() == d->list);
    } else if (id == IDCANCEL && code == BN_CLICKED) {
        Finish(h, FALSE, 0);
    } else if (id == kListId && code == LBN_SELCHANGE) {
        if (const FolderEntry* e = ChosenEntry(*d); e != nullptr && !e->folder)
            SetWindowTextA(d->name, e->shown.c_str());
    } else if (id == kListId && code == LBN_DBLCLK) {
        Open(h, true);
    } else if (id == kTypeId && code == CBN_SELCHANGE) {
        const LRESULT i = SendMessageA(d->type, CB_GETCURSEL, 0, 0);
        if (i >= 0 && static_cast<std::size_t>(i) < d->filters.size()) {
            d->patterns = d->filters[static_cast<std::size_t>(i)].patterns;
            Enter(h, d->folder);
        }
    }
}

void Paint(HWND h) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(h, &ps);
    if (dc == 0) return;
    RECT client;
    GetClientRect(h, &client);
    const int saved = SaveDC(dc);
    kit::FillSys(dc, client, COLOR_3DFACE);
    RECT bar{0, 0, client.right, kCaptionH};
    kit::FillSys(dc, bar, COLOR_ACTIVECAPTION);
    if (const FileDlg* d = DlgOf(h)) {
        SelectObject(dc, ctl::FontOf(h));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
        RECT cap{4, 0, client.right - 4, kCaptionH};
        DrawTextA(dc, d->title.c_str(), -1, &cap, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT label{kMargin, kCaptionH + kMargin, kMargin + kLabelW,
                   kCaptionH + kMargin + kFolderRowH};
        DrawTextA(dc, "Look in:", -1, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        RECT path{kMargin + kLabelW, label.top, client.right - kMargin, label.bottom};
        std::string shown = Utf8ToAnsi(d->folder.string());
        DrawTextA(dc, shown.c_str(), -1, &path,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    }
    RestoreDC(dc, saved);
    EndPaint(h, &ps);
}

LRESULT DialogProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongA(h, GWL_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            return DefWindowProcA(h, msg, wParam, lParam);
        }
        case WM_NCDESTROY:
            if (FileDlg* d = DlgOf(h)) d->done = true;
            SetWindowLongA(h, GWL_USERDATA, 0);
            return DefDlgProcA(h, msg, wParam, lParam);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(h);
            return 0;
        case WM_CLOSE:
            Finish(h, FALSE, 0);
            return 0;
        case DM_GETDEFID:
            return MAKELPARAM(IDOK, DC_HASDEFID);
        case WM_COMMAND:
            OnCommand(h, LOWORD(wParam), HIWORD(wParam));
            return 0;
        default:
            return DefDlgProcA(h, msg, wParam, lParam);
    }
}

HWND Control(HWND dlg, const char* cls, const char* text, DWORD style, DWORD ex, int x, int y,
             int w, int hgt, int id) {
    const HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, hgt, dlg,
                                   static_cast<HMENU>(id), 0, nullptr);
    SendMessageA(c, WM_SETFONT, static_cast<WPARAM>(ctl::FontOf(dlg)), 0);
    return c;
}

// The controls, in Tab order: list, name box, Open, filter list, Cancel.
void Build(HWND h, FileDlg& d) {
    const int listTop = kCaptionH + kMargin + kFolderRowH + 4;
    const int bottom = kHeight - 2;
    const int typeTop = bottom - kMargin - kButtonH;
    const int nameTop = typeTop - kMargin / 2 - kButtonH;
    const int right = kWidth - 2 - kMargin;
    const int boxLeft = kMargin + kLabelW;
    const int boxW = right - kButtonW - kMargin - boxLeft;
    d.list = Control(h, WC_LISTBOXA, "", WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                     WS_EX_CLIENTEDGE, kMargin, listTop, right - kMargin,
                     nameTop - kMargin - listTop, kListId);
    Control(h, WC_STATICA, "File &name:", 0, 0, kMargin, nameTop + 4, kLabelW - 4, kRowH - 6, -1);
    d.name = Control(h, WC_EDITA, "", WS_TABSTOP | ES_LEFT, WS_EX_CLIENTEDGE, boxLeft, nameTop + 1,
                     boxW, kRowH, kNameId);
    Control(h, WC_BUTTONA, "&Open", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, right - kButtonW, nameTop,
            kButtonW, kButtonH, IDOK);
    Control(h, WC_STATICA, "Files of &type:", 0, 0, kMargin, typeTop + 4, kLabelW - 4, kRowH - 6,
            -1);
    d.type = Control(h, WC_COMBOBOXA, "", WS_TABSTOP | CBS_DROPDOWNLIST, 0, boxLeft, typeTop + 1,
                     boxW, kRowH, kTypeId);
    Control(h, WC_BUTTONA, "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, right - kButtonW, typeTop,
            kButtonW, kButtonH, IDCANCEL);
    for (const FileFilter& f : d.filters)
        SendMessageA(d.type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.text.c_str()));
}

bool ValidRecord(const OPENFILENAMEA* ofn, DWORD* error) {
    if (ofn == nullptr || (ofn->lStructSize != sizeof(OPENFILENAMEA) &&
                           ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A)) {
        *error = CDERR_STRUCTSIZE;
        return false;
    }
    if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0 ||
        (ofn->hwndOwner != 0 && !IsWindow(ofn->hwndOwner))) {
        *error = CDERR_INITIALIZATION;
        return false;
    }
    return true;
}

}  // namespace

DWORD CommDlgExtendedError() {
    return tlsLastError;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    tlsLastError = 0;
    DWORD error = 0;
    if (!ValidRecord(ofn, &error)) {
        tlsLastError = error;
        return FALSE;
    }
    kit::EnsureClass(kDialogClass, &DialogProc, 0, 0);
    kit::RegisterListBox();
    FileDlg d;
    d.ofn = ofn;
    d.filters = ParseFilterList(ofn->lpstrFilter);
    d.title = ofn->lpstrTitle != nullptr ? ofn->lpstrTitle : "Open";
    const std::size_t filter =
        ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= d.filters.size() ? ofn->nFilterIndex - 1 : 0;
    d.patterns = d.filters.empty() ? std::vector<std::string>{"*.*"} : d.filters[filter].patterns;
    // The initial name: a folder in it, or else the initial folder, or the working one.
    const std::string initial(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
    std::error_code ec;
    fs::path start = ofn->lpstrInitialDir != nullptr && *ofn->lpstrInitialDir != '\0'
                         ? fs::path(AnsiToUtf8(ofn->lpstrInitialDir))
                         : fs::current_path(ec);
    start = fs::absolute(start, ec).lexically_normal();
    std::string typed = initial;
    if (!initial.empty() && !HasWildcards(initial)) {
        const fs::path p = ResolveTyped(start, initial);
        if (fs::is_directory(p, ec)) {
            start = p;
            typed.clear();
        } else if (fs::is_directory(p.parent_path(), ec)) {
            start = p.parent_path();
            typed = Utf8ToAnsi(p.filename().string());
        }
    }

    const HWND top = ofn->hwndOwner != 0 ? GetAncestorTopLevel(ofn->hwndOwner) : 0;
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT over{0, 0, screen.cx, screen.cy};
    if (top != 0) GetWindowRect(top, &over);
    const int x = std::clamp(static_cast<int>((over.left + over.right - kWidth) / 2), 0,
                             std::max(0, static_cast<int>(screen.cx) - kWidth));
    const int y = std::clamp(static_cast<int>((over.top + over.bottom - kHeight) / 2), 0,
                             std::max(0, static_cast<int>(screen.cy) - kHeight));
    const HWND h =
        CreateWindowExA(WS_EX_CONTROLPARENT, kDialogClass, d.title.c_str(), WS_POPUP | WS_BORDER, x,
                        y, kWidth, kHeight, top, 0, ofn->hInstance, &d);
    if (h == 0) {
        tlsLastError = CDERR_INITIALIZATION;
        return FALSE;
    }
    SendMessageA(h, WM_SETFONT, static_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    Build(h, d);
    SendMessageA(d.type, CB_SETCURSEL, filter, 0);
    SetWindowTextA(d.name, typed.c_str());
    if (!Enter(h, start)) Enter(h, fs::path("/"));

    // Modal: the owner takes no input until the dialog ends.
    const bool disabled = top != 0 && IsWindowEnabled(top);
    if (disabled) EnableWindow(top, FALSE);
    ShowWindow(h, SW_SHOW);
    SetFocus(d.name);
    bool quit = false;
    int quitCode = 0;
    while (!d.done && IsWindow(h)) {
        MSG m;
        const BOOL got = GetMessageA(&m, 0, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = static_cast<int>(m.wParam);
            break;
        }
        if (got < 0) break;
        if (IsDialogMessageA(h, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (disabled && IsWindow(top)) EnableWindow(top, TRUE);
    if (IsWindow(h)) {
        SetWindowLongA(h, GWL_USERDATA, 0);
        DestroyWindow(h);
    }
    if (top != 0 && IsWindow(top) && IsWindowVisible(top)) SetActiveWindow(top);
    if (quit) PostQuitMessage(quitCode);
    return d.done ? d.result : FALSE;
}

}  // namespace zo::plat
