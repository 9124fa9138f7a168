// The open-file dialog on a test folder, driven by keys and clicks injected while it runs:
// names typed in every form, a missing file, Cancel and Esc, a buffer too small, folders and
// filters, names the code page cannot hold, a folder that cannot be read, bad records.
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

namespace fs = std::filesystem;

constexpr char kFilter[] = "Pictures(*.bmp,*.ico)\0*.bmp;*.ico\0All Files (*.*)\0*.*\0\0";

class OpenFile : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Top("owner", 0, 0, 320, 240);
        tlsDuring = &during;
        dir = fs::temp_directory_path() / ("zo-open-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "pictures");
        for (const char* n : {"pictures/inner.bmp", "a b.bmp", "icon.ico", "notes.txt",
                              "caf\xC3\xA9.bmp", "\xE6\x97\xA5.bmp", ".hidden.bmp"})
            std::ofstream(dir / n) << "x";
        ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kFilter;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file;
        ofn.nMaxFile = 254;
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = 254;
        ofn.lpstrInitialDir = initial.c_str();
        ofn.lpstrTitle = "Select Button Picture";
        ofn.Flags = OFN_FILEMUSTEXIST;
    }
    void TearDown() override {
        tlsDuring = nullptr;
        fs::remove_all(dir);
        WinTest::TearDown();
    }
    BOOL Run(std::function<void()> act) {
        During(std::move(act));
        return GetOpenFileNameA(&ofn);
    }
    void During(std::function<void()> act) {
        during = std::move(act);
        SetTimer(0, 0, 30, &DuringProc);
    }
    static HWND Dialog() { return GetActiveWindow(); }
    static HWND Item(int id) { return GetDlgItem(Dialog(), id); }
    static HWND List() { return Item(0x460); }
    static void Key(UINT vk) {
        InjectKey(vk, true);
        InjectKey(vk, false);
    }
    // Handles what is queued as the dialog's loop would.
    static void Pump() {
        MSG m;
        while (IsWindow(Dialog()) && PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageA(Dialog(), &m)) continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    // Types letters, digits, '.', '-', '/' and blanks as keys, then Enter.
    static void Type(const std::string& text) {
        for (char c : text) {
            const UINT vk = c == '.'   ? VK_OEM_PERIOD
                            : c == '/' ? VK_OEM_2
                            : c == '-' ? VK_OEM_MINUS
                            : c == ' ' ? VK_SPACE
                                       : static_cast<UINT>(std::toupper(c));
            Key(vk);
        }
        Key(VK_RETURN);
        Pump();
    }
    static void DoubleClickRow(int row) {
        RECT r;
        SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        POINT p{r.left + 10, (r.top + r.bottom) / 2};
        ClientToScreen(List(), &p);
        InjectClick(p.x, p.y, VK_LBUTTON);
        InjectClick(p.x, p.y, VK_LBUTTON);
        Pump();
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
        During([boxTitle] {
            char t[64] = {};
            GetWindowTextA(GetActiveWindow(), t, sizeof t);
            *boxTitle = t;
            Key(VK_RETURN);
        });
    }

    HWND owner = 0;
    std::function<void()> during;
    fs::path dir;
    std::string initial =
        fs::temp_directory_path().string() + "/zo-open-" + std::to_string(::getpid());
    char file[256] = {};
    char title[256] = {};
    OPENFILENAMEA ofn;
};

TEST_F(OpenFile, NamesTypedInEveryFormGiveThePathAndTheTitle) {
    struct Case {
        const char* name;
        std::string typed;
        std::string path;  // in the code page
    };
    const Case cases[] = {
        {"a name in the folder", "icon.ico", initial + "/icon.ico"},
        {"a relative path", "pictures/../pictures/inner.bmp", initial + "/pictures/inner.bmp"},
        {"an absolute path with a blank", initial + "/a b.bmp", initial + "/a b.bmp"},
    };
    for (const Case& c : cases) {
        std::memset(file, 0, sizeof file);
        bool ownerEnabled = true;
        EXPECT_TRUE(Run([&] {
            ownerEnabled = IsWindowEnabled(owner) != FALSE;
            Type(c.typed);
        })) << c.name;
        EXPECT_EQ(CommDlgExtendedError(), 0u) << c.name;
        EXPECT_EQ(std::string(file), c.path) << c.name;
        EXPECT_EQ(std::string(title), c.path.substr(c.path.rfind('/') + 1)) << c.name;
        EXPECT_EQ(ofn.nFileOffset, c.path.rfind('/') + 1) << c.name;
        EXPECT_FALSE(ownerEnabled) << c.name;
        EXPECT_TRUE(IsWindowEnabled(owner)) << c.name;
    }
}

TEST_F(OpenFile, CancelEscAndAMissingFileGiveNothing) {
    EXPECT_FALSE(Run([] { Key(VK_ESCAPE); }));
    EXPECT_FALSE(Run([] { SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0); }));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    std::string boxTitle;
    bool stillOpen = false;
    EXPECT_FALSE(Run([&] {
        AnswerBox(&boxTitle);
        Type("nothere.bmp");
        stillOpen = List() != 0;
        Key(VK_ESCAPE);
    }));
    EXPECT_EQ(boxTitle, "Select Button Picture");
    EXPECT_TRUE(stillOpen);
    EXPECT_STREQ(file, "");
}

TEST_F(OpenFile, ABufferTooSmallFailsWithoutWritingPastIt) {
    ofn.nMaxFile = 8;
    std::memset(file, '#', sizeof file);
    file[0] = '\0';
    EXPECT_FALSE(Run([] { Type("icon.ico"); }));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    WORD need = 0;
    std::memcpy(&need, file, sizeof need);
    EXPECT_EQ(need, initial.size() + sizeof "/icon.ico");
    for (std::size_t i = 8; i < sizeof file; ++i)
        ASSERT_EQ(file[i], '#') << i;
}

TEST_F(OpenFile, FoldersFiltersAndNamesTheCodePageCannotHold) {
    std::string before, filtered, all, inside, boxTitle;
    EXPECT_TRUE(Run([&] {
        before = Rows();
        SetWindowTextA(Item(0x480), "*.txt");
        Type("");
        filtered = Rows();
        SendMessageA(Item(0x470), CB_SETCURSEL, 1, 0);
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE),
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
        fs::remove_all(dir / "pictures");
        AnswerBox(&second);
        DoubleClickRow(1);
        Key(VK_ESCAPE);
    }));
    EXPECT_EQ(boxTitle, "Select Button Picture");
    EXPECT_EQ(second, "Select Button Picture");
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
