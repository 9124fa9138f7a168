// The clipboard on a real X server: text copied by the program is read by another X client as
// UTF-8, and text another client owns is pasted into the program, each in a child process with
// its own connection. Run by scripts/x11-test.sh against a private Xvfb server.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

using namespace zo::plat;

constexpr const char* kFromOutside = "pasted \xC3\xBC";  // UTF-8 u-umlaut

// Child: asks for the CLIPBOARD as UTF-8 and writes what came to `fd`.
[[noreturn]] void ReadClipboard(int fd) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) _exit(2);
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clip = XInternAtom(d, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom prop = XInternAtom(d, "CHILD_PROP", False);
    XConvertSelection(d, clip, utf8, prop, w, CurrentTime);
    XEvent ev;
    do {
        XNextEvent(d, &ev);
    } while (ev.type != SelectionNotify);
    std::string out = "(none)";
    if (ev.xselection.property != None) {
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(d, w, prop, 0, 1 << 16, True, AnyPropertyType, &type, &format, &n,
                           &after, &data);
        if (data != nullptr) {
            out.assign(reinterpret_cast<char*>(data), n);
            XFree(data);
        }
    }
    if (write(fd, out.data(), out.size()) < 0) _exit(4);
    _exit(0);
}

// Child: owns the CLIPBOARD with kFromOutside, says so on `ready`, and answers requests until
// the parent closes `stop`.
[[noreturn]] void OwnClipboard(int ready, int stop) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) _exit(2);
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clip = XInternAtom(d, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    XSetSelectionOwner(d, clip, w, CurrentTime);
    XFlush(d);
    if (write(ready, "1", 1) < 0) _exit(4);
    for (;;) {
        pollfd p[2] = {{ConnectionNumber(d), POLLIN, 0}, {stop, POLLIN, 0}};
        if (XPending(d) == 0) poll(p, 2, 2000);
        if (p[1].revents != 0) _exit(0);
        while (XPending(d) > 0) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type != SelectionRequest) continue;
            const XSelectionRequestEvent& r = ev.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = r.requestor;
            reply.selection = r.selection;
            reply.target = r.target;
            reply.time = r.time;
            reply.property = None;
            if (r.target == utf8) {
                XChangeProperty(d, r.requestor, r.property, utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(kFromOutside),
                                static_cast<int>(std::strlen(kFromOutside)));
                reply.property = r.property;
            }
            XSendEvent(d, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
            XFlush(d);
        }
    }
}

bool Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    std::fflush(stdout);
    return ok;
}

}  // namespace

int main() {
    if (!InitDisplayFromEnvironment(0, 0) || CurrentDisplayKind() != DisplayKind::X11) {
        std::printf("FAIL: no X11 display\n");
        return 1;
    }
    bool ok = true;
    const HWND edit = CreateWindowExA(0, WC_EDITA, "copied caf\xE9", WS_POPUP | WS_VISIBLE, 10, 10,
                                      120, 20, 0, 0, 0, nullptr);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_COPY, 0, 0);

    // Another client reads what the edit copied; the program answers from its message loop.
    int pipeOut[2];
    if (pipe(pipeOut) != 0) return 1;
    const pid_t reader = fork();
    if (reader == 0) ReadClipboard(pipeOut[1]);
    close(pipeOut[1]);
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        RunFor(20);
        pollfd p{pipeOut[0], POLLIN, 0};
        if (poll(&p, 1, 0) > 0) {
            char buf[64];
            const ssize_t n = read(pipeOut[0], buf, sizeof buf);
            if (n > 0) got.assign(buf, static_cast<std::size_t>(n));
            break;
        }
    }
    waitpid(reader, nullptr, 0);
    ok &= Check(got == "copied caf\xC3\xA9", "another client pastes the copied text as UTF-8");

    // Text another client owns is pasted into the edit.
    int ready[2];
    int stop[2];
    if (pipe(ready) != 0 || pipe(stop) != 0) return 1;
    const pid_t owner = fork();
    if (owner == 0) {
        close(stop[1]);  // so that the parent's close is the end of the pipe
        OwnClipboard(ready[1], stop[0]);
    }
    close(stop[0]);
    char c;
    if (read(ready[0], &c, 1) != 1) return 1;
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_PASTE, 0, 0);
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    close(stop[1]);
    waitpid(owner, nullptr, 0);
    ok &= Check(std::string(text) == "pasted \xFC", "text owned by another client is pasted");
    ShutdownDisplay();
    return ok ? 0 : 1;
}
