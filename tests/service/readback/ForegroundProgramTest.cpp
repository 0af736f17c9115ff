// The real foreground-program lookup, on this test's own process.

#include "service/ForegroundProgram.h"

#include <gtest/gtest.h>

#include <string>

TEST(ForegroundProgram, SnapshotFindsThisTestByItsProcessId) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    const std::wstring own(path);
    const std::wstring expected = own.substr(own.find_last_of(L'\\') + 1);

    const auto name = ExecutableNameOfProcess(GetCurrentProcessId());
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(CompareStringOrdinal(name->c_str(), -1, expected.c_str(), -1, TRUE), CSTR_EQUAL)
        << "snapshot name " << std::string(name->begin(), name->end());
}

TEST(ForegroundProgram, UnknownProcessIdGivesNothing) {
    // Process ids are multiples of four; this one never names a process.
    EXPECT_FALSE(ExecutableNameOfProcess(0xFFFFFFF3).has_value());
}
