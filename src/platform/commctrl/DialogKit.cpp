// The dialog keyboard interface as the frames of this folder use it.
#include "platform/commctrl/ControlKit.h"

namespace zo::plat::kit {

bool DialogKeys(HWND dialog, MSG* m) {
    if (m == nullptr || m->message != WM_KEYDOWN) return false;
    if (m->wParam == VK_RETURN) {
        const LRESULT def = SendMessageA(dialog, kGetDefId, 0, 0);
        const WPARAM id =
            HIWORD(static_cast<std::uintptr_t>(def)) == kHasDefId ? LOWORD(def) : IDOK;
        SendMessageA(dialog, WM_COMMAND, id, 0);
        return true;
    }
    if (m->wParam == VK_ESCAPE) {
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    return false;
}

LRESULT DefDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace zo::plat::kit
