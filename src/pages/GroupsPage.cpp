// The "Groups" page. Unlike the Buttons page the group shown is always the control's active
// group, so Apply writes to whatever group the scroll bar last activated.
#include "pages/GroupsPage.h"

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "model/CGroup.h"
#include "model/CGroups.h"
#include "platform/Image.h"

namespace zo {

using namespace plat;

namespace {
constexpr int vbOKOnly = 0;
constexpr int vbCritical = 16;
constexpr UINT kVkBack = 0x08;
constexpr UINT kVkDelete = 0x2E;
}  // namespace

GroupsPage::GroupsPage(ControlSite& site) : PageBase("Groups"), site_(site) {}

void GroupsPage::Create() {
    // Each label comes just before its box, so that its access key lands there.
    AddLabel("Label1(9)", "Acive Group", 8, 8, 200);
    AddLabel("Label1(4)", "&Index", 8, 34, 60);
    AddEdit("txtGroupIndex", "", 72, 30, 44);
    AddLabel("lblGroupCount", "", 120, 34, 56);
    AddScroll("scrGroupIndex", 180, 31, 228);
    AddLabel("Label1(8)", "&Caption", 8, 64, 60);
    AddEdit("txtGrpCaption", "", 72, 60, 336);
    AddLabel("Label1(7)", "&Key", 8, 94, 60);
    AddEdit("txtGrpKey", "", 72, 90, 132);
    AddLabel("Label1(6)", "&Tooltip", 214, 94, 62);
    AddEdit("txtGrpToolTip", "", 280, 90, 128);
    AddLabel("Label1(5)", "Ta&g", 8, 124, 60);
    AddEdit("txtTag", "", 72, 120, 132);
    AddLabel("lblNewIndex", "&New Index", 214, 124, 62);
    AddEdit("txtNewIndex", "", 280, 120, 60);
    AddCheck("chkVisible", "&Visible", 72, 150, 100);
    AddLabel("Label1(0)", "Button Background Picture", 8, 180, 200);
    AddLabel("Label1(2)", "&Picture", 8, 204, 60);
    AddEdit("txtPicture", "none", 72, 200, 100);
    AddButton("btnAddPicture", "...", 176, 199, 28, 22);
    AddPictureBox("picBtnBgPicture", 216, 200, 56, 56);
    AddLabel("Label1(1)", "&Layout", 8, 234, 60);
    AddList("lstBtnBgLayout", {"zoPictureCentered", "zoPictureStretched", "zoPictureTiled"}, 72,
            230, 132);
    // The array's text-less label sits below the layout list, where nothing else is.
    AddLabel("Label1(3)", "", 8, 258, 60);
    AddButton("btnAddGroup", "&Add", 248, 264, 76);
    AddButton("btnDelGroup", "&Delete", 332, 264, 76);
}

std::shared_ptr<CGroup> GroupsPage::GetActiveGroup() const {
    return Get("ActiveGroup").As<CGroup>();
}

int GroupsPage::GetActiveGroupIndex() const {
    const auto groups = Get("Groups").As<CGroups>();
    const auto active = GetActiveGroup();
    int result = -1;
    for (int i = 1; groups && i <= groups->Count(); ++i)
        if (groups->Item(i) == active) result = i;
    return result;
}

bool GroupsPage::IsOtherGroupVisible() const {
    const auto groups = Get("Groups").As<CGroups>();
    const auto active = GetActiveGroup();
    if (!groups) return false;
    for (const auto& g : *groups)
        if (g != active && g->Visible()) return true;
    return false;
}

void GroupsPage::SelectionChanged() {
    InitPage();
}

void GroupsPage::InitPage() {
    ShowGroup(GetActiveGroup());
    const auto groups = Get("Groups").As<CGroups>();
    const int n = groups ? groups->Count() : 0;
    SetGroupCount(n, GetActiveGroupIndex());
    EnableWindow(Item("btnDelGroup"), n >= 2);
}

void GroupsPage::SetGroupCount(int nCount, int nValue) {
    const HWND scr = Item("scrGroupIndex");
    SetScrollMin(scr, 1);
    SetScrollMax(scr, nCount);
    SetScrollValue(scr, nValue);
    SetText(Item("lblGroupCount"), "of " + std::to_string(nCount));
    UpdateWindow(Item("lblGroupCount"));
}

void GroupsPage::ShowGroup(const std::shared_ptr<CGroup>& g) {
    if (!g) RaiseRuntimeError(91);
    SetText(Item("txtNewIndex"), "");
    // These three run their Change handlers: a group whose texts differ marks the page changed.
    SetText(Item("txtGrpCaption"), g->Caption());
    SetText(Item("txtGrpKey"), g->Key());
    SetText(Item("txtGrpToolTip"), g->TooltipText());
    SetText(Item("txtTag"), g->Tag().ToText());
    const PicturePtr& picture = g->ButtonBackgroundPicture();
    const HWND box = Item("picBtnBgPicture");
    if (!picture || picture->Type() == 0) {
        SetBoxPicture(box, nullptr);
        SetText(Item("txtPicture"), "(None)");
    } else {
        SetBoxPicture(box, picture);
        SetText(Item("txtPicture"), "(Picture)");
    }
    SetListQuietly(Item("lstBtnBgLayout"), g->ButtonBackgroundLayout());
    SetCheckQuietly(Item("chkVisible"), g->Visible() ? 1 : 0);
    UpdateWindow(box);
}

void GroupsPage::OnScrollChange(std::string_view name) {
    if (name != "scrGroupIndex") return;
    const HWND scr = Item("scrGroupIndex");
    try {
        const int v = ScrollValue(scr);
        SetText(Item("txtGroupIndex"), std::to_string(v));
        const auto g = Get("Groups").As<CGroups>()->Item(v);
        Set("ActiveGroup", Variant(g));
        ShowGroup(g);
        SetScrollValue(scr, v);
    } catch (const Error& e) {
        site_.MsgBox(e.Description(), vbCritical, e.Source());
    }
}

void GroupsPage::IndexTyped() {
    const HWND scr = Item("scrGroupIndex");
    try {
        const int k = Variant(Text(Item("txtGroupIndex"))).ToInteger();
        if (k < ScrollMin(scr) || k > ScrollMax(scr)) {
            site_.MsgBox("Invalid Index value", vbCritical, kLibraryName);
            return;
        }
        SetScrollValue(scr, k);
    } catch (const Error& e) {
        site_.MsgBox(e.Description(), vbCritical, e.Source());
    }
}

bool GroupsPage::OnKeyFilter(std::string_view name, bool isChar, unsigned& key) {
    if (name == "txtGroupIndex" && isChar) return key >= '0' && key <= '9';
    if (name == "txtPicture" && !isChar && (key == kVkBack || key == kVkDelete)) {
        const HWND box = Item("picBtnBgPicture");
        if (BoxPicture(box)->Type() == 0) return true;
        SetBoxPicture(box, nullptr);
        UpdateWindow(box);
        SetText(Item("txtPicture"), "(None)");
        key = 0;
        SetChanged(true);
        return false;
    }
    return true;
}

void GroupsPage::OnCommand(std::string_view name, int code) {
    if (code == EN_CHANGE) {
        if (name == "txtGroupIndex") {
            IndexTyped();
        } else if (name == "txtGrpCaption" || name == "txtGrpKey" || name == "txtGrpToolTip") {
            EnableWindow(Item("btnAddGroup"), TRUE);
            SetChanged(true);
        } else if (name == "txtNewIndex") {
            SetChanged(true);
        }
        return;
    }
    if (name == "lstBtnBgLayout" && code == CBN_SELCHANGE) SetChanged(true);
    if (code != BN_CLICKED) return;
    if (name == "chkVisible") VisibleClicked();
    if (name == "btnAddPicture") AddPictureClicked();
    if (name == "btnAddGroup") AddClicked();
    if (name == "btnDelGroup") DeleteClicked();
}

void GroupsPage::VisibleClicked() {
    if (CheckValue(Item("chkVisible")) == 1 || IsOtherGroupVisible()) {
        SetChanged(true);
        return;
    }
    SetCheckQuietly(Item("chkVisible"), 1);
    site_.MsgBox("Atleast one group must be visible.", vbOKOnly, kLibraryName);
}

void GroupsPage::AddPictureClicked() {
    const std::string path = BrowseForPicture(Item("btnAddPicture"));
    if (path == "(None)") return;
    try {
        const HWND box = Item("picBtnBgPicture");
        SetBoxPicture(box, LoadPicture(path));
        UpdateWindow(box);
        SetText(Item("txtPicture"), "(Picture)");
        SetChanged(true);
    } catch (const Error&) {
        // A file that is no readable picture: the box keeps what it had.
    }
}

void GroupsPage::AddClicked() {
    try {
        const std::string caption = Trim(Text(Item("txtGrpCaption")));
        const std::string tooltip = Trim(Text(Item("txtGrpToolTip")));
        const std::string key = Trim(Text(Item("txtGrpKey")));
        const auto g = Get("Groups").As<CGroups>()->Add(caption, tooltip, key);
        if (!g) return;
        g->SetButtonBackgroundLayout(ListIndex(Item("lstBtnBgLayout")));
        g->SetVisible(CheckValue(Item("chkVisible")) != 0);
        g->SetTag(Text(Item("txtTag")));
        // Only what a group can draw behind its buttons; a metafile stays on the page.
        const PicturePtr picture = BoxPicture(Item("picBtnBgPicture"));
        if (picture->Type() == 1 || picture->Type() == 3) g->SetButtonBackgroundPicture(picture);
        Set("ActiveGroup", Variant(g));
        InitPage();
        SetChanged(false);
    } catch (const Error& e) {
        site_.MsgBox(e.Description(), vbCritical, e.Source());
    }
}

void GroupsPage::DeleteClicked() {
    try {
        const int i = ScrollValue(Item("scrGroupIndex"));
        const auto groups = Get("Groups").As<CGroups>();
        if (groups && i >= 1 && i <= groups->Count()) {
            groups->Remove(i);
            InitPage();
        }
    } catch (const Error&) {
    }
}

void GroupsPage::ApplyChanges() {
    const auto g = GetActiveGroup();
    if (!g) RaiseRuntimeError(91);
    g->SetKey(Trim(Text(Item("txtGrpKey"))));
    g->SetCaption(Trim(Text(Item("txtGrpCaption"))));
    g->SetTooltipText(Trim(Text(Item("txtGrpToolTip"))));
    g->SetButtonBackgroundLayout(ListIndex(Item("lstBtnBgLayout")));
    g->SetVisible(CheckValue(Item("chkVisible")) != 0);
    try {
        g->SetTag(Trim(Text(Item("txtTag"))));
    } catch (const Error&) {
    }
    const HWND box = Item("picBtnBgPicture");
    if (BoxPicture(box)->Type() == 0) {
        g->SetButtonBackgroundPicture(nullptr);
    } else {
        if (Text(Item("txtPicture")).empty()) {
            SetBoxPicture(box, nullptr);
            UpdateWindow(box);
        }
        const PicturePtr held = BoxPicture(box);
        g->SetButtonBackgroundPicture(held->Type() == 0 ? nullptr : held);
    }
    const std::string newIndex = Trim(Text(Item("txtNewIndex")));
    if (!newIndex.empty()) {
        const auto groups = Get("Groups").As<CGroups>();
        const int current = ScrollValue(Item("scrGroupIndex"));
        if (!IsNumeric(Variant(newIndex))) {
            site_.MsgBox("Invalid Index.", vbOKOnly, kLibraryName);
        } else if (const std::int32_t k = Variant(newIndex).ToLong(); k != current) {
            if (k >= 1 && k <= groups->Count()) {
                groups->SetNewIndex(g, k);
                SetScrollValue(Item("scrGroupIndex"), k);
            } else {
                site_.MsgBox("Invalid Index.", vbOKOnly, kLibraryName);
            }
        }
    }
    Bar()->Invoke("Refresh");
    EnableWindow(Item("btnAddGroup"), FALSE);
}

}  // namespace zo
