// Scenes of the dialog classes, shared by the reference-image tests and the X11 end-to-end
// test, which must build exactly the same windows.
#pragma once

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zo::plat::test {

inline HWND SceneChild(HWND parent, const char* cls, const char* text, DWORD style, DWORD ex, int x,
                       int y, int w, int h, int id = 0) {
    const HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   static_cast<HMENU>(id), 0, nullptr);
    SendMessageA(c, WM_SETFONT, static_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
}

// Adds tabs in order, each at index `at` when given, else at its own place.
inline void SceneTabs(HWND tab, std::initializer_list<const char*> names, int at = -1) {
    int i = 0;
    for (const char* n : names) {
        const TCITEMA it{.mask = TCIF_TEXT, .pszText = const_cast<char*>(n)};
        SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(at < 0 ? i++ : at),
                     reinterpret_cast<LPARAM>(&it));
    }
}

// Adds rows to a list box or a drop-down list and chooses one.
inline void SceneRows(HWND h, UINT add, std::initializer_list<const char*> rows, UINT choose,
                      int chosen) {
    for (const char* r : rows)
        SendMessageA(h, add, 0, reinterpret_cast<LPARAM>(r));
    SendMessageA(h, choose, static_cast<WPARAM>(chosen), 0);
}

// A tab control with the focus on its second tab and a disabled one; a list scrolled down with a
// row chosen, and a disabled one without a bar.
inline HWND BuildControlsScene() {
    const INITCOMMONCONTROLSEX icc;
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{.lpfnWndProc = DefWindowProcA, .lpszClassName = "ZoSceneFrame"};
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_3DFACE + 1);
    if (!GetClassInfoA(0, "ZoSceneFrame", &wc)) RegisterClassA(&wc);
    const HWND top = CreateWindowExA(0, "ZoSceneFrame", "scene", WS_POPUP | WS_VISIBLE, 10, 10, 300,
                                     180, 0, 0, 0, nullptr);
    const HWND tab = SceneChild(top, WC_TABCONTROLA, "", WS_TABSTOP, 0, 8, 8, 190, 70);
    SceneTabs(tab, {"General", "Buttons", "&Groups"});
    SendMessageA(tab, TCM_SETCURSEL, 1, 0);
    SceneTabs(SceneChild(top, WC_TABCONTROLA, "", WS_DISABLED, 0, 8, 90, 190, 70),
              {"Position", "Appearance"});
    SceneRows(SceneChild(top, WC_LISTBOXA, "", WS_TABSTOP | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
                         206, 8, 86, 100),
              LB_ADDSTRING,
              {"[..]", "[Icons]", "apple.bmp", "bear.ico", "cat.bmp", "dog.bmp", "eel.ico",
               "fox.bmp", "gnu.bmp", "hen.ico", "ibis.bmp", "jay.bmp"},
              LB_SETCURSEL, 9);
    SceneRows(SceneChild(top, WC_LISTBOXA, "", WS_DISABLED | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
                         206, 116, 86, 44),
              LB_ADDSTRING, {"one", "two"}, LB_SETCURSEL, 1);
    SetFocus(tab);
    return top;
}

inline constexpr int kSceneCheckId = 101;

// The pages of the sheet scene: "Appearance" with a group of two check boxes, "Position" with
// a labelled drop-down list. A click on a check box marks the page changed.
inline INT_PTR ScenePage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        if (reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam == 0) {
            const DWORD check = WS_TABSTOP | BS_AUTOCHECKBOX;
            SceneChild(h, WC_BUTTONA, "Caption Bar", BS_GROUPBOX, 0, 6, 4, 176, 62);
            SceneChild(h, WC_BUTTONA, "Show C&lose Button", check, 0, 16, 22, 150, 16,
                       kSceneCheckId);
            SendMessageA(
                SceneChild(h, WC_BUTTONA, "Sho&w Caption Bar", check, 0, 16, 42, 150, 16, 102),
                BM_SETCHECK, BST_CHECKED, 0);
        } else {
            SceneChild(h, WC_STATICA, "Button &Layout", 0, 0, 6, 10, 80, 14);
            SceneRows(SceneChild(h, WC_COMBOBOXA, "", WS_TABSTOP | CBS_DROPDOWNLIST, 0, 90, 6, 92,
                                 21, 103),
                      CB_ADDSTRING, {"0 - zoTiled", "1 - zoLinear"}, CB_SETCURSEL, 1);
        }
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) != 0)
        SendMessageA(GetParent(h), PSM_CHANGED, h, 0);
    return FALSE;
}

// A modeless sheet "ZoButtonBar Properties" with the two scene pages, on the first one.
inline HWND BuildSheetScene() {
    PROPSHEETPAGEA psp[2];
    for (int i = 0; i < 2; ++i) {
        psp[i] = {.dwFlags = PSP_USETITLE, .cx = 190, .cy = 74, .pfnDlgProc = &ScenePage};
        psp[i].pszTitle = i == 0 ? "Appearance" : "Position";
        psp[i].lParam = i;
    }
    PROPSHEETHEADERA h{.dwFlags = PSH_MODELESS | PSH_PROPTITLE, .nPages = 2, .ppsp = psp};
    h.pszCaption = "ZoButtonBar";
    return static_cast<HWND>(PropertySheetA(&h));
}

inline HWND SheetCheckBox(HWND frame) {
    const auto page = static_cast<HWND>(SendMessageA(frame, PSM_GETCURRENTPAGEHWND, 0, 0));
    return GetDlgItem(page, kSceneCheckId);
}

}  // namespace zo::plat::test
