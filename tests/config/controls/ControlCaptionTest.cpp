// Where and in which face the controls draw their texts: a bitmap button's caption inside the
// rectangle set with SetTextRect (every sub-menu entry is such a button), and the interface
// font face, set before the controls are built, in every control that draws text.

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CBitmapBtnEdit.h"
#include "config/controls/CClrEdit.h"
#include "config/controls/CControlGlobals.h"
#include "config/controls/CStaticTrans.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "winlayer/ClientDC.h"
#include "winlayer/GdiObject.h"
#include "winlayer/ObjectSelection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kImage = RGB(200, 0, 0);
constexpr COLORREF kText = RGB(255, 255, 0);

// The smallest rectangle holding every pixel of the area that is not the background colour.
struct Ink {
    RECT Box{};
    int Pixels = 0;
    int Width() const { return Pixels == 0 ? 0 : Box.right - Box.left; }
    int Height() const { return Pixels == 0 ? 0 : Box.bottom - Box.top; }
    int CentreX() const { return (Box.left + Box.right) / 2; }
    int CentreY() const { return (Box.top + Box.bottom) / 2; }
};

Ink InkOf(HWND hwnd, const RECT& area, COLORREF background) {
    const ScreenShot shot(hwnd);
    Ink ink;
    ink.Box = {area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (shot.At(x, y) != background) {
                ++ink.Pixels;
                ink.Box.left = std::min<LONG>(ink.Box.left, x);
                ink.Box.top = std::min<LONG>(ink.Box.top, y);
                ink.Box.right = std::max<LONG>(ink.Box.right, x + 1);
                ink.Box.bottom = std::max<LONG>(ink.Box.bottom, y + 1);
            }
        }
    }
    return ink;
}

// A button of one colour on the shared test window.
template <class Button> class SolidButton {
public:
    SolidButton(RecordingParent& parent, const RECT& rect) : rect_(rect) {
        button_.Create(L"", WS_VISIBLE, rect, parent.Hwnd(), 77);
        button_.SetImages(rect.left, rect.top, Width(), Height(), page_.get(), page_.get());
        button_.SetTextColors(kText, kText, kText);
    }
    Button& Get() { return button_; }
    int Width() const { return rect_.right - rect_.left; }
    int Height() const { return rect_.bottom - rect_.top; }
    Ink Caption(std::optional<RECT> area = std::nullopt) {
        InvalidateRect(button_.Hwnd(), nullptr, FALSE);
        Pump();
        return InkOf(button_.Hwnd(), area.value_or(RECT{0, 0, Width(), Height()}), kImage);
    }

private:
    RECT rect_;
    std::unique_ptr<Gdiplus::Bitmap> page_ = SolidPicture(600, 400, kImage);
    Button button_;
};

TEST(BitmapBtnTextRect, CaptionIsDrawnInsideItsRectangle) {
    RecordingParent parent;
    constexpr RECT kButton{20, 20, 260, 90}; // 240 x 70
    struct Case {
        const char* Name;
        std::wstring Caption;
        RECT TextRect;
        // The caption's ink against the text rectangle.
        std::function<void(const Ink&, const RECT&)> Check;
    };
    const auto inside = [](const Ink& ink, const RECT& r) {
        EXPECT_GT(ink.Pixels, 20);
        EXPECT_GE(ink.Box.left, r.left);
        EXPECT_LE(ink.Box.right, r.right);
        EXPECT_GE(ink.Box.top, r.top);
        EXPECT_LE(ink.Box.bottom, r.bottom);
    };
    const auto centred = [inside](const Ink& ink, const RECT& r) {
        inside(ink, r);
        EXPECT_NEAR(ink.CentreX(), (r.left + r.right) / 2, 4);
        EXPECT_NEAR(ink.CentreY(), (r.top + r.bottom) / 2, 5);
    };
    const std::vector<Case> cases = {
        {"left half", L"MW", RECT{0, 0, 120, 70}, centred},
        {"right half", L"MW", RECT{120, 0, 240, 70}, centred},
        {"bottom strip", L"MW", RECT{0, 40, 240, 70}, centred},
        {"sub-menu entry", L"Entry", RECT{30, 5, 200, 30}, centred},
        // Too long for one line: cut with an ellipsis on its single line, not wrapped.
        {"too long", L"WWWWWWWWWW WWWWWWWWWW", RECT{20, 10, 140, 60},
         [inside](const Ink& ink, const RECT& r) {
             inside(ink, RECT{r.left, r.top, r.right + 2, r.bottom});
             EXPECT_LT(ink.Height(), 28);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SolidButton<CBitmapBtn> button(parent, kButton);
        button.Get().SetFontSize(24);
        button.Get().SetCaption(c.Caption, 0, kBtnHorizontal);
        button.Get().SetTextRect(c.TextRect.left, c.TextRect.top, c.TextRect.right,
                                 c.TextRect.bottom);
        c.Check(button.Caption(), c.TextRect);
    }

    // The button with an edit breaks words onto further lines within its rectangle instead.
    SolidButton<CBitmapBtnEdit> edit(parent, RECT{20, 100, 260, 170});
    edit.Get().SetFontSize(16);
    edit.Get().SetCaption(L"WWWW WWWW", L"", 0, kBtnHorizontal);
    edit.Get().SetTextRect(60, 0, 160, 24 + 24);
    SolidButton<CBitmapBtn> single(parent, RECT{20, 180, 260, 250});
    single.Get().SetFontSize(16);
    single.Get().SetCaption(L"WWWW WWWW", 0, kBtnHorizontal);
    single.Get().SetTextRect(60, 0, 160, 24 + 24);
    // Above the inline edit, which sits at (15, 25).
    const Ink wrapped = edit.Caption(RECT{0, 0, 240, 25});
    const Ink oneLine = single.Caption(RECT{0, 0, 240, 70});
    EXPECT_GT(oneLine.Height(), 0);
    EXPECT_GT(wrapped.Height(), oneLine.Height() * 3 / 2);
    EXPECT_GE(wrapped.Box.left, 60);
    EXPECT_LE(wrapped.Box.right, 160);
}

// The controls' face name is process-wide: each test leaves it as it found it.
class FaceNameScope {
public:
    FaceNameScope() : saved_(CControlGlobals::FaceName()) {}
    ~FaceNameScope() { CControlGlobals::SetFaceName(saved_); }
    FaceNameScope(const FaceNameScope&) = delete;
    FaceNameScope& operator=(const FaceNameScope&) = delete;

private:
    std::wstring saved_;
};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM context) {
    auto& faces = *reinterpret_cast<std::pair<std::wstring, std::wstring>*>(context);
    if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == L'@') {
        return 1;
    }
    std::wstring& slot = (font->lfPitchAndFamily & 0x3) == FIXED_PITCH ? faces.first : faces.second;
    if (slot.empty()) {
        slot = font->lfFaceName;
    }
    return 1;
}

