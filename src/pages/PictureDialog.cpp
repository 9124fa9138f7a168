// The pages' picture chooser: the platform's open-file dialog with the pictures filter, filled
// in as the 32-bit record is, with fixed-size name buffers.
#include "pages/PageBase.h"
#include "platform/Dialogs.h"

namespace zo {

using namespace plat;

std::string PageBase::TrimNull(const std::string& s) {
    const auto p = s.find('\0');
    return p == std::string::npos ? s : s.substr(0, p);
}

std::string PageBase::BrowseForPicture(HWND owner) {
    static constexpr char kFilter[] =
        "Pictures(*.bmp,*.ico)\0*.bmp;*.ico\0All Files (*.*)\0*.*\0\0";
    std::string file(255, '\0');
    std::string title(255, '\0');
    OPENFILENAMEA ofn;
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.hInstance = 0;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = 254;
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = 254;
    ofn.lpstrTitle = "Select Button Picture";
    ofn.Flags = OFN_FILEMUSTEXIST;
    if (GetOpenFileNameA(&ofn) == 0) return "(None)";
    return TrimNull(file);
}

}  // namespace zo
