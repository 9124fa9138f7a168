// Text on pixels: reference points and alignment, turned text, clipping, background modes,
// DrawTextA's lines and cuts with a real font, and the soft failures of the drawing calls. A
// layout is checked by drawing the expected lines explicitly and comparing every pixel; where
// the ink lands is held to tests/golden/text/draw.png (regenerate with ZO_UPDATE_GOLDEN=1).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "platform/Gdi.h"
#include "platform/Text.h"
#include "text_support.h"

namespace zo::plat::test {
namespace {

LOGFONTA Turned(LONG escapement, LONG height = -11) {
    return Lf("MS Sans Serif", height, FW_NORMAL, 0, escapement);
}

TEST(TextDrawAlign, TextLandsWhereTheMeasuredWidthsSay) {
    TextCanvas a(300, 40), b(300, 40);
    const auto same = [&] {
        const bool s = a.SamePixels(b);
        a.Fill(kWhite);
        b.Fill(kWhite);
        return s;
    };
    const int cx = a.Cx("Caption");
    // Right and centre alignment.
    SetTextAlign(a.dc, TA_RIGHT);
    a.Out(150, 5, "Caption");
    b.Out(150 - cx, 5, "Caption");
    EXPECT_LE(InkOf(a).right, 150);
    EXPECT_TRUE(same());
    SetTextAlign(a.dc, TA_CENTER);
    a.Out(100, 5, "Caption");
    b.Out(100 - cx / 2, 5, "Caption");
    EXPECT_TRUE(same());
    // Measured advances are the drawn advances.
    SetTextAlign(a.dc, TA_LEFT);
    a.Out(3, 5, "Wave Typography");
    b.Out(3, 5, "W");
    b.Out(3 + b.Cx("W"), 5, "ave Ty");
    b.Out(3 + b.Cx("Wave Ty"), 5, "pography");
    EXPECT_TRUE(same());
    // The viewport origin moves the text.
    SetViewportOrgEx(a.dc, 30, 20, nullptr);
    a.Out(0, 0, "Abc");
    b.Out(30, 20, "Abc");
    EXPECT_TRUE(same());
}

TEST(TextDrawAlign, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
    TextCanvas a(200, 40), b(200, 40);
    MoveToEx(a.dc, 5, 8, nullptr);
    SetTextAlign(a.dc, TA_UPDATECP);
    a.Out(999, 999, "Gro");
    a.Out(999, 999, "up");
    b.Out(5, 8, "Group");
    EXPECT_TRUE(a.SamePixels(b));
    POINT cp;
    GetCurrentPositionEx(a.dc, &cp);
    EXPECT_EQ(cp, (POINT{5 + b.Cx("Group"), 8}));
    // Right-aligned text ends at the current position and moves it back over the text.
    SetTextAlign(a.dc, TA_UPDATECP | TA_RIGHT);
    a.Out(0, 0, "up");
    GetCurrentPositionEx(a.dc, &cp);
    EXPECT_EQ(cp, (POINT{5 + b.Cx("Gro"), 8}));
}

TEST(TextDrawTurned, DrawTextLaysTurnedTextOutInTheTurnedRectangle) {
    TextCanvas c(60, 200, Turned(900));
    const TEXTMETRICA tm = c.Tm();
    RECT r{10, 10, 40, 190};
    // Turned, the rectangle's 30-px width is the height the line is centred in.
    EXPECT_EQ(DrawTextA(c.dc, "Turned caption", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER),
              30 / 2 - tm.tmHeight / 2 + tm.tmHeight);
    DrawTextA(c.dc, "Turned caption", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r, (RECT{10, 190 - c.Cx("Turned caption"), 10 + tm.tmHeight, 190}));
}

// Where ink lands, held to a reference image: vertical alignment on the baseline; quarter and
// other turns from the reference point and alignment in the turned frame; turned text laid
// out in a turned rectangle; the DC clip and DrawTextA's rectangle (and DT_NOCLIP) limiting
// the text; ExtTextOutA clipping and filling its rectangle (also without text); opaque
// backgrounds filling exactly the cell or each line's box; 1-bit targets; and the last,
// partly visible line of a wrapped text clipped to the rectangle.
TEST(TextDrawScene, InkLandsWhereTheReferenceShows) {
    if (FaceOf("MS Sans Serif") != "DejaVu Sans") GTEST_SKIP() << "drawn with DejaVu Sans";
    Sheet sheet;
    TextCanvas v(200, 120);
    for (const UINT align : {TA_TOP, TA_BASELINE, TA_BOTTOM}) {
        SetTextAlign(v.dc, align);
        v.Inked(20, align == TA_TOP ? 10 : 60, "HIH");
        sheet.Add(v);
    }
    sheet.NewRow();
    TextCanvas q(80, 200, Turned(900));
    for (const auto& [align, y, s] : {std::tuple{TA_LEFT, 150, "Group 1"},
                                      {TA_LEFT, 150, "G"},
                                      {TA_BOTTOM, 150, "Group"},
                                      {TA_RIGHT, 100, "Group"}}) {
        SetTextAlign(q.dc, align);
        q.Inked(40, y, s);
        sheet.Add(q);
    }
    TextCanvas h(200, 80, Turned(1800)), t(80, 200, Turned(2700)), d(200, 200, Turned(450, -16));
    h.Inked(150, 50, "Group");
    t.Inked(40, 20, "Group");
    d.Inked(40, 160, "Diagonal");
    for (const Canvas* c : {&h, &t, &d})
        sheet.Add(*c);
    TextCanvas r(60, 200, Turned(900));
    r.Draw("Turned caption", RECT{10, 10, 40, 190}, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    sheet.Add(r);
    sheet.NewRow();
    TextCanvas c(200, 60);
    const char* text = "A long line of text";
    const RECT box{10, 10, 40, 30};
    IntersectClipRect(c.dc, 0, 0, 30, 60);
    c.Inked(10, 5, text);
    sheet.Add(c);
    c.Draw(text, box, DT_SINGLELINE | DT_NOCLIP);
    sheet.Add(c);
    SelectClipRgn(c.dc, 0);
    c.Draw(text, box, DT_SINGLELINE);
    sheet.Add(c);
    c.Draw(text, box, DT_SINGLELINE | DT_NOCLIP);
    sheet.Add(c);
    sheet.NewRow();
    TextCanvas e(200, 40);
    const RECT er{20, 5, 50, 30};
    SetBkColor(e.dc, kRed);
    ASSERT_TRUE(
        ExtTextOutA(e.dc, 10, 8, ETO_CLIPPED | ETO_OPAQUE, &er, "Clipped text", 12, nullptr));
    sheet.Add(e);
    e.Fill(kWhite);
    ASSERT_TRUE(ExtTextOutA(e.dc, 0, 0, ETO_OPAQUE, &er, nullptr, 0, nullptr));
    sheet.Add(e);
    TextCanvas o(120, 60);
    SetBkColor(o.dc, kRed);
    SetBkMode(o.dc, OPAQUE);
    o.Inked(10, 5, "Hi there");
    sheet.Add(o);
    o.Draw("ab\nabcd", RECT{0, 0, 120, 60}, DT_CENTER);
    sheet.Add(o);
    SetBkMode(o.dc, TRANSPARENT);
    o.Inked(10, 5, "Hi there");
    sheet.Add(o);
    Canvas mono(100, 30, kWhite, 1);
    const UseFont f(mono.dc, DefaultGuiLogFont());
    SetBkMode(mono.dc, TRANSPARENT);
    SetTextColor(mono.dc, RGB(20, 20, 20));
    ASSERT_TRUE(TextOutA(mono.dc, 5, 5, "Mono", 4));
    sheet.Add(mono);
    TextCanvas w(240, 120, Lf("MS Sans Serif", -11));
    const int lw = std::max(w.Cx("Mail Calendar "), w.Cx("Contacts"));
    w.Draw("Mail Calendar Contacts Tasks", RECT{4, 4, 4 + lw, 5 + w.Tm().tmHeight}, DT_WORDBREAK);
    sheet.Add(w);
    EXPECT_EQ(sheet.Compare("text/draw"), "");
}

TEST(TextDrawText, CountLimitsTheTextAndBadArgumentsFail) {
    TextCanvas a(200, 40), b(200, 40);
    RECT r{0, 0, 200, 40};
    DrawTextA(a.dc, "Hello world", 5, &r, DT_SINGLELINE);
    DrawTextA(b.dc, "Hello", -1, &r, DT_SINGLELINE);
    EXPECT_TRUE(a.SamePixels(b));
    EXPECT_EQ(DrawTextA(a.dc, "Hello", 0, &r, 0), 0);
    EXPECT_EQ(DrawTextA(a.dc, "Hello", -2, &r, 0), 0);
    EXPECT_EQ(DrawTextA(a.dc, static_cast<const char*>(nullptr), -1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(a.dc, "Hello", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(0, "Hello", -1, &r, 0), 0);
    EXPECT_FALSE(TextOutA(0, 0, 0, "x", 1));
    EXPECT_FALSE(TextOutA(a.dc, 0, 0, "x", -1));
    EXPECT_FALSE(TextOutA(a.dc, 0, 0, nullptr, 1));
    EXPECT_TRUE(TextOutA(a.dc, 0, 0, nullptr, 0));
    const HDC gone = CreateCompatibleDC(0);
    DeleteDC(gone);
    EXPECT_EQ(DrawTextA(gone, "Hello", -1, &r, 0), 0);
    EXPECT_FALSE(ExtTextOutA(gone, 0, 0, 0, nullptr, "x", 1, nullptr));
}

TEST(TextDrawText, LeavesTheDcStateAsItWas) {
    TextCanvas c(200, 60);
    SetTextAlign(c.dc, TA_UPDATECP | TA_BASELINE);
    MoveToEx(c.dc, 7, 9, nullptr);
    SetTextColor(c.dc, RGB(1, 2, 3));
    c.Draw("Some words here", RECT{0, 0, 200, 60}, DT_WORDBREAK | DT_CENTER);
    POINT cp;
    GetCurrentPositionEx(c.dc, &cp);
    EXPECT_EQ(cp, (POINT{7, 9}));
    EXPECT_EQ(GetTextAlign(c.dc), TA_UPDATECP | TA_BASELINE);
    EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
    // The DC's alignment does not move DrawTextA's text: it starts at the rectangle's top.
    EXPECT_LT(InkOf(c).top, 6);
}

}  // namespace
}  // namespace zo::plat::test
