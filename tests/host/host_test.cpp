#include <gtest/gtest.h>

#include <cmath>

#include "core/Error.h"
#include "core/Picture.h"
#include "host/PropertyBag.h"
#include "host/Scale.h"
#include "host/Site.h"
#include "host/StdFont.h"

namespace zo {
namespace {

TEST(Scale, ConversionsBetweenModesAt96Dpi) {
    EXPECT_DOUBLE_EQ(ConvertScaleX(48, vbPixels, vbTwips), 720);
    EXPECT_DOUBLE_EQ(ConvertScaleY(720, vbTwips, vbPixels), 48);
    EXPECT_DOUBLE_EQ(ConvertScaleX(1, vbInches, vbPixels), 96);
    EXPECT_DOUBLE_EQ(ConvertScaleX(1, vbPoints, vbTwips), 20);
    EXPECT_DOUBLE_EQ(ConvertScaleX(1, vbCharacters, vbTwips), 120);
    EXPECT_DOUBLE_EQ(ConvertScaleY(1, vbCharacters, vbTwips), 240);
    EXPECT_NEAR(ConvertScaleX(847, vbHimetric, vbPixels), 32.01, 0.01);
    EXPECT_EQ(NearestInt(ConvertScaleX(847, vbHimetric, vbPixels)), 32);
    EXPECT_NEAR(ConvertScaleX(10, vbMillimeters, vbCentimeters), 1, 1e-12);
}

TEST(Scale, UserScalesMapTheirExtentOntoTheClientArea) {
    ScaleInfo s;
    s.userWidth = 1000;
    s.userHeight = 50;
    s.clientWidthPx = 200;
    s.clientHeightPx = 100;
    EXPECT_DOUBLE_EQ(ConvertScaleX(1000, vbUser, vbPixels, s), 200);
    EXPECT_DOUBLE_EQ(ConvertScaleY(100, vbPixels, vbUser, s), 50);
    s.userWidth = 0;  // an unusable scale converts to nothing rather than dividing by zero
    EXPECT_EQ(ConvertScaleX(10, vbPixels, vbUser, s), 0);
}

TEST(Scale, NearestIntRoundsHalvesToEvenAndSaturates) {
    EXPECT_EQ(NearestInt(2.5), 2);
    EXPECT_EQ(NearestInt(3.5), 4);
    EXPECT_EQ(NearestInt(-0.5), 0);
    EXPECT_EQ(NearestInt(1e12), 2147483647);
    EXPECT_EQ(NearestInt(std::nan("")), 0);
}

TEST(StdFont, BoldFollowsTheWeightAndSizeKeepsFourDecimals) {
    StdFont f;  // its default name: DefaultSite's ambient font
    EXPECT_DOUBLE_EQ(f.Size(), 8.25);
    f.SetWeight(600);
    EXPECT_TRUE(f.Bold());
    f.SetBold(false);
    EXPECT_EQ(f.Weight(), 400);
    f.SetSize(9.123456);
    EXPECT_EQ(f.SizeTenThousandths(), 91235);
    EXPECT_THROW(f.SetSize(0), Error);
    EXPECT_THROW(f.SetSize(-3), Error);
    auto copy = f.Clone();
    EXPECT_EQ(copy->SizeTenThousandths(), 91235);
    EXPECT_NE(copy.get(), &f);
}

TEST(PropertyBag, DefaultsAreNotStoredAndNamesIgnoreCase) {
    PropertyBag bag;
    bag.WriteProperty("ButtonLayout", Variant(1), Variant(1));
    EXPECT_FALSE(bag.Contains("ButtonLayout"));
    bag.WriteProperty("ButtonLayout", Variant(0), Variant(1));
    EXPECT_EQ(bag.ReadProperty("BUTTONLAYOUT", Variant(1)).ToLong(), 0);
    // A number equal to the default in another type is still the default.
    bag.WriteProperty("ButtonHeight", Variant(720), Variant(720.0f));
    EXPECT_FALSE(bag.Contains("ButtonHeight"));
    EXPECT_EQ(bag.ReadProperty("Missing", Variant("dflt")).ToText(), "dflt");
    // Written under one spelling, read under another.
    bag.WriteProperty("GRP1BTN1Tooltip", Variant("tip"));
    EXPECT_EQ(bag.ReadProperty("GRP1BTN1ToolTip").ToText(), "tip");
    // Writing the default over a stored value removes it; order of the rest is kept.
    bag.WriteProperty("A", Variant(1));
    bag.WriteProperty("B", Variant(2));
    bag.WriteProperty("a", Variant(5), Variant(5));
    ASSERT_EQ(bag.Count(), 3u);
    EXPECT_EQ(bag.Entries()[2].name, "B");
    EXPECT_EQ(bag.ReadProperty("b").ToLong(), 2);
}

TEST(PropertyBag, ObjectsAreKeptByReference) {
    PropertyBag bag;
    auto pic = Picture::Empty();
    bag.WriteProperty("Picture", Variant(pic));
    EXPECT_EQ(bag.ReadProperty("Picture").As<Picture>(), pic);
    bag.WriteProperty("Other", Variant(pic), Variant(pic));
    EXPECT_FALSE(bag.Contains("Other"));
    // No picture against a default of none is the default.
    bag.WriteProperty("Icon", Variant(PicturePtr{}), Variant(PicturePtr{}));
    EXPECT_FALSE(bag.Contains("Icon"));
}

TEST(PropertyBag, FontsEqualInEveryAttributeAreTheDefault) {
    PropertyBag bag;
    auto ambient = std::make_shared<StdFont>();
    auto own = ambient->Clone();
    own->SetName("ms sans serif");  // names compare without regard to case
    bag.WriteProperty("Font", Variant(own), Variant(ambient));
    EXPECT_FALSE(bag.Contains("Font"));
    own->SetItalic(true);
    bag.WriteProperty("Font", Variant(own), Variant(ambient));
    EXPECT_TRUE(bag.Contains("Font"));
    own->SetItalic(false);
    own->SetSize(9);
    bag.WriteProperty("Font", Variant(own), Variant(ambient));
    EXPECT_EQ(bag.ReadProperty("Font").As<StdFont>(), own);
}

}  // namespace
}  // namespace zo