// A fixed-pitch and a proportional face of those installed: their "i" differ most in width.
std::pair<std::wstring, std::wstring> TwoFaces() {
    std::pair<std::wstring, std::wstring> faces;
    const winlayer::ClientDC screen(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen.Get(), &all, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

// The width of the text in the face at the height, as GDI lays it out.
int TextWidth(const std::wstring& face, int height, int weight, const std::wstring& text) {
    const winlayer::ClientDC screen(nullptr);
    const winlayer::FontHandle font(
        CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, face.c_str()));
    const winlayer::ObjectSelection selection(screen.Get(), font.Get());
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

TEST(InterfaceFontFace, EveryTextIsDrawnInTheFaceSetBeforeTheControlsAreBuilt) {
    const FaceNameScope scope;
    const auto [fixed, proportional] = TwoFaces();
    ASSERT_FALSE(fixed.empty());
    ASSERT_FALSE(proportional.empty());
    const std::wstring text(16, L'i');
    struct Case {
        const char* Name;
        int Height;
        int Weight;
        // Builds the control with `text` after the face was set; the ink of its text.
        std::function<Ink(RecordingParent&)> Build;
    };
    const std::vector<Case> cases = {
        {"bitmap button", 32, 400,
         [&](RecordingParent& parent) {
             SolidButton<CBitmapBtn> button(parent, RECT{20, 20, 380, 80});
             button.Get().SetFontSize(32);
             button.Get().SetCaption(text, 0, kBtnHorizontal);
             return button.Caption();
         }},
        {"bitmap button in a text rectangle", 32, 400,
         [&](RecordingParent& parent) {
             SolidButton<CBitmapBtn> button(parent, RECT{20, 20, 380, 80});
             button.Get().SetFontSize(32);
             button.Get().SetCaption(text, 0, kBtnHorizontal);
             button.Get().SetTextRect(0, 0, 360, 60);
             return button.Caption();
         }},
        {"bitmap button with an edit", 24, 400,
         [&](RecordingParent& parent) {
             SolidButton<CBitmapBtnEdit> button(parent, RECT{20, 20, 380, 80});
             button.Get().SetFontSize(24);
             button.Get().SetCaption(text, L"", 0, kBtnHorizontal);
             button.Get().SetTextRect(0, 0, 360, 25);
             return button.Caption(RECT{0, 0, 360, 25});
         }},
        {"transparent label", 32, 400,
         [&](RecordingParent& parent) {
             CStaticTrans label;
             label.SetFontHeight(32);
             const RECT r{20, 20, 380, 70};
             label.Create(text.c_str(), WS_VISIBLE, r, parent.Hwnd(), 0xFFFF);
             label.SetTextColor(kText);
             Pump();
             return InkOf(parent.Hwnd(), r, RecordingParent::kBackground);
         }},
        {"coloured edit", 13, 500,
         [&](RecordingParent& parent) {
             CClrEdit edit;
             edit.Create(WS_VISIBLE, RECT{20, 20, 380, 44}, parent.Hwnd(), 20483);
             edit.SetTextColor(kText);
             edit.SetBkColor(RGB(0, 0, 0));
             SetWindowTextW(edit.Hwnd(), text.c_str());
             Pump();
             return InkOf(edit.Hwnd(), RECT{0, 0, 360, 24}, RGB(0, 0, 0));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const int fixedWidth = TextWidth(fixed, c.Height, c.Weight, text);
        const int proportionalWidth = TextWidth(proportional, c.Height, c.Weight, text);
        // The two faces must tell themselves apart for the row to mean anything.
        ASSERT_GT(std::abs(fixedWidth - proportionalWidth), 20);
        for (const auto& [face, other] :
             {std::pair{fixed, proportional}, std::pair{proportional, fixed}}) {
            SCOPED_TRACE(testing::PrintToString(face));
            CControlGlobals::SetFaceName(face);
            RecordingParent parent;
            const Ink ink = c.Build(parent);
            const int own = TextWidth(face, c.Height, c.Weight, text);
            const int wrong = TextWidth(other, c.Height, c.Weight, text);
            EXPECT_GT(ink.Pixels, 0);
            EXPECT_LT(std::abs(ink.Width() - own), std::abs(ink.Width() - wrong))
                << "ink " << ink.Width() << ", this face " << own << ", the other " << wrong;
        }
    }
}

} // namespace
