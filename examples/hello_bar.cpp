// A program that embeds the control: a bar with two groups in its own window, a handler for
// its events, and the message loop. With ZO_DISPLAY=x11 it opens a window on the X display
// and runs until the caption bar's close button is pressed; on the off-screen display it
// paints once and ends, as nobody can click there.
#include <cstdio>

#include <zobtnbar/ZoBtnBar.h>

namespace {

// A 32x32 picture: a coloured square on a white key colour, drawn with the platform's GDI.
zo::PicturePtr Square(zo::plat::COLORREF colour) {
    using namespace zo::plat;
    const HDC dc = CreateCompatibleDC(0);
    const HBITMAP bitmap = CreateBitmap(32, 32, 1, 32, nullptr);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, 32, 32}, inner{6, 6, 26, 26};
    const HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    const HBRUSH fill = CreateSolidBrush(colour);
    FillRect(dc, &all, white);
    FillRect(dc, &inner, fill);
    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(fill);
    DeleteDC(dc);
    return zo::Picture::FromPixels(zo::PictureType::Bitmap, bitmap, 32, 32,
                                   [](std::uint32_t h) { DeleteObject(h); });
}

class Events : public zo::ZoButtonBarEvents {
public:
    explicit Events(zo::ZoButtonBar& bar) : bar_(bar) {}
    void ButtonSelectionChanged() override {
        if (const zo::ButtonPtr b = bar_.SelectedButton())
            std::printf("selected %s\n", b->Caption().c_str());
    }
    void CloseButtonClick() override { zo::plat::PostQuitMessage(0); }

private:
    zo::ZoButtonBar& bar_;
};

}  // namespace

int main() {
    // ZO_DISPLAY=x11 shows the bar on the X display; otherwise it is drawn off-screen.
    zo::plat::InitDisplayFromEnvironment(0, 0);
    zo::DefaultSite site;  // run time, the default font and colours
    auto bar = zo::ZoButtonBar::CreateNew(site, 0, 100, 100, 220, 400);
    Events events(*bar);
    bar->Advise(&events);

    bar->SetLockRefresh(true);  // many changes, one repaint
    bar->SetShowCaptionBar(true);
    bar->SetCaption("Hello");
    auto mail = bar->Groups()->Item(1);
    mail->SetCaption("Mail");
    mail->Buttons()->Add("Inbox", Square(zo::plat::RGB(60, 120, 200)), "New messages");
    mail->Buttons()->Add("Sent", Square(zo::plat::RGB(80, 170, 90)), "What you sent");
    auto tools = bar->Groups()->Add("Tools", "Everything else", "tools");
    tools->Buttons()->Add("Settings", Square(zo::plat::RGB(200, 90, 60)), "Change things");
    bar->SetLockRefresh(false);
    bar->Refresh();

    zo::plat::MSG msg;
    while (zo::plat::GetMessageA(&msg, 0, 0, 0) > 0) {
        zo::plat::TranslateMessage(&msg);
        zo::plat::DispatchMessageA(&msg);
    }
    return 0;
}
