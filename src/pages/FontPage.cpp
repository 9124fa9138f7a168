// The standard font page: face, size and style of the control's Font. Apply gives the control
// a new font object, so the one it held is never changed behind its back.
#include "control/ZoButtonBar.h"
#include "host/StdFont.h"
#include "pages/StandardPages.h"

namespace zo {

using namespace plat;

namespace {
const std::vector<std::string> kFaces = {
    "MS Sans Serif", "Arial", "Courier New", "DejaVu Sans", "Tahoma", "Times New Roman", "Verdana"};
}  // namespace

FontPage::FontPage() : PageBase("Font") {}

void FontPage::Create() {
    AddLabel("lblProperty", "Property:", 8, 12, 80);
    AddLabel("lblPropertyName", "Font", 92, 12, 120);
    AddLabel("lblFace", "&Font:", 8, 40, 80);
    AddList("lstFace", kFaces, 92, 36, 200);
    AddLabel("lblSize", "&Size:", 8, 72, 80);
    AddEdit("txtSize", "", 92, 68, 60);
    AddFrame("fraEffects", "Effects", 8, 102, 284, 76);
    AddCheck("chkBold", "&Bold", 20, 122, 120);
    AddCheck("chkItalic", "&Italic", 150, 122, 120);
    AddCheck("chkUnderline", "&Underline", 20, 150, 120);
    AddCheck("chkStrikethrough", "Stri&keout", 150, 150, 120);
}

void FontPage::SelectionChanged() {
    const auto font = Get("Font").As<StdFont>();
    if (!font) return;
    const HWND faces = Item("lstFace");
    LRESULT at = -1;
    const auto count = SendMessageA(faces, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && at < 0; ++i) {
        char face[128] = {};
        if (SendMessageA(faces, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 127)
            SendMessageA(faces, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(face));
        if (font->Name() == face) at = i;
    }
    // A face the list does not name is added, so the page can show what the control has.
    if (at < 0)
        at = SendMessageA(faces, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->Name().c_str()));
    SetListQuietly(faces, static_cast<int>(at));
    SetText(Item("txtSize"), Variant(font->Size()).ToText());
    SetCheckQuietly(Item("chkBold"), font->Bold() ? 1 : 0);
    SetCheckQuietly(Item("chkItalic"), font->Italic() ? 1 : 0);
    SetCheckQuietly(Item("chkUnderline"), font->Underline() ? 1 : 0);
    SetCheckQuietly(Item("chkStrikethrough"), font->Strikethrough() ? 1 : 0);
    SetChanged(false);
}

void FontPage::OnCommand(std::string_view name, int code) {
    if ((name == "lstFace" && code == CBN_SELCHANGE) || (name == "txtSize" && code == EN_CHANGE) ||
        (name.starts_with("chk") && code == BN_CLICKED))
        SetChanged(true);
}

void FontPage::ApplyChanges() {
    const auto held = Get("Font").As<StdFont>();
    auto font = held ? held->Clone() : std::make_shared<StdFont>();
    const HWND faces = Item("lstFace");
    const auto i = SendMessageA(faces, CB_GETCURSEL, 0, 0);
    if (i >= 0) {
        std::string face(static_cast<std::size_t>(SendMessageA(faces, CB_GETLBTEXTLEN, i, 0)) + 1,
                         '\0');
        SendMessageA(faces, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(face.data()));
        face.resize(face.size() - 1);
        font->SetName(face);
    }
    // A size that is no number is a type mismatch, which the host reports.
    font->SetSize(Variant(Trim(Text(Item("txtSize")))).ToDouble());
    font->SetBold(CheckValue(Item("chkBold")) == 1);
    font->SetItalic(CheckValue(Item("chkItalic")) == 1);
    font->SetUnderline(CheckValue(Item("chkUnderline")) == 1);
    font->SetStrikethrough(CheckValue(Item("chkStrikethrough")) == 1);
    Set("Font", Variant(font));
}

}  // namespace zo
