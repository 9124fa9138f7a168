// The "Buttons" page. The current button is the one at the index scroll bar's value; the text
// boxes show it and double as the fields of a button to add. Field edits wait for Apply, while
// Add, Delete and choosing a picture act on the control at once.
#include "pages/ButtonsPage.h"

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "model/CButton.h"
#include "model/CButtons.h"
#include "model/CGroup.h"
#include "platform/Image.h"

namespace zo {

using namespace plat;

namespace {
constexpr int vbOKOnly = 0;
constexpr int vbCritical = 16;
constexpr UINT kVkBack = 0x08;
constexpr UINT kVkDelete = 0x2E;
}  // namespace

ButtonsPage::ButtonsPage(ControlSite& site) : PageBase("Buttons"), site_(site) {}

void ButtonsPage::Create() {
    // Each label comes just before its box, so that its access key lands there.
    AddLabel("lblActiveGrpInfo", "", 8, 8, 400);
    AddLabel("Label1(1)", "&Index", 8, 34, 60);
    AddEdit("txtButtonIndex", "", 72, 30, 44);
    AddLabel("lblButtonCount", "", 120, 34, 56);
    AddScroll("scrButtonIndex", 180, 31, 228);
    AddLabel("Label1(4)", "&Caption", 8, 64, 60);
    AddEdit("txtBtnCaption", "", 72, 60, 336);
    AddLabel("Label1(5)", "&Key", 8, 94, 60);
    AddEdit("txtBtnKey", "", 72, 90, 132);
    AddLabel("Label1(6)", "&Tooltip", 214, 94, 62);
    AddEdit("txtBtnTooltip", "", 280, 90, 128);
    AddLabel("Label1(3)", "&Prompt", 8, 124, 60);
    AddEdit("txtPrompt", "", 72, 120, 336);
    AddLabel("Label1(2)", "Ta&g", 8, 154, 60);
    AddEdit("txtTag", "", 72, 150, 132);
    AddLabel("lblNewIndex", "&New Index", 214, 154, 62);
    AddEdit("txtNewIndex", "", 280, 150, 60);
    AddLabel("Label1(0)", "Button Pict&ure", 8, 186, 60, 28);
    AddEdit("txtPicture", "(None)", 72, 184, 100);
    AddButton("btnAddPicture", "...", 176, 183, 28, 22);
    AddPictureBox("picButton", 216, 184, 56, 56);
    // The array's text-less label sits under the picture label, where nothing else is.
    AddLabel("Label1(7)", "", 8, 218, 60);
    AddCheck("chkVisible", "&Visible", 288, 186, 100);
    AddButton("btnAddButton", "&Add", 248, 264, 76);
    AddButton("btnDelButton", "&Delete", 332, 264, 76);
}

std::shared_ptr<CGroup> ButtonsPage::ActiveGroup() const {
    return Get("ActiveGroup").As<CGroup>();
}

std::shared_ptr<CButton> ButtonsPage::GetButton(int nIndex) const {
    try {
        const auto g = ActiveGroup();
        if (!g) return nullptr;
        const auto& buttons = g->Buttons();
        if (nIndex < 1 || nIndex > buttons->Count()) return nullptr;
        return buttons->Item(nIndex);
    } catch (const Error&) {
        return nullptr;
    }
}

void ButtonsPage::SelectionChanged() {
    InitPage();
}

// Opens on the last button of the active group; with no group, on nothing.
void ButtonsPage::InitPage() {
    int n = 0;
    std::string caption;
    try {
        if (const auto g = ActiveGroup()) {
            n = g->Buttons()->Count();
            caption = g->Caption();
        }
    } catch (const Error&) {
    }
    ClearFields();
    SetText(Item("lblActiveGrpInfo"), "Buttons of '" + caption + "' group");
    SetButtonCount(n);
    ShowButton();
}

void ButtonsPage::SetButtonCount(int nCount) {
    const HWND scr = Item("scrButtonIndex");
    EnableWindow(scr, nCount > 0);
    SetScrollMax(scr, nCount);
    SetScrollMin(scr, nCount > 0 ? 1 : 0);
    SetScrollValue(scr, nCount);
    SetText(Item("lblButtonCount"), " of " + std::to_string(ScrollMax(scr)));
    UpdateWindow(Item("lblButtonCount"));
}

void ButtonsPage::ShowButton() {
    const auto b = GetButton(ScrollValue(Item("scrButtonIndex")));
    if (!b) {
        EnableWindow(Item("btnDelButton"), FALSE);
    } else {
        SetText(Item("txtNewIndex"), "");
        SetText(Item("txtBtnCaption"), b->Caption());
        SetText(Item("txtBtnKey"), b->Key());
        SetText(Item("txtBtnTooltip"), b->TooltipText());
        SetText(Item("txtPrompt"), b->Prompt());
        SetCheckQuietly(Item("chkVisible"), b->Visible() ? 1 : 0);
        try {
            SetText(Item("txtTag"), b->Tag().ToText());
        } catch (const Error&) {
            // An object in the Tag has no text; the box keeps what it shows.
        }
        SetBoxPicture(Item("picButton"), b->Picture());
        SetText(Item("txtPicture"),
                BoxPicture(Item("picButton"))->Type() == 0 ? "(None)" : "(Picture)");
        EnableWindow(Item("btnDelButton"), TRUE);
    }
    UpdateWindow(Item("picButton"));
    SetChanged(false);
}

void ButtonsPage::ClearFields() {
    for (const char* box : {"txtBtnCaption", "txtBtnKey", "txtBtnTooltip", "txtPrompt", "txtTag"})
        SetText(Item(box), "");
    SetText(Item("txtPicture"), "(None)");
    SetBoxPicture(Item("picButton"), nullptr);
    UpdateWindow(Item("picButton"));
}

void ButtonsPage::OnScrollChange(std::string_view name) {
    if (name != "scrButtonIndex") return;
    SetText(Item("txtButtonIndex"), std::to_string(ScrollValue(Item("scrButtonIndex"))));
    ShowButton();
}

void ButtonsPage::OnScrollDrag(std::string_view name) {
    if (name == "scrButtonIndex")
        SetText(Item("txtButtonIndex"), std::to_string(ScrollValue(Item("scrButtonIndex"))));
}

bool ButtonsPage::OnKeyFilter(std::string_view name, bool isChar, unsigned& key) {
    if (name == "txtButtonIndex" && isChar) return key >= '0' && key <= '9';
    if (name == "txtPicture") {
        if (!isChar && (key == kVkBack || key == kVkDelete)) {
            SetBoxPicture(Item("picButton"), nullptr);
            UpdateWindow(Item("picButton"));
            SetText(Item("txtPicture"), "(None)");
            SetChanged(false);
        }
        // The box only shows what the picture box holds: no key edits it.
        key = 0;
        return false;
    }
    return true;
}

void ButtonsPage::IndexTyped() {
    const HWND scr = Item("scrButtonIndex");
    try {
        const int k = Variant(Text(Item("txtButtonIndex"))).ToInteger();
        if (k < ScrollMin(scr) || k > ScrollMax(scr)) {
            site_.MsgBox("Invalid Index value", vbCritical, kLibraryName);
            return;
        }
        SetScrollValue(scr, k);
    } catch (const Error& e) {
        site_.MsgBox(e.Description(), vbCritical, e.Source());
    }
}

void ButtonsPage::OnCommand(std::string_view name, int code) {
    if (code == EN_CHANGE) {
        if (name == "txtButtonIndex") {
            IndexTyped();
        } else if (name == "txtNewIndex") {
            SetChanged(true);
        } else if (name == "txtBtnCaption" || name == "txtBtnKey" || name == "txtBtnTooltip" ||
                   name == "txtPrompt" || name == "txtTag") {
            if (ScrollMax(Item("scrButtonIndex")) >= 1) SetChanged(true);
        }
        return;
    }
    if (code != BN_CLICKED) return;
    if (name == "chkVisible") SetChanged(true);
    if (name == "btnAddPicture") AddPictureClicked();
    if (name == "btnAddButton") AddClicked();
    if (name == "btnDelButton") DeleteClicked();
}

void ButtonsPage::AddPictureClicked() {
    const std::string path = BrowseForPicture(Item("btnAddPicture"));
    if (path == "(None)") return;
    try {
        const HWND box = Item("picButton");
        SetBoxPicture(box, LoadPicture(path));
        if (BoxPicture(box)->Type() != 0) {
            SetText(Item("txtPicture"), "(Picture)");
            if (ScrollMax(Item("scrButtonIndex")) >= 1) SetChanged(true);
        } else {
            SetChanged(false);
        }
        UpdateWindow(box);
    } catch (const Error&) {
        // A file that is no readable picture: the box keeps what it had.
    }
}

void ButtonsPage::AddClicked() {
    const PicturePtr picture = BoxPicture(Item("picButton"));
    if (picture->Type() == 0) {
        site_.MsgBox("Please select an image for the new button", vbOKOnly, kLibraryName);
        return;
    }
    try {
        const std::string caption = Trim(Text(Item("txtBtnCaption")));
        const std::string tooltip = Trim(Text(Item("txtBtnTooltip")));
        const std::string key = Trim(Text(Item("txtBtnKey")));
        const std::string prompt = Trim(Text(Item("txtPrompt")));
        const std::string tag = Trim(Text(Item("txtTag")));
        const auto g = ActiveGroup();
        if (!g) RaiseRuntimeError(91);
        if (const auto b = g->Buttons()->Add(caption, picture, tooltip, prompt, key)) {
            b->SetTag(tag);
            InitPage();
        }
        SetChanged(false);
    } catch (const Error& e) {
        site_.MsgBox(e.Description(), vbCritical, e.Source());
    }
}

void ButtonsPage::DeleteClicked() {
    try {
        const int i = ScrollValue(Item("scrButtonIndex"));
        const auto g = ActiveGroup();
        if (g && i >= 1 && i <= g->Buttons()->Count()) g->Buttons()->Remove(i);
        ClearFields();
        SetChanged(true);
        InitPage();
        // The index box reads "0" afterwards; with buttons left that index is refused.
        SetText(Item("txtButtonIndex"), "0");
    } catch (const Error&) {
    }
}

void ButtonsPage::ApplyChanges() {
    const auto g = ActiveGroup();
    const int i = ScrollValue(Item("scrButtonIndex"));
    const auto b = GetButton(i);
    if (!g || !b) return;
    b->SetKey(Trim(Text(Item("txtBtnKey"))));
    b->SetCaption(Trim(Text(Item("txtBtnCaption"))));
    b->SetPicture(BoxPicture(Item("picButton")));
    b->SetPrompt(Trim(Text(Item("txtPrompt"))));
    b->SetTooltipText(Trim(Text(Item("txtBtnTooltip"))));
    b->SetVisible(CheckValue(Item("chkVisible")) != 0);
    try {
        b->SetTag(Trim(Text(Item("txtTag"))));
    } catch (const Error&) {
    }
    const std::string newIndex = Trim(Text(Item("txtNewIndex")));
    if (newIndex.empty()) return;
    if (!IsNumeric(Variant(newIndex))) {
        site_.MsgBox("Invalid Index.", vbOKOnly, kLibraryName);
        return;
    }
    const std::int32_t k = Variant(newIndex).ToLong();
    if (k == i) return;
    if (k >= 1 && k <= g->Buttons()->Count()) {
        g->Buttons()->SetNewIndex(b, k);
        SetScrollValue(Item("scrButtonIndex"), k);
    } else {
        site_.MsgBox("Invalid Index.", vbOKOnly, kLibraryName);
    }
}

}  // namespace zo
