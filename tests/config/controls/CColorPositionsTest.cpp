#include "config/controls/CColorPositions.h"

#include <gtest/gtest.h>

using P = CColorPositions;

TEST(ColorPositions, WhiteBlackAndRedPlaceTheCursors) {
    const ColorPositions white = P::FromColor(RGB(255, 255, 255));
    EXPECT_EQ(9, white.satX);
    EXPECT_EQ(5, white.valY);
    EXPECT_EQ(98, P::FromColor(RGB(0, 0, 0)).valY);
    const ColorPositions red = P::FromColor(RGB(255, 0, 0));
    EXPECT_EQ(227, red.hueX);
    EXPECT_EQ(124, red.satX);
    EXPECT_EQ(5, red.valY);
}

TEST(ColorPositions, DefaultPositionsShowRed) {
    EXPECT_EQ(RGB(255, 0, 0), P::ColorAt(ColorPositions{}));
    EXPECT_EQ(RGB(255, 0, 0), P::HueColor(8));
}

TEST(ColorPositions, HuesPastAFullTurnWrapAround) {
    EXPECT_EQ(P::FromHsv(11.5, 1, 1), P::FromHsv(371.5, 1, 1));
    EXPECT_EQ(RGB(255, 0, 0), P::FromHsv(360, 1, 1));
    // The marker left of the strip's start still yields a colour of the first sector.
    EXPECT_EQ(P::FromHsv((1 + 7 / 219.0) * 360 - 360, 1, 1), P::ColorAt({1, 124, 5}));
}

TEST(ColorPositions, EverySectorOfTheConversion) {
    EXPECT_EQ(RGB(255, 128, 0), P::FromHsv(30, 1, 1));
    EXPECT_EQ(RGB(128, 255, 0), P::FromHsv(90, 1, 1));
    EXPECT_EQ(RGB(0, 255, 128), P::FromHsv(150, 1, 1));
    EXPECT_EQ(RGB(0, 128, 255), P::FromHsv(210, 1, 1));
    EXPECT_EQ(RGB(128, 0, 255), P::FromHsv(270, 1, 1));
    EXPECT_EQ(RGB(255, 0, 128), P::FromHsv(330, 1, 1));
    EXPECT_EQ(RGB(128, 128, 128), P::FromHsv(200, 0, 0.5));
}

TEST(ColorPositions, PrimaryColoursSurviveTheRoundTrip) {
    for (COLORREF c :
         {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255), RGB(0, 0, 0)}) {
        EXPECT_EQ(c, P::ColorAt(P::FromColor(c))) << std::hex << c;
    }
}

TEST(ColorPositions, SquareGradientRows) {
    EXPECT_EQ(RGB(255, 255, 255), P::SquareRowGrey(0));
    EXPECT_EQ(RGB(0, 0, 0), P::SquareRowGrey(93));
    EXPECT_EQ(RGB(170, 170, 170), P::SquareRowGrey(31));
    EXPECT_EQ(RGB(255, 128, 0), P::SquareRowHue(0, RGB(255, 128, 0)));
    EXPECT_EQ(RGB(170, 43, 0), P::SquareRowHue(31, RGB(255, 128, 0)));
    EXPECT_EQ(RGB(0, 0, 0), P::SquareRowHue(93, RGB(255, 255, 255)));
}

TEST(ColorPositions, ArrowStepsAndClampsStayWithinAByte) {
    EXPECT_EQ(255, P::StepChannel(254, 1));
    EXPECT_EQ(255, P::StepChannel(255, 1));
    EXPECT_EQ(0, P::StepChannel(1, -1));
    EXPECT_EQ(0, P::StepChannel(0, -1));
    EXPECT_EQ(255, P::ClampChannel(300));
    EXPECT_EQ(0, P::ClampChannel(-3));
}

TEST(ColorPositions, HexTextReadsRedGreenBlue) {
    EXPECT_EQ(L"123456", P::HexText(RGB(0x12, 0x34, 0x56)));
    EXPECT_EQ(L"ff0000", P::HexText(RGB(255, 0, 0)));
}
