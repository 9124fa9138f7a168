// The clipboard: text put there by one control and taken by another. The X11 display shares it
// with other programs through the X CLIPBOARD selection; off-screen it stays in this thread.
#include <cstring>
#include <optional>
#include <string>

#include "platform/Controls.h"
#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

std::optional<std::string>& LocalClipboard() {
    thread_local std::optional<std::string> text;
    return text;
}

}  // namespace

BOOL SetClipboardTextA(HWND owner, const char* text) {
    if (text == nullptr || (owner != 0 && GetWnd(owner) == nullptr)) return FALSE;
    LocalClipboard() = std::string(text);
    Backend().SetClipboardText(text);
    return TRUE;
}

int GetClipboardTextA(char* buffer, int size) {
    std::string text;
    if (!Backend().GetClipboardText(&text)) {
        if (!LocalClipboard()) return -1;
        text = *LocalClipboard();
    }
    if (buffer != nullptr && size > 0) {
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int>(text.size());
}

}  // namespace zo::plat
