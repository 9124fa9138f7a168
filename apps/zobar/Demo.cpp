#include "Demo.h"

#include <string>

#include "Icons.h"

namespace zobar {

namespace {

struct Item {
    const char* caption;
    const char* icon;
    const char* tooltip;
};

void AddButtons(const zo::GroupPtr& g, std::initializer_list<Item> items) {
    for (const Item& i : items)
        g->Buttons()->Add(i.caption, MakeIcon(i.icon), i.tooltip,
                          std::string("Opens ") + i.caption);
}

}  // namespace

void BuildDemo(zo::ZoButtonBar& bar) {
    const bool locked = bar.LockRefresh();
    bar.SetLockRefresh(true);
    auto groups = bar.Groups();
    auto start = groups->Item(1);
    start->SetCaption("Shortcuts");
    start->SetTooltipText("Places you visit every day");
    AddButtons(start, {{"Inbox", "mail", "Your new messages"},
                       {"Calendar", "calendar", "Today's appointments"},
                       {"Documents", "folder", "Your documents folder"},
                       {"Favourites", "star", "Things you marked"},
                       {"Reports", "chart", "Monthly figures"}});

    auto docs = groups->Add("Documents", "Files and folders", "docs");
    docs->SetButtonBackgroundPicture(MakeBackgroundTile());
    docs->SetButtonBackgroundLayout(zo::zoPictureTiled);
    AddButtons(docs, {{"Letters", "document", "Letters you wrote"},
                      {"Projects", "folder", "Work in progress"},
                      {"Print queue", "printer", "Waiting to print"}});

    auto tools = groups->Add("Tools", "Everything else", "tools");
    const char* icons[] = {"gear",  "globe",    "bulb", "trash",    "heart", "printer",
                           "chart", "calendar", "star", "document", "mail",  "folder"};
    for (int i = 0; i < 24; ++i)
        tools->Buttons()->Add("Tool " + std::to_string(i + 1), MakeIcon(icons[i % 12]),
                              "Tool number " + std::to_string(i + 1));

    auto web = groups->Add("Internet", "On the web", "web");
    AddButtons(web, {{"Browser", "globe", "Surf the web"}, {"Mail", "mail", "Read mail"}});

    groups->Add("Recycle Bin", "Deleted items", "bin")
        ->Buttons()
        ->Add("Empty bin", MakeIcon("trash"), "Removes everything for good");

    // The classic look of such bars: light captions on the dark button area, headers shaded
    // towards white.
    bar.SetButtonForeColor(static_cast<std::int32_t>(0x80000014u));
    bar.SetSelectedButtonForeColor(static_cast<std::int32_t>(0x80000014u));
    bar.SetSelectedButtonBackColor(0xA0A0A0);
    bar.SetGroupGradientColor(0xFFFFFF);
    bar.SetGroupGradientType(zo::zoGradientVertical);

    bar.SetSelectedButton(start->Buttons()->Item(2));
    bar.SetActiveGroup(start);
    bar.SetLockRefresh(locked);
    bar.Refresh();
}

}  // namespace zobar
