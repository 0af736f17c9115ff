#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"
#include "tests/tolvane/ServiceHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<char> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// The program folder's "Mouse.ini" is what a new user starts from: the store's reset and
// default values, byte for byte as the store itself writes them.
TEST(TemplateSettings, EqualsTheStoresFilledDefaults) {
    const auto written = std::filesystem::temp_directory_path() / L"V212TemplateCheck.ini";
    std::filesystem::remove(written);
    SettingsRecord record{};
    SettingsRecord_Reset(record);
    ASSERT_EQ(1, SettingsRecord_FillDefaults(record, 0));
    ASSERT_EQ(1, SettingsIni_Write(record, written.wstring()));

    const auto expected = FileBytes(written);
    const auto shipped = FileBytes(ServiceHarness::ProgramFolder() + L"\\Mouse.ini");
    std::filesystem::remove(written);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, shipped);
}
