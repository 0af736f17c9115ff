#include "tests/skins/SkinLists.h"

#include "shared/lang/ReadXmlValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The interface font of the language file exists where the programs run, and the fixed Chinese
// texts of the dialogs render in it as glyphs rather than as empty boxes.

namespace {
std::wstring FaceName() {
    return ReadXmlValue(SkinLists::BuiltFile(L"Strings.xml"), L"FONT", L"MAIN");
}

// The pixels of `text` drawn in black on white with the face at the given height.
std::vector<DWORD> Render(const std::wstring& face, const std::wstring& text, int height,
                          std::wstring* chosenFace = nullptr) {
    const int width = 64;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -32, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, 32, WHITENESS);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                             face.c_str());
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 2, 2, text.c_str(), static_cast<int>(text.size()));
    if (chosenFace != nullptr) {
        wchar_t name[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, name);
        *chosenFace = name;
    }
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * 32);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

TEST(SkinFont, TheInterfaceFaceExists) {
    const std::wstring face = FaceName();
    ASSERT_FALSE(face.empty());
    std::wstring chosen;
    Render(face, L"Aa", 14, &chosen);
    EXPECT_EQ(face, chosen) << "the face is replaced by another one";
}

// Two different characters drawn the same are the missing-glyph box.
TEST(SkinFont, FixedChineseTextsRenderAsGlyphs) {
    struct Row {
        const wchar_t* first;
        const wchar_t* second;
        int height;
    };
    const Row rows[] = {
        {L"\u63D0", L"\u793A", 18}, // the warning title
        {L"\u5DE6", L"\u53F3", 15}, // the rapid-fire menu entries
        {L"\u8F6F", L"\u786C", 14}, // the firmware dialog's version labels
    };
    const std::wstring face = FaceName();
    for (const Row& row : rows) {
        const std::vector<DWORD> first = Render(face, row.first, row.height);
        const std::vector<DWORD> second = Render(face, row.second, row.height);
        const auto inked = std::count_if(first.begin(), first.end(),
                                         [](DWORD p) { return (p & 0xFFFFFF) != 0xFFFFFF; });
        EXPECT_GT(inked, 0);
        EXPECT_NE(first, second) << "height " << row.height;
    }
}
} // namespace
