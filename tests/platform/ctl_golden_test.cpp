// Reference images of the dialog controls in their states (each scene built with real controls
// in a dialog; the screen under the dialog, so a dropped list shows too), of the tab control and
// the list box, the property-sheet frame and the open-file dialog, compared exactly with
// tests/golden/controls|dialogs/<name>.png. After an intended change in drawing:
//     ZO_UPDATE_GOLDEN=1 build/default/tests/test_platform --gtest_filter='*Golden*'
#include <filesystem>
#include <fstream>

#include "ctl_support.h"
#include "dialog_scenes.h"

namespace zo::plat::test {
namespace {

struct Scene {
    const char* name;
    std::function<void(ControlTest&)> build;
};
void PrintTo(const Scene& s, std::ostream* os) {
    *os << s.name;
}

class ControlGolden : public ControlTest, public ::testing::WithParamInterface<Scene> {};

constexpr DWORD kTab = WS_TABSTOP;

void Buttons(ControlTest& g) {
    g.Make(WC_BUTTONA, "", "Normal", kTab, {10, 10, 85, 33});
    g.Make(WC_BUTTONA, "", "Default", kTab | BS_DEFPUSHBUTTON, {95, 10, 170, 33});
    SendMessageA(g.Make(WC_BUTTONA, "", "Pushed", kTab, {180, 10, 255, 33}), BM_SETSTATE, TRUE, 0);
    EnableWindow(g.Make(WC_BUTTONA, "", "&Disabled", kTab, {10, 45, 85, 68}), FALSE);
    const HWND focused = g.Make(WC_BUTTONA, "", "&Focused", kTab, {95, 45, 170, 68});
    g.Make(WC_BUTTONA, "", "Frame &caption", BS_GROUPBOX, {10, 80, 150, 150});
    EnableWindow(g.Make(WC_BUTTONA, "", "Disabled frame", BS_GROUPBOX, {160, 80, 290, 150}), FALSE);
    g.Make(WC_STATICA, "", "Inside", 0, {20, 105, 100, 120});
    SetFocus(focused);
}

void Checks(ControlTest& g) {
    const DWORD style = kTab | BS_AUTOCHECKBOX;
    g.Make(WC_BUTTONA, "", "Unchecked", style, {10, 10, 140, 27});
    const HWND on = g.Make(WC_BUTTONA, "", "Checked", style, {10, 35, 140, 52});
    const HWND focused = g.Make(WC_BUTTONA, "", "Sho&w Caption Bar", style, {10, 60, 160, 77});
    const HWND off = g.Make(WC_BUTTONA, "", "Disabled, checked", style, {10, 85, 160, 102});
    SendMessageA(g.Make(WC_BUTTONA, "", "Pushed", style, {10, 110, 140, 127}), BM_SETSTATE, TRUE,
                 0);
    for (HWND h : {on, focused, off})
        SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(off, FALSE);
    SetFocus(focused);
}

void Edits(ControlTest& g) {
    const DWORD ex = WS_EX_CLIENTEDGE;
    g.Make(WC_EDITA, "", "Normal text", kTab, {10, 10, 150, 31}, 0, ex);
    EnableWindow(g.Make(WC_EDITA, "", "Disabled", kTab, {10, 40, 150, 61}, 0, ex), FALSE);
    g.Make(WC_EDITA, "", "(None)", kTab | ES_READONLY, {10, 70, 150, 91}, 0, ex);
    SendMessageA(g.Make(WC_EDITA, "", "A caption far too long for this box, scrolled to its end",
                        kTab | ES_NOHIDESEL, {10, 100, 150, 121}, 0, ex),
                 EM_SETSEL, 1000, 1000);
    const HWND sel = g.Make(WC_EDITA, "", "Selected part", kTab, {10, 130, 150, 151}, 0, ex);
    SetFocus(sel);
    SendMessageA(sel, EM_SETSEL, 9, 13);
}

void Combos(ControlTest& g) {
    const DWORD style = kTab | CBS_DROPDOWNLIST;
    const HWND plain = g.Make(WC_COMBOBOXA, "", "", style, {10, 10, 150, 31});
    const HWND off = g.Make(WC_COMBOBOXA, "", "", style, {160, 10, 290, 31});
    const HWND open = g.Make(WC_COMBOBOXA, "", "", style, {10, 60, 150, 81});
    for (HWND h : {plain, off, open}) {
        for (const char* s : {"0 - zoFlat", "1 - zoFlatWithBorder", "2 - zoClassic3DRaised"})
            SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        SendMessageA(h, CB_SETCURSEL, 1, 0);
    }
    EnableWindow(off, FALSE);
    SetFocus(open);
    SendMessageA(open, CB_SHOWDROPDOWN, TRUE, 0);
    PumpMessages();
    Keys("Down");
}

void Others(ControlTest& g) {
    struct Bar {
        int top, min, max, pos;
    };
    HWND held = 0;
    for (const Bar b : {Bar{10, 1, 5, 2}, Bar{35, 0, 0, 0}, Bar{60, 0, 10, 3}}) {
        held = g.Make(WC_SCROLLBARA, "", "", kTab | SBS_HORZ, {10, b.top, 210, b.top + 17});
        SetScrollRange(held, SB_CTL, b.min, b.max, TRUE);
        if (b.pos != 0) SetScrollPos(held, SB_CTL, b.pos, TRUE);
    }
    g.Make(WC_STATICA, "", "Button &Width", 0, {10, 90, 110, 105});
    EnableWindow(g.Make(WC_STATICA, "", "Disabled &label", 0, {120, 90, 220, 105}), FALSE);
    const HWND pic = g.Make(WC_STATICA, "", "", SS_ICON, {10, 115, 70, 175}, 0, WS_EX_CLIENTEDGE);
    SendMessageA(pic, STM_SETIMAGE, IMAGE_ICON, static_cast<LPARAM>(LoadIconA(0, IDI_INFORMATION)));
    PumpMessages();
    ControlTest::Press(held, 150, 8);  // the page right of the thumb, held
}

TEST_P(ControlGolden, MatchesTheReferenceImage) {
    GetParam().build(*this);
    PumpMessages();
    EXPECT_EQ(ScreenMatches(WindowRect(dialog), std::string("controls/") + GetParam().name), "");
}

INSTANTIATE_TEST_SUITE_P(Scenes, ControlGolden,
                         ::testing::Values(Scene{"buttons", Buttons}, Scene{"checks", Checks},
                                           Scene{"edits", Edits}, Scene{"combos", Combos},
                                           Scene{"scroll_label_picture", Others}),
                         [](const ::testing::TestParamInfo<Scene>& i) { return i.param.name; });

// A screen large enough for the open-file dialog.
class DialogGolden : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        InitDisplay(DisplayKind::Offscreen, 640, 480);
    }
};

