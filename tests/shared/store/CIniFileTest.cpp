#include "shared/store/CIniFile.h"

#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace {

class CIniFileTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::wstring path_ = folder_.File(L"test.ini");
    CIniFile ini_{path_};

    void WriteRaw(const wchar_t* value) {
        ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"K", value, path_.c_str()));
    }
};

constexpr std::array<std::uint8_t, 4> kBytes = {0x01, 0xAB, 0xFF, 0x10};

} // namespace

TEST_F(CIniFileTest, StructureFormatIsThePlatformsOwn) {
    std::array<std::uint8_t, 37> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 47 + 3);
    }
    ASSERT_TRUE(
        WritePrivateProfileStructW(L"S", L"Platform", bytes.data(), bytes.size(), path_.c_str()));
    ASSERT_TRUE(ini_.WriteStruct(L"S", L"Ours", bytes));

    EXPECT_EQ(ini_.ReadString(L"S", L"Platform", L""), ini_.ReadString(L"S", L"Ours", L""));
    std::array<std::uint8_t, 37> read{};
    EXPECT_TRUE(ini_.ReadStruct(L"S", L"Platform", read));
    EXPECT_EQ(bytes, read);
    EXPECT_EQ(L"01ABFF10BB", CIniFile::EncodeStruct(kBytes));
}

TEST_F(CIniFileTest, MalformedStructureLeavesTheBytesAsTheyWere) {
    const wchar_t* bad[] = {
        L"01ABFF10",     // checksum missing
        L"01ABFF10BA",   // wrong checksum
        L"01ABFF10BBBB", // extra digits that repeat the checksum
        L"01ABFF10BB00", // extra zero byte
        L"01ABFG10BB",   // not a hex digit
        L"01AB FF10BB",  // space inside
        L"",
    };
    for (const wchar_t* value : bad) {
        WriteRaw(value);
        std::array<std::uint8_t, 4> bytes = {9, 9, 9, 9};
        EXPECT_FALSE(ini_.ReadStruct(L"S", L"K", bytes)) << value;
        EXPECT_EQ((std::array<std::uint8_t, 4>{9, 9, 9, 9}), bytes);
    }
    std::array<std::uint8_t, 4> bytes = {9, 9, 9, 9};
    EXPECT_FALSE(ini_.ReadStruct(L"S", L"Missing", bytes));
    EXPECT_EQ((std::array<std::uint8_t, 4>{9, 9, 9, 9}), bytes);

    WriteRaw(L"01abff10bb");
    EXPECT_TRUE(ini_.ReadStruct(L"S", L"K", bytes));
    EXPECT_EQ(kBytes, bytes);
}

TEST_F(CIniFileTest, NewFileIsUtf16SoAnyNameSurvives) {
    const std::wstring name = L"Профиль 速い \U0001F5B1";
    ASSERT_TRUE(ini_.WriteString(L"GROUP", L"ProfileName", name));
    const std::string bytes = ReadFileBytes(path_);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xFE', bytes[1]);
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"Profile", 2));
    EXPECT_EQ(name, ini_.ReadString(L"GROUP", L"ProfileName", L""));
    EXPECT_EQ(2, ini_.ReadInt(L"Setting", L"Profile", -1));
}

TEST_F(CIniFileTest, ExistingFileKeepsItsEncoding) {
    WriteFileBytes(path_, "[Setting]\r\nDevice=1\r\n");
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"Profile", 3));
    const std::string bytes = ReadFileBytes(path_);
    EXPECT_EQ(std::string::npos, bytes.find('\0'));
    EXPECT_NE(std::string::npos, bytes.find("Profile=3"));
    EXPECT_EQ(1, ini_.ReadInt(L"Setting", L"Device", 0));
}

TEST_F(CIniFileTest, LineBreaksNeverReachTheFile) {
    ASSERT_TRUE(ini_.WriteInt(L"Setting", L"Profile", 1));
    ASSERT_TRUE(ini_.WriteString(L"GROUP", L"ProfileName", L"Evil\r\n[Setting]\r\nProfile=4\n"));
    ASSERT_TRUE(ini_.WriteString(L"PROFILE_LIST", L"a\r\nb", L"x"));

    EXPECT_EQ(1, ini_.ReadInt(L"Setting", L"Profile", -1));
    EXPECT_EQ(L"Evil[Setting]Profile=4", ini_.ReadString(L"GROUP", L"ProfileName", L""));
    EXPECT_EQ(L"x", ini_.ReadString(L"PROFILE_LIST", L"ab", L""));
    int sections = 0;
    for (const std::wstring& line : ReadIniLines(path_)) {
        sections += line == L"[Setting]";
    }
    EXPECT_EQ(1, sections);
}

TEST_F(CIniFileTest, WritesReportFailure) {
    const CIniFile missingFolder(folder_.File(L"no such folder\\test.ini"));
    EXPECT_FALSE(missingFolder.WriteInt(L"S", L"K", 1));
    EXPECT_FALSE(missingFolder.WriteString(L"S", L"K", L"v"));
    EXPECT_FALSE(missingFolder.WriteStruct(L"S", L"K", kBytes));

    ASSERT_TRUE(CreateDirectoryW(folder_.File(L"folder.ini").c_str(), nullptr));
    EXPECT_FALSE(CIniFile(folder_.File(L"folder.ini")).WriteInt(L"S", L"K", 1));

    // A bare name would land in the Windows folder.
    const CIniFile bare(L"v212-store-test.ini");
    EXPECT_FALSE(bare.WriteInt(L"S", L"K", 1));
    EXPECT_EQ(7, bare.ReadInt(L"S", L"K", 7));
}

TEST_F(CIniFileTest, IntegersAreDecimalWithDefaultsAndClamping) {
    struct Case {
        const wchar_t* text;
        int expected;
    };
    const Case cases[] = {
        {L"-1", -1},
        {L"12", 12},
        {L"12abc", 12},
        {L"+5", 5},
        {L"abc", 42},
        {L"", 42},
        {L"-", 42},
        {L"2147483647", INT_MAX},
        {L"99999999999999999999", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        WriteRaw(c.text);
        EXPECT_EQ(c.expected, ini_.ReadInt(L"S", L"K", 42)) << c.text;
    }
    EXPECT_EQ(42, ini_.ReadInt(L"S", L"Missing", 42));
    ASSERT_TRUE(ini_.WriteInt(L"S", L"K", INT_MIN));
    EXPECT_EQ(INT_MIN, ini_.ReadInt(L"S", L"K", 0));
}

TEST_F(CIniFileTest, StringsAreCutAtTheCapacity) {
    const std::wstring longText(5000, L'x');
    ASSERT_TRUE(ini_.WriteString(L"S", L"K", longText));
    EXPECT_EQ(std::wstring(4095, L'x'), ini_.ReadString(L"S", L"K", L""));
    EXPECT_EQ(std::wstring(9, L'x'), ini_.ReadString(L"S", L"K", L"", 10));
    EXPECT_EQ(L"dflt", ini_.ReadString(L"S", L"Missing", L"dflt"));

    // Never half a surrogate pair at the cut.
    ASSERT_TRUE(ini_.WriteString(L"S", L"K", L"abc\U0001F5B1"));
    EXPECT_EQ(L"abc", ini_.ReadString(L"S", L"K", L"", 5));
}
