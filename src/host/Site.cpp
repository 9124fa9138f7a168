#include "host/Site.h"

#include <cstdio>

namespace zo {

DefaultSite::DefaultSite(bool userMode)
    : userMode_(userMode), ambientFont_(std::make_shared<StdFont>()) {}

void DefaultSite::PropertyChanged(std::string_view name) {
    changes_.emplace_back(name);
}

int DefaultSite::MsgBox(std::string_view text, int style, std::string_view title) {
    if (msgBoxHandler) return msgBoxHandler(text, style, title);
    // Without a handler the message must not be lost: it goes to the error stream, and the
    // box counts as dismissed with its first button.
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    return 1;
}

}  // namespace zo
