#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The test program carries the programs' manifest: it must be embedded, bring in common
// controls 6 and make the process per-monitor DPI aware.
TEST(Manifest, IsEmbeddedAndSelectsCommonControlsSixAndPerMonitorDpi) {
    EXPECT_NE(nullptr, FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST));
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &data));
    EXPECT_EQ(DPI_AWARENESS_PER_MONITOR_AWARE,
              GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()));
}

} // namespace