TEST_F(DialogGolden, TabsListsAndAPropertySheetWithTwoPages) {
    const HWND h = BuildControlsScene();
    PumpMessages();
    EXPECT_EQ(ScreenMatches(WindowRect(h), "dialogs/tabs_and_lists"), "");
    DestroyWindow(h);
    const HWND frame = BuildSheetScene();
    PumpMessages();
    EXPECT_EQ(ScreenMatches(WindowRect(frame), "dialogs/property_sheet"), "");
    SendMessageA(frame, PSM_SETCURSEL, 1, 0);
    PumpMessages();
    EXPECT_EQ(ScreenMatches(WindowRect(frame), "dialogs/property_sheet_second_page"), "");
}

TEST_F(DialogGolden, TheOpenFileDialogOnAFixedFolder) {
    // The folder's path shows in the dialog, so it is the same on every run.
    const std::filesystem::path dir = "/tmp/zo-golden-open-file";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "Icons");
    for (const char* n : {"apple.bmp", "bear cub.ico", "caf\xC3\xA9.bmp", "notes.txt"})
        std::ofstream(dir / n) << "x";
    char file[256] = {};
    OPENFILENAMEA ofn{.nFilterIndex = 1, .lpstrFile = file, .nMaxFile = 254};
    ofn.lpstrFilter = "Pictures(*.bmp,*.ico)\0*.bmp;*.ico\0All Files (*.*)\0*.*\0\0";
    ofn.lpstrInitialDir = "/tmp/zo-golden-open-file";
    ofn.lpstrTitle = "Select Button Picture";
    ofn.Flags = OFN_FILEMUSTEXIST;
    std::string diff = "not shown";
    WhileModal([&] {
        diff = ScreenMatches(WindowRect(GetActiveWindow()), "dialogs/open_file");
        Keys("Esc", false);
    });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(diff, "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zo::plat::test
