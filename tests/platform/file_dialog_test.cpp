// The open-file dialog on a test folder, driven by keys and clicks injected while it runs:
// names typed in every form, a missing file, Cancel and Esc, a buffer too small, folders and
// filters, names the code page cannot hold, a folder that cannot be read, bad records.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

namespace fs = std::filesystem;

class OpenFile : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        fs::remove_all(initial);
        fs::create_directories(initial + "/pictures");
        for (const char* n : {"pictures/inner.bmp", "a b.bmp", "icon.ico", "notes.txt",
                              "caf\xC3\xA9.bmp", "\xE6\x97\xA5.bmp", ".hidden.bmp"})
            std::ofstream(initial + "/" + n) << "x";
        ofn = {.nFilterIndex = 1, .lpstrFile = file, .nMaxFile = 254, .nMaxFileTitle = 254};
        ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        ofn.hwndOwner = Top("owner", 0, 0, 320, 240);
        ofn.lpstrFilter = "Pictures(*.bmp,*.ico)\0*.bmp;*.ico\0All Files (*.*)\0*.*\0\0";
        ofn.lpstrFileTitle = title;
        ofn.lpstrInitialDir = initial.c_str();
        ofn.lpstrTitle = "Select Button Picture";
        ofn.Flags = OFN_FILEMUSTEXIST;
    }
    void TearDown() override {
        fs::remove_all(initial);
        WinTest::TearDown();
    }
    BOOL Run(std::function<void()> act) {
        WhileModal(std::move(act));
        return GetOpenFileNameA(&ofn);
    }
    static HWND Item(int id) { return GetDlgItem(GetActiveWindow(), id); }
    static HWND List() { return Item(0x460); }
    static void Type(const std::string& text) {
        TypeText(text);
        Keys("Return");
    }
    static void DoubleClickRow(int row) {
        RECT r;
        SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        const POINT p = ScreenOf(List(), r.left + 10, (r.top + r.bottom) / 2);
        InjectClick(p.x, p.y, VK_LBUTTON);
        InjectClick(p.x, p.y, VK_LBUTTON);
        PumpMessages();
    }
    static std::string Rows() {
        std::string out;
        for (LRESULT i = 0; i < SendMessageA(List(), LB_GETCOUNT, 0, 0); ++i) {
            char row[300] = {};
            SendMessageA(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
            out += std::string(row) + ";";
        }
        return out;
    }
    // Once the message box that comes next is up: its title, then Enter to dismiss it.
    void AnswerBox(std::string* boxTitle) {
        WhileModal([boxTitle] {
            char t[64] = {};
            GetWindowTextA(GetActiveWindow(), t, sizeof t);
            *boxTitle = t;
            Keys("Return", false);
        });
    }

    std::string initial =
        fs::temp_directory_path().string() + "/zo-open-" + std::to_string(::getpid());
    char file[256] = {};
    char title[256] = {};
    OPENFILENAMEA ofn;
};

TEST_F(OpenFile, NamesTypedInEveryFormGiveThePathAndTheTitle) {
    struct Row {
        std::string typed, path;  // the path in the code page
    };
    const Row rows[] = {
        {"icon.ico", initial + "/icon.ico"},
        {"pictures/../pictures/inner.bmp", initial + "/pictures/inner.bmp"},
        {initial + "/a b.bmp", initial + "/a b.bmp"},  // absolute, with a blank
    };
    for (const Row& row : rows) {
        std::memset(file, 0, sizeof file);
        bool ownerEnabled = true;
        EXPECT_TRUE(Run([&] {
            ownerEnabled = IsWindowEnabled(ofn.hwndOwner) != FALSE;
            Type(row.typed);
        })) << row.typed;
        EXPECT_EQ(CommDlgExtendedError(), 0u) << row.typed;
        EXPECT_EQ(std::string(file), row.path) << row.typed;
        EXPECT_EQ(std::string(title), row.path.substr(row.path.rfind('/') + 1)) << row.typed;
        EXPECT_EQ(ofn.nFileOffset, row.path.rfind('/') + 1) << row.typed;
        EXPECT_FALSE(ownerEnabled) << row.typed;
        EXPECT_TRUE(IsWindowEnabled(ofn.hwndOwner)) << row.typed;
    }
}

TEST_F(OpenFile, CancelEscAMissingFileAndABufferTooSmallGiveNothing) {
    EXPECT_FALSE(Run([] { Keys("Esc", false); }));
    EXPECT_FALSE(Run([] { SendMessageA(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0); }));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    std::string boxTitle;
    bool stillOpen = false;
    EXPECT_FALSE(Run([&] {
        AnswerBox(&boxTitle);
        Type("nothere.bmp");
        stillOpen = List() != 0;
        Keys("Esc", false);
    }));
    EXPECT_EQ(boxTitle, "Select Button Picture");
    EXPECT_TRUE(stillOpen);
    EXPECT_STREQ(file, "");
    // A buffer too small: the size needed in its first two bytes, nothing written past it.
    ofn.nMaxFile = 8;
    std::memset(file, '#', sizeof file);
    file[0] = '\0';
    EXPECT_FALSE(Run([] { Type("icon.ico"); }));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    WORD need = 0;
    std::memcpy(&need, file, sizeof need);
    EXPECT_EQ(need, initial.size() + sizeof "/icon.ico");
    EXPECT_EQ(std::string(file + 8, sizeof file - 8), std::string(sizeof file - 8, '#'));
}

TEST_F(OpenFile, FoldersFiltersAndNamesTheCodePageCannotHold) {
    std::string before, filtered, all, inside, boxTitle;
    EXPECT_TRUE(Run([&] {
        before = Rows();
        SetWindowTextA(Item(0x480), "*.txt");
        Type("");
        filtered = Rows();
        SendMessageA(Item(0x470), CB_SETCURSEL, 1, 0);
        SendMessageA(GetActiveWindow(), WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE),
                     static_cast<LPARAM>(Item(0x470)));
        all = Rows();
        DoubleClickRow(1);  // [pictures]
        inside = Rows();
        DoubleClickRow(1);  // inner.bmp
    }));
    EXPECT_EQ(before, "[..];[pictures];?.bmp;a b.bmp;caf\xE9.bmp;icon.ico;");
    EXPECT_EQ(filtered, "[..];[pictures];notes.txt;");
    EXPECT_EQ(all, "[..];[pictures];?.bmp;a b.bmp;caf\xE9.bmp;icon.ico;notes.txt;");
    EXPECT_EQ(inside, "[..];inner.bmp;");
    EXPECT_EQ(std::string(file), initial + "/pictures/inner.bmp");
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    // The name shown as "?.bmp" cannot be chosen; a folder gone from the disk cannot be entered.
    std::string second;
    file[0] = '\0';  // else the dialog starts where the last name was
    EXPECT_FALSE(Run([&] {
        AnswerBox(&boxTitle);
        DoubleClickRow(2);
        fs::remove_all(initial + "/pictures");
        AnswerBox(&second);
        DoubleClickRow(1);
        Keys("Esc", false);
    }));
    EXPECT_EQ(boxTitle + "|" + second, "Select Button Picture|Select Button Picture");
}

TEST_F(OpenFile, BadRecordsFailWithTheirReason) {
    EXPECT_FALSE(GetOpenFileNameA(nullptr));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    ofn.lStructSize = 60;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    ofn.lStructSize = sizeof(OPENFILENAMEA);
    ofn.lpstrFile = nullptr;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
}

}  // namespace
}  // namespace zo::plat::test
