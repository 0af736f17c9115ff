#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        path_ =
            fs::temp_directory_path() / (L"v212_codes_" + std::to_wstring(GetCurrentProcessId()) +
                                         L"_" + std::to_wstring(++counter));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // With the trailing backslash, as the macro folder is given.
    std::wstring Folder() const { return path_.wstring() + L"\\"; }
    std::wstring File(const wchar_t* name) const { return (path_ / name).wstring(); }
    bool IsEmpty() const { return fs::is_empty(path_); }

private:
    fs::path path_;
};

std::vector<std::uint8_t> ReadAllBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path TestProgramFolder() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    return fs::path(module).parent_path();
}

std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text) {
    std::vector<std::uint8_t> bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

MacroEventBuffer Garbage() {
    MacroEventBuffer events;
    events.fill(MacroEvent{0x55, 0x66, 0x77});
    return events;
}

// Events that differ in every slot, so a shifted or cut block shows.
MacroEventBuffer Numbered(int count) {
    MacroEventBuffer events{};
    for (int i = 0; i < count; ++i) {
        events[i] = i % 3 == 2 ? MacroEvent::DelayEvent(static_cast<std::uint16_t>(i * 300 + 1))
                               : MacroEvent::KeyEvent(static_cast<std::uint8_t>(4 + i), i % 3 == 0);
    }
    return events;
}

class MacroFileRoundTrip : public testing::TestWithParam<int> {};

TEST_P(MacroFileRoundTrip, ReadsBackWhatWasWritten) {
    TempFolder folder;
    const int count = GetParam();
    std::optional<MacroFile> file = MacroFile::ForName(folder.Folder(), L"Round trip");
    ASSERT_TRUE(file);
    const MacroEventBuffer written = Numbered(count);
    ASSERT_TRUE(file->Write(written, count, 7));

    MacroEventBuffer read = Garbage();
    int readCount = -1;
    EXPECT_TRUE(file->Read(read, readCount));
    EXPECT_EQ(count, readCount);
    EXPECT_EQ(written, read);
    EXPECT_EQ(7, file->ReadLoopTime());
    EXPECT_EQ(file->Path(), CIniFile(file->Path()).ReadString(L"Setting", L"MacroFilePath", L""));
}

INSTANTIATE_TEST_SUITE_P(Counts, MacroFileRoundTrip, testing::Values(0, 1, 60));

// A file whose count key says `countText` over a well-formed block of 60 events.
class MacroFileBadCount : public testing::TestWithParam<std::pair<const wchar_t*, int>> {};

TEST_P(MacroFileBadCount, CountIsClampedToTheBuffer) {
    TempFolder folder;
    const MacroFile file(folder.File(L"Bad count.MACRO"));
    ASSERT_TRUE(file.Write(Numbered(60), 60, 0));
    ASSERT_TRUE(CIniFile(file.Path()).WriteString(L"Setting", L"Count", GetParam().first));

    MacroEventBuffer read{};
    int count = -7;
    EXPECT_TRUE(file.Read(read, count));
    EXPECT_EQ(GetParam().second, count);
    EXPECT_EQ(Numbered(60), read);
}

INSTANTIATE_TEST_SUITE_P(Counts, MacroFileBadCount,
                         testing::Values(std::pair(L"61", 60), std::pair(L"-1", 0),
                                         std::pair(L"100000", 60), std::pair(L"-2147483648", 0),
                                         std::pair(L"many", 0)));

TEST(MacroFile, WrittenCountIsClamped) {
    TempFolder folder;
    const MacroFile file(folder.File(L"Clamp.MACRO"));
    const CIniFile ini(file.Path());
    ASSERT_TRUE(file.Write(Numbered(60), 61, 0));
    EXPECT_EQ(60, ini.ReadInt(L"Setting", L"Count", -1));
    ASSERT_TRUE(file.Write(Numbered(60), -5, 0));
    EXPECT_EQ(0, ini.ReadInt(L"Setting", L"Count", -1));
}

TEST(MacroFile, UnreadableEventsGiveAnEmptyMacro) {
    TempFolder folder;
    const MacroFile file(folder.File(L"Broken.MACRO"));
    const CIniFile ini(file.Path());
    ASSERT_TRUE(file.Write(Numbered(10), 10, 0));
    std::wstring block = ini.ReadString(L"Setting", L"MacroSetting_0", L"");
    ASSERT_EQ(362u, block.size());

    struct Case {
        const char* Name;
        std::wstring Value;
    };
    std::wstring badChecksum = block;
    badChecksum.back() = badChecksum.back() == L'0' ? L'1' : L'0';
    std::wstring badDigit = block;
    badDigit[4] = L'G';
    for (const Case& c : {Case{"checksum", badChecksum}, Case{"short", block.substr(2)},
                          Case{"digit", badDigit}, Case{"empty", L""}}) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(ini.WriteString(L"Setting", L"MacroSetting_0", c.Value));
        MacroEventBuffer read = Garbage();
        int count = -1;
        EXPECT_FALSE(file.Read(read, count));
        EXPECT_EQ(0, count);
        EXPECT_EQ(MacroEventBuffer{}, read);
    }
}

