// zobar render: draws a design off-screen into a PNG file.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Commands.h"
#include "Demo.h"
#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "persist/DesignLoad.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zobar {

namespace {

struct RenderOptions {
    std::string design;
    std::string output;
    int width = 240;
    int height = 480;
    std::vector<std::pair<std::string, std::string>> sets;
    int active = 0;
    int selectGroup = 0, selectButton = 0;
    int hoverGroup = 0, hoverButton = 0;
    bool designMode = false;
    bool noMsImg32 = false;
};

void ParsePair(const std::string& arg, const std::string& text, int& a, int& b) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) throw UsageError{arg + ": '" + text + "' is not G,B"};
    a = ToInt(arg, text.substr(0, comma));
    b = ToInt(arg, text.substr(comma + 1));
}

RenderOptions Parse(const std::vector<std::string>& args) {
    RenderOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + ": a value is missing"};
            return args[++i];
        };
        if (a == "-o" || a == "--output") {
            o.output = value();
        } else if (a == "--size") {
            ParseSize(a, value(), o.width, o.height);
        } else if (a == "--set") {
            const std::string v = value();
            const auto eq = v.find('=');
            if (eq == std::string::npos || eq == 0)
                throw UsageError{"--set: '" + v + "' is not Name=Value"};
            o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
        } else if (a == "--active") {
            o.active = ToInt(a, value());
        } else if (a == "--select") {
            ParsePair(a, value(), o.selectGroup, o.selectButton);
        } else if (a == "--hover") {
            ParsePair(a, value(), o.hoverGroup, o.hoverButton);
        } else if (a == "--design-mode") {
            o.designMode = true;
        } else if (a == "--no-msimg32") {
            o.noMsImg32 = true;
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{a + ": unknown option"};
        } else if (o.design.empty()) {
            o.design = a;
        } else {
            throw UsageError{a + ": only one design can be rendered"};
        }
    }
    if (o.output.empty()) throw UsageError{"-o: the output file is missing"};
    return o;
}

zo::ButtonPtr ButtonAt(zo::ZoButtonBar& bar, const std::string& arg, int g, int b) {
    try {
        return bar.Groups()->Item(g)->Buttons()->Item(b);
    } catch (const zo::Error&) {
        throw UsageError{arg + ": there is no button " + std::to_string(b) + " in group " +
                         std::to_string(g)};
    }
}

}  // namespace

int ToInt(const std::string& arg, const std::string& text) {
    const auto n = zo::ParseNumber(text);
    if (!n || *n != static_cast<int>(*n) || *n < 0)
        throw UsageError{arg + ": '" + text + "' is not a whole number"};
    return static_cast<int>(*n);
}

void ParseSize(const std::string& arg, const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) throw UsageError{arg + ": '" + text + "' is not WxH"};
    width = ToInt(arg, text.substr(0, x));
    height = ToInt(arg, text.substr(x + 1));
    if (width < 1 || height < 1 || width > 8192 || height > 8192)
        throw UsageError{arg + ": '" + text + "' is outside 1x1 .. 8192x8192"};
}

int RunRender(const std::vector<std::string>& args) {
    if (PrintedHelp("render", args)) return kExitOk;
    try {
        const RenderOptions o = Parse(args);
        if (!o.design.empty() && !std::filesystem::exists(o.design))
            throw UsageError{o.design + ": no such file"};
        zo::plat::InitDisplay(zo::plat::DisplayKind::Offscreen, o.width + 16, o.height + 16);
        zo::plat::SetMsImg32Available(!o.noMsImg32);
        zo::DefaultSite site(!o.designMode);
        std::shared_ptr<zo::ZoButtonBar> bar;
        if (o.design.empty()) {
            bar = zo::ZoButtonBar::Create(site, 0, 0, 0, o.width, o.height);
            bar->InitProperties();
            BuildDemo(*bar);
        } else {
            try {
                bar = zo::LoadDesign(site, o.design, {0, 0, 0, o.width, o.height, nullptr});
            } catch (const zo::DesignError& e) {
                std::fprintf(stderr, "zobar render: %s\n", e.what());
                return kExitFailed;
            }
        }
        for (const auto& [name, text] : o.sets) {
            const zo::DispatchMember* m = zo::FindDispatchMember(name);
            if (m == nullptr || !m->set)
                throw UsageError{"--set: '" + name + "' is not a property that can be set"};
            try {
                bar->SetProperty(name, ParseValue(*m, text));
            } catch (const zo::Error& e) {
                throw UsageError{"--set " + name + "=" + text + ": " + e.Description()};
            }
        }
        if (o.active > 0) {
            try {
                bar->SetActiveGroup(bar->Groups()->Item(o.active));
            } catch (const zo::Error& e) {
                throw UsageError{"--active " + std::to_string(o.active) + ": " + e.Description()};
            }
        }
        if (o.selectGroup > 0)
            bar->SetSelectedButton(ButtonAt(*bar, "--select", o.selectGroup, o.selectButton));
        if (o.hoverGroup > 0) {
            const zo::ButtonPtr hot = ButtonAt(*bar, "--hover", o.hoverGroup, o.hoverButton);
            if (hot->ParentGroup() != bar->ActiveGroup()) bar->SetActiveGroup(hot->ParentGroup());
            bar->m_aHighlightedButton = hot;
            bar->Refresh();
        }
        zo::plat::PumpMessages();
        if (!zo::plat::SnapshotWindow(bar->hwnd(), o.output.c_str())) {
            std::fprintf(stderr, "zobar render: cannot write '%s'\n", o.output.c_str());
            return kExitFailed;
        }
        return kExitOk;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "zobar render: %s\n", e.message.c_str());
        return kExitUsage;
    } catch (const zo::Error& e) {
        std::fprintf(stderr, "zobar render: %s\n", e.Description().c_str());
        return kExitFailed;
    }
}

}  // namespace zobar
