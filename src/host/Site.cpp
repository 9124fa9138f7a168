#include "host/Site.h"

#include <cstdio>
#include <string>

#include "platform/Display.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace zo {

DefaultSite::DefaultSite(bool userMode)
    : userMode_(userMode), ambientFont_(std::make_shared<StdFont>()) {}

void DefaultSite::PropertyChanged(std::string_view name) {
    changes_.emplace_back(name);
}

int DefaultSite::MsgBox(std::string_view text, int style, std::string_view title) {
    if (msgBoxHandler) return msgBoxHandler(text, style, title);
    // On a screen somebody looks at, the platform's modal box asks the user.
    if (plat::CurrentDisplayKind() == plat::DisplayKind::X11) {
        const std::string t = plat::Utf8ToAnsi(text), c = plat::Utf8ToAnsi(title);
        const int answer =
            plat::MessageBoxA(0, t.c_str(), c.c_str(), static_cast<plat::UINT>(style));
        if (answer != 0) return answer;
    }
    // Off-screen nobody would see a box: the message goes to the error stream instead, so it
    // is not lost, and the box counts as dismissed with its first button.
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    return 1;
}

}  // namespace zo