TEST(MacroFile, MissingEventKeyOrFileGivesAnEmptyMacro) {
    TempFolder folder;
    const MacroFile noEvents(folder.File(L"No events.MACRO"));
    ASSERT_TRUE(CIniFile(noEvents.Path()).WriteInt(L"Setting", L"Count", 5));
    const MacroFile missing(folder.File(L"Missing.MACRO"));

    for (const MacroFile* file : {&noEvents, &missing}) {
        SCOPED_TRACE(testing::Message() << file->Path().size());
        MacroEventBuffer read = Garbage();
        int count = -1;
        EXPECT_FALSE(file->Read(read, count));
        EXPECT_EQ(0, count);
        EXPECT_EQ(MacroEventBuffer{}, read);
        EXPECT_EQ(0, file->ReadLoopTime());
    }
    EXPECT_FALSE(fs::exists(missing.Path()));
}

TEST(MacroFile, KeyPressedAndReleased) {
    TempFolder folder;
    const MacroFile file(folder.File(L"Key.MACRO"));
    std::vector<std::uint8_t> bytes(180, 0);
    const std::uint8_t events[] = {0x84, 0x04, 0x00, 0x04, 0x04, 0x00};
    std::copy(std::begin(events), std::end(events), bytes.begin());
    const CIniFile ini(file.Path());
    ASSERT_TRUE(ini.WriteInt(L"Setting", L"Count", 2));
    ASSERT_TRUE(ini.WriteStruct(L"Setting", L"MacroSetting_0", bytes));

    MacroEventBuffer read{};
    int count = 0;
    ASSERT_TRUE(file.Read(read, count));
    EXPECT_EQ(2, count);
    EXPECT_EQ(MacroEvent::KeyEvent(4, true), read[0]);
    EXPECT_EQ(MacroEvent::KeyEvent(4, false), read[1]);
}

TEST(MacroFile, DefaultFlagOnlyWhenGiven) {
    TempFolder folder;
    const MacroFile file(folder.File(L"Flag.MACRO"));
    const CIniFile ini(file.Path());
    ASSERT_TRUE(file.Write(Numbered(3), 3, 9));
    EXPECT_EQ(-1, ini.ReadInt(L"Setting", L"IsDef", -1));
    ASSERT_TRUE(file.Write(Numbered(3), 3, 0, true));
    EXPECT_EQ(1, ini.ReadInt(L"Setting", L"IsDef", -1));
    EXPECT_EQ(0, file.ReadLoopTime());
    ASSERT_TRUE(file.WriteLoopTime(12));
    EXPECT_EQ(12, file.ReadLoopTime());
}

TEST(MacroFile, UnsafeNamesFormNoFile) {
    TempFolder folder;
    const std::wstring longName(MAX_PATH, L'a');
    for (const std::wstring& name :
         {std::wstring(L""), std::wstring(L".."), std::wstring(L"..\\up"), std::wstring(L"a/b"),
          std::wstring(L"a\\b"), std::wstring(L"C:x"), std::wstring(L"tab\there"), longName}) {
        EXPECT_FALSE(MacroFile::ForName(folder.Folder(), name)) << name.size();
    }
    EXPECT_FALSE(MacroFile::ForName(L"", L"Fine"));
    EXPECT_TRUE(folder.IsEmpty());

    std::optional<MacroFile> file = MacroFile::ForName(folder.Folder(), L"Fine name");
    ASSERT_TRUE(file);
    EXPECT_EQ(folder.Folder() + L"Fine name.MACRO", file->Path());
}

// The file format pinned byte for byte; the expected file holds "@PATH@" where the file's own
// path goes.
TEST(MacroFile, GoldenFile) {
    TempFolder folder;
    std::optional<MacroFile> file = MacroFile::ForName(folder.Folder(), L"Golden");
    ASSERT_TRUE(file);
    MacroEventBuffer events{};
    events[0] = MacroEvent::KeyEvent(0x04, true);
    events[1] = MacroEvent::DelayEvent(MacroDelayUnits(3000));
    events[2] = MacroEvent::KeyEvent(0x04, false);
    events[3] = MacroEvent::MouseButtonEvent(1, true);
    events[4] = MacroEvent::DelayEvent(MacroDelayUnits(70000));
    events[5] = MacroEvent::MouseButtonEvent(1, false);
    ASSERT_TRUE(file->Write(events, 6, 3));

    std::vector<std::uint8_t> expected =
        ReadAllBytes(TestProgramFolder() / L"codes_data" / L"Golden.MACRO");
    ASSERT_FALSE(expected.empty());
    const std::vector<std::uint8_t> marker = Utf16Bytes(L"@PATH@");
    auto at = std::search(expected.begin(), expected.end(), marker.begin(), marker.end());
    ASSERT_NE(expected.end(), at);
    const std::vector<std::uint8_t> path = Utf16Bytes(file->Path());
    at = expected.erase(at, at + marker.size());
    expected.insert(at, path.begin(), path.end());

    EXPECT_EQ(expected, ReadAllBytes(file->Path()));
}

} // namespace
