// The "Appearance" page. The mouse-pointer list ends with "16 - Custom", which stands for the
// control's custom pointer (99, the picture in MouseIcon): the platform has no pointer 16, so
// a 16 written through would only be refused.
#include "pages/AppearancePage.h"

#include <array>

namespace zo {

using namespace plat;

namespace {

constexpr int kCustomItem = 16;
constexpr int kCustomPointer = 99;

const std::vector<std::string> kAppearanceItems = {
    "0 - zoFlat",           "1 - zoFlatWithBorder",  "2 - zoClassic3DRaised",
    "3 - zoModern3dRaised", "4 - zoClassic3dSunken", "5 - zoModern3dSunken"};
const std::vector<std::string> kGradientItems = {
    "0-zoGradientNone", "1-zoGradientHorizontal", "2-zoGradientHorizontalCenter",
    "3-zoGradientVertical", "4-zoGradientVerticalCenter"};

struct ListRow {
    const char* label;
    const char* labelText;
    const char* list;
    const char* property;
    const std::vector<std::string>* items;
};

const std::vector<std::string> kControlAppearance = {"0 - zoFlatContorl", "1 - zo3dControl"};
const std::vector<std::string> kBorderStyle = {"0 - zoNone", "1 - zoFixedSingle"};
const std::vector<std::string> kHighlightZone = {"0 - zoZonePictureAndText", "1 - zoZonePicture"};
const std::vector<std::string> kMousePointer = {
    "0 - Default",     "1 - Arrow",           "2 - Crosshair",      "3 - Ibeam",
    "4 - IconPointer", "5 - SizePointer",     "6 - SizeNESW",       "7 - SizeNS",
    "8 - SizeNWSE",    "9 - SizeWE",          "10 - UpArrow",       "11 - Hourglass",
    "12 - NoDrop",     "13 - ArrowHourglass", "14 - ArrowQuestion", "15 - SizeAll",
    "16 - Custom"};
const std::vector<std::string> kShowButtonInfo = {"0 - zoPictureOnly", "1 - zoPictureAndCaption"};

// In the order the page loads and applies them.
const std::array<ListRow, 10> kLists = {{
    {"lblAppearance", "Control &Appearance", "lstAppearance", "Appearance", &kControlAppearance},
    {"lblBorderStyle", "Border S&tyle", "lstBorderStyle", "BorderStyle", &kBorderStyle},
    {"lblButtonAppearance", "&Button Appearance", "lstButtonAppearance", "ButtonAppearance",
     &kAppearanceItems},
    {"lblButtonHighlightZone", "Button Highlight &Zone", "lstButtonHighlightZone",
     "ButtonHighlightZone", &kHighlightZone},
    {"lblGroupAppearance", "&Group Appearance", "lstGroupAppearance", "GroupAppearance",
     &kAppearanceItems},
    {"lblMousePointer", "&Mouse Pointer", "lstMousePointer", "MousePointer", &kMousePointer},
    {"lblSelButtonApp", "&Selected Button Appearance", "lstSelBtnApp", "SelectedButtonAppearance",
     &kAppearanceItems},
    {"lblShowButtonInfo", "Show Button &Info", "lstShowButtonInfo", "ShowButtonInfo",
     &kShowButtonInfo},
    {"lblGroupGradientType", "Group &Gradient Type", "lstGrpGradientType", "GroupGradientType",
     &kGradientItems},
    {"lblButtonGradientType", "B&utton Gradient Type", "lstBtnGradientType", "ButtonGradientType",
     &kGradientItems},
}};

}  // namespace

AppearancePage::AppearancePage() : PageBase("Appearance") {}

void AppearancePage::Create() {
    // Two columns of label-over-list pairs, then the caption and the two check boxes.
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        const ListRow& r = kLists[i];
        const int x = i % 2 == 0 ? 8 : 212;
        const int y = 6 + static_cast<int>(i / 2) * 44;
        AddLabel(r.label, r.labelText, x, y, 196);
        AddList(r.list, *r.items, x, y + 15, 196);
    }
    AddLabel("lblCaption", "&Caption", 8, 232, 60);
    AddEdit("txtCaption", "", 72, 228, 336);
    AddCheck("chkCloseButton", "Show C&lose Button", 8, 262, 196);
    AddCheck("chkShowCaptionBar", "Sho&w Caption Bar", 212, 262, 196);
}

void AppearancePage::OnCommand(std::string_view name, int code) {
    const bool list = name.starts_with("lst") && code == CBN_SELCHANGE;
    const bool check = name.starts_with("chk") && code == BN_CLICKED;
    const bool text = name == "txtCaption" && code == EN_CHANGE;
    if (list || check || text) SetChanged(true);
}

void AppearancePage::SelectionChanged() {
    SetCheckValue(Item("chkCloseButton"), Get("ShowCloseButton").ToBool() ? 1 : 0);
    SetCheckValue(Item("chkShowCaptionBar"), Get("ShowCaptionBar").ToBool() ? 1 : 0);
    for (const ListRow& r : kLists) {
        int value = Get(r.property).ToLong();
        if (r.property == std::string_view("MousePointer") && value == kCustomPointer)
            value = kCustomItem;
        SetListIndex(Item(r.list), value);
    }
    SetText(Item("txtCaption"), Get("Caption").ToText());
}

void AppearancePage::ApplyChanges() {
    Set("ShowCloseButton", CheckValue(Item("chkCloseButton")) == 1);
    Set("ShowCaptionBar", CheckValue(Item("chkShowCaptionBar")) == 1);
    for (const ListRow& r : kLists) {
        int value = ListIndex(Item(r.list));
        if (r.property == std::string_view("MousePointer") && value == kCustomItem)
            value = kCustomPointer;
        Set(r.property, value);
    }
    Set("Caption", Text(Item("txtCaption")));
}

}  // namespace zo
