// The clipboard shared with other X clients, the program's side: an edit copies its text, says
// "copied" and answers the other clients from its message loop until a line comes on standard
// input; then it pastes what another client owns and prints the edit's text (Windows-1252).
// x11-clipboard.sh plays the other client with xclip.
#include <poll.h>

#include <cstdio>

#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Window.h"

int main() {
    using namespace zo::plat;
    if (!InitDisplayFromEnvironment(0, 0) || CurrentDisplayKind() != DisplayKind::X11) {
        std::puts("FAIL: no X11 display");
        return 1;
    }
    const HWND edit = CreateWindowExA(0, WC_EDITA, "copied caf\xE9", WS_POPUP | WS_VISIBLE, 10, 10,
                                      120, 20, 0, 0, 0, nullptr);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_COPY, 0, 0);
    std::puts("copied");
    std::fflush(stdout);
    for (pollfd in{0, POLLIN, 0}; poll(&in, 1, 0) == 0;)
        RunFor(20);
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_PASTE, 0, 0);
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    std::puts(text);
    ShutdownDisplay();
    return 0;
}
