#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace {

// The test program carries the programs' manifest: it must be embedded and bring in common
// controls 6. The programs lay out windows, skin and fonts in pixels at 96 dpi, so they leave
// scaling to the system: DPI unaware (no newer setting that would override that), with GDI
// scaling, which draws their text sharp on a scaled display. The settings are read from the
// manifest: Wine reports every process as DPI aware whatever it declares.
TEST(Manifest, IsEmbeddedAndSelectsCommonControlsSixAndSystemScaling) {
    EXPECT_NE(nullptr, FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST));
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &data));
    struct Setting {
        const wchar_t* space;
        const wchar_t* name;
        std::optional<std::wstring> value;
    };
    const Setting settings[] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"false"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", std::nullopt},
        {L"http://schemas.microsoft.com/SMI/2017/WindowsSettings", L"gdiScaling", L"true"},
    };
    for (const Setting& setting : settings) {
        std::array<wchar_t, 64> value{};
        SIZE_T written = 0;
        const bool found = QueryActCtxSettingsW(0, nullptr, setting.space, setting.name,
                                                value.data(), value.size(), &written) != FALSE;
        EXPECT_EQ(setting.value, found ? std::optional<std::wstring>(value.data()) : std::nullopt)
            << setting.name;
    }
}

} // namespace
