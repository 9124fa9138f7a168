// The "Position" page. Loading and applying go in one fixed order, so that a width that is no
// number stops Apply after the lists were written, as the control's users know it.
#include "pages/PositionPage.h"

namespace zo {

using namespace plat;

PositionPage::PositionPage() : PageBase("Position") {}

void PositionPage::Create() {
    AddFrame("Frame1", "Button Size", 8, 6, 400, 88);
    AddList("lstButtonSize", {"0 - zoAutoCalculated", "1 - zoUserSpecified"}, 18, 28, 176);
    AddLabel("lblBtnWidth", "Button Width", 214, 32, 84);
    AddEdit("txtBtnWidth", "", 300, 28, 96);
    AddLabel("lblBtnHeight", "Button Height", 214, 62, 84);
    AddEdit("txtBtnHeight", "", 300, 58, 96);

    struct Row {
        const char* label;
        const char* labelText;
        const char* list;
        std::vector<std::string> items;
    };
    const Row rows[] = {
        {"lblButtonFlow", "Button Flow", "lstButtonFlow", {"0 - zoVertical", "1 - zoHorizontal"}},
        {"lblButtonLayout", "Button Layout", "lstButtonLayout", {"0 - zoTiled", "1 - zoLinear"}},
        {"lblButtonTextPosition",
         "Button Text Position",
         "lstButtonTextPosition",
         {"0 - zoLeft", "1 - zoRight", "2 - zoTop", "3 - zoBottom"}},
        {"lblGroupFlow", "Group Flow", "lstGroupFlow", {"0 - zoVertical", "1 - zoHorizontal"}},
    };
    int y = 108;
    for (const Row& r : rows) {
        AddLabel(r.label, r.labelText, 8, y + 4, 140);
        AddList(r.list, r.items, 152, y, 256);
        y += 32;
    }
}

void PositionPage::OnCommand(std::string_view name, int code) {
    const bool list = name.starts_with("lst") && code == CBN_SELCHANGE;
    const bool text = name.starts_with("txt") && code == EN_CHANGE;
    if (list || text) SetChanged(true);
}

void PositionPage::SelectionChanged() {
    SetListIndex(Item("lstButtonFlow"), Get("ButtonFlow").ToLong());
    SetListIndex(Item("lstButtonLayout"), Get("ButtonLayout").ToLong());
    SetListIndex(Item("lstButtonSize"), Get("ButtonSize").ToLong());
    SetListIndex(Item("lstButtonTextPosition"), Get("ButtonTextPosition").ToLong());
    SetListIndex(Item("lstGroupFlow"), Get("GroupFlow").ToLong());
    SetText(Item("txtBtnWidth"), std::to_string(Get("ButtonWidth").ToLong()));
    SetText(Item("txtBtnHeight"), std::to_string(Get("ButtonHeight").ToLong()));
}

void PositionPage::ApplyChanges() {
    Set("ButtonFlow", ListIndex(Item("lstButtonFlow")));
    Set("ButtonLayout", ListIndex(Item("lstButtonLayout")));
    Set("ButtonSize", ListIndex(Item("lstButtonSize")));
    Set("ButtonTextPosition", ListIndex(Item("lstButtonTextPosition")));
    Set("GroupFlow", ListIndex(Item("lstGroupFlow")));
    // Converted as the dispatch runtime converts text to a Long: "abc" is a type mismatch.
    Set("ButtonWidth", Variant(Text(Item("txtBtnWidth"))).ToLong());
    Set("ButtonHeight", Variant(Text(Item("txtBtnHeight"))).ToLong());
}

}  // namespace zo
