// Reference images of the tab control and the list box in their states, of the property-sheet
// frame with two pages and of the open-file dialog on a fixed folder, as the off-screen display
// shows them. Compared exactly with tests/golden/dialogs/<name>.png; a mismatch writes the
// actual image and a diff to <build>/golden-out/dialogs.
#include <filesystem>
#include <fstream>

#include "dialog_scenes.h"
#include "platform/image/ImageCompare.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

std::string Compare(HWND h, const std::string& name) {
    RECT r;
    GetWindowRect(h, &r);
    Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    img.pixels = ReadScreenPixels(r);
    return CompareWithReference(
        img, std::string(ZO_SOURCE_DIR) + "/tests/golden/dialogs/" + name + ".png",
        std::string(ZO_BINARY_DIR) + "/golden-out/dialogs");
}

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
    EXPECT_EQ(Compare(h, "tabs_and_lists"), "");
    DestroyWindow(h);
    const HWND frame = BuildSheetScene();
    PumpMessages();
    EXPECT_EQ(Compare(frame, "property_sheet"), "");
    SendMessageA(frame, PSM_SETCURSEL, 1, 0);
    PumpMessages();
    EXPECT_EQ(Compare(frame, "property_sheet_second_page"), "");
}

TEST_F(DialogGolden, TheOpenFileDialogOnAFixedFolder) {
    // The folder's path shows in the dialog, so it is the same on every run.
    const std::filesystem::path dir = "/tmp/zo-golden-open-file";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "Icons");
    for (const char* n : {"apple.bmp", "bear cub.ico", "caf\xC3\xA9.bmp", "notes.txt"})
        std::ofstream(dir / n) << "x";
    char file[256] = {};
    OPENFILENAMEA ofn;
    ofn.lpstrFilter = "Pictures(*.bmp,*.ico)\0*.bmp;*.ico\0All Files (*.*)\0*.*\0\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 254;
    ofn.lpstrInitialDir = "/tmp/zo-golden-open-file";
    ofn.lpstrTitle = "Select Button Picture";
    ofn.Flags = OFN_FILEMUSTEXIST;
    std::string diff = "not shown";
    WhileModal([&] {
        diff = Compare(GetActiveWindow(), "open_file");
        Keys("Esc", false);
    });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(diff, "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zo::plat::test
