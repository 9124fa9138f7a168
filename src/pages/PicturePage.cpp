// The standard picture page: the control's MouseIcon, chosen with the open-file dialog or
// cleared, written on Apply.
#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "pages/StandardPages.h"
#include "platform/Dialogs.h"
#include "platform/Image.h"

namespace zo {

using namespace plat;

PicturePage::PicturePage() : PageBase("Picture") {}

void PicturePage::Create() {
    AddLabel("lblProperties", "&Properties:", 8, 8, 180);
    const HWND list = AddListBox("lstProperties", {"MouseIcon"}, 8, 24, 184, 120);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    AddLabel("lblPreview", "Preview:", 200, 8, 100);
    AddPictureBox("picPreview", 200, 24, 96, 96);
    AddButton("btnBrowse", "&Browse...", 312, 24, 96);
    AddButton("btnClear", "&Clear", 312, 54, 96);
}

void PicturePage::SelectionChanged() {
    SetBoxPicture(Item("picPreview"), Get("MouseIcon").As<Picture>());
    SetChanged(false);
}

void PicturePage::OnCommand(std::string_view name, int code) {
    if (code != BN_CLICKED) return;
    if (name == "btnClear") {
        SetBoxPicture(Item("picPreview"), nullptr);
        SetChanged(true);
    } else if (name == "btnBrowse") {
        const std::string path = BrowseForPicture(Item("btnBrowse"));
        if (path == "(None)") return;
        try {
            SetBoxPicture(Item("picPreview"), LoadPicture(path));
            SetChanged(true);
        } catch (const Error&) {
            // Not a picture: the page keeps what it showed.
        }
    }
}

void PicturePage::ApplyChanges() {
    const PicturePtr p = BoxPicture(Item("picPreview"));
    Set("MouseIcon", Variant(p->Type() == 0 ? PicturePtr() : p));
}

}  // namespace zo
