#include "config/controls/CDelayRowText.h"

#include <gtest/gtest.h>

TEST(DelayRowText, RowDelayIsTheNumberBeforeTheFirstBlank) {
    EXPECT_EQ(250, CDelayRowText::RowDelay(L"250 MS"));
    EXPECT_EQ(1000, CDelayRowText::RowDelay(L"1000 ms extra"));
    // No blank: the whole text is dropped.
    EXPECT_EQ(0, CDelayRowText::RowDelay(L"250MS"));
    EXPECT_EQ(0, CDelayRowText::RowDelay(L"Left"));
    EXPECT_EQ(0, CDelayRowText::RowDelay(L""));
    EXPECT_EQ(0, CDelayRowText::RowDelay(L"Page Down"));
    EXPECT_EQ(0, CDelayRowText::RowDelay(L" 250 MS"));
    EXPECT_EQ(2147483647, CDelayRowText::RowDelay(L"99999999999 MS"));
}

TEST(DelayRowText, TypedDelayAndRowTexts) {
    EXPECT_EQ(1000, CDelayRowText::TypedDelay(L"1000"));
    EXPECT_EQ(0, CDelayRowText::TypedDelay(L""));
    EXPECT_EQ(12, CDelayRowText::TypedDelay(L"12ab"));
    // Only the first 200 characters are read.
    EXPECT_EQ(0, CDelayRowText::TypedDelay(std::wstring(200, L'0') + L"7"));
    EXPECT_EQ(L"1000 MS", CDelayRowText::CommittedRow(1000));
    EXPECT_EQ(L"0 MS", CDelayRowText::CommittedRow(0));
}
