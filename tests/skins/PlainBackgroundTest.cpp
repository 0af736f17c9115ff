#include "config/controls/CBitmapBtn.h"
#include "config/controls/SkinPicture.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

// A control whose page picture is missing, failed to load or does not reach its rectangle
// paints one plain colour, not what the window's pixels held before.

namespace {
constexpr RECT kButton{20, 20, 120, 60};
constexpr COLORREF kSkinColor = RGB(200, 40, 40);

TEST(SkinFallback, ButtonWithoutAUsablePictureIsPlain) {
    struct Row {
        const char* name;
        std::function<PicturePtr()> source;
        COLORREF expected;
    };
    const Row rows[] = {
        {"no picture", [] { return PicturePtr(); }, kPlainBackground},
        {"picture that failed to load",
         [] { return PicturePtr(new Gdiplus::Bitmap(L"Z:\\nowhere\\missing.png")); },
         kPlainBackground},
        {"picture smaller than the rectangle", [] { return SolidPicture(60, 30, kSkinColor); },
         kPlainBackground},
        {"picture holding the rectangle", [] { return SolidPicture(200, 100, kSkinColor); },
         kSkinColor},
    };
    RecordingParent parent;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PicturePtr source = row.source();
        CBitmapBtn button;
        ASSERT_TRUE(
            button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, kButton, parent.Hwnd(), 0));
        button.SetImages(kButton.left, kButton.top, kButton.right - kButton.left,
                         kButton.bottom - kButton.top, source.get(), source.get());
        InvalidateRect(parent.Hwnd(), nullptr, TRUE);
        UpdateWindow(parent.Hwnd());
        Pump();
        const ScreenShot shot(parent.Hwnd());
        EXPECT_EQ((kButton.right - kButton.left) * (kButton.bottom - kButton.top),
                  shot.Count(kButton, row.expected));
    }
}
} // namespace
