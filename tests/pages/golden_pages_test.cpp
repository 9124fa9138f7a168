// Reference images of the pages showing a known control, so that a moved, renamed or
// re-captioned control shows up as a changed picture. Regenerate after an intended change with
// ZO_UPDATE_GOLDEN=1 build/default/tests/test_pages --gtest_filter='*ReferenceImage*'.
#include <gtest/gtest.h>

#include "model/CButtons.h"
#include "model/CGroups.h"
#include "pages/PageFixture.h"
#include "platform/image/ImageCompare.h"

namespace zo::testing {
namespace {

using namespace plat;

TEST_F(PageTest, EachPageMatchesItsReferenceImage) {
    bar->SetCaption("Tools");
    bar->SetShowCaptionBar(true);
    bar->SetButtonGradientType(3);
    const PicturePtr pic = LoadPicture(BitmapFile("face.bmp", 0xCC6633));
    auto& buttons = *bar->ActiveGroup()->Buttons();
    buttons.Add("Inbox", pic, "Open the inbox", "", "inbox");
    buttons.Add("Calendar", pic, "", "Today", "cal");
    buttons.Item(2)->SetTag("week");
    bar->Groups()->Add("Archive", "Old mail", "arch");
    PumpMessages();
    for (int i = 0; i < 7; ++i) {
        Open(i);
        const PropertyPage& page = *pages[static_cast<std::size_t>(i)];
        SCOPED_TRACE(page.Caption());
        RECT r;
        GetWindowRect(page.hWnd(), &r);
        Image img;
        img.width = r.right - r.left;
        img.height = r.bottom - r.top;
        img.pixels = ReadScreenPixels(r);
        EXPECT_EQ(
            CompareWithReference(
                img, std::string(ZO_SOURCE_DIR) + "/tests/golden/pages/" + page.Caption() + ".png",
                std::string(ZO_BINARY_DIR) + "/golden-out"),
            "");
        Press(PSBTN_CANCEL);
        host.reset();
        pages.clear();
    }
}

}  // namespace
}  // namespace zo::testing
