// A whole-file write must leave what the platform's own key writes leave, as the platform reads
// it, while every line that no key names stays as it stood: comments, blank lines, other keys,
// the file's encoding.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniText.h"

#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Keys = std::vector<std::pair<std::wstring, std::wstring>>;

std::string Utf16(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::string Utf16BigEndian(const std::wstring& text) {
    std::string bytes = "\xFE\xFF";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return bytes;
}

// Keys as the settings writer has them: numbers, a structure and a name.
Keys Standard() {
    const std::array<std::uint8_t, 4> stage = {0x40, 0x06, 0, 0};
    return {{L"Profile", L"2"},
            {L"TrayEnabled", L"1"},
            {L"DPI_INFO1", CIniFile::EncodeStruct(stage)},
            {L"Name", L"Game"}};
}

Keys With(const std::wstring& key, const std::wstring& value) {
    Keys keys = Standard();
    keys.emplace(keys.begin(), key, value);
    return keys;
}

// Every section the platform finds in the file, as it lists them.
std::vector<std::wstring> PlatformView(const std::wstring& path) {
    std::vector<wchar_t> names(65536);
    const DWORD length = GetPrivateProfileSectionNamesW(names.data(), 65536, path.c_str());
    std::vector<std::wstring> view;
    for (const std::wstring_view name : CIniFile::ListEntries({names.data(), length})) {
        std::vector<wchar_t> section(65536);
        const std::wstring n(name);
        const DWORD size =
            GetPrivateProfileSectionW(n.c_str(), section.data(), 65536, path.c_str());
        view.push_back(L"[" + n + L"]");
        for (const std::wstring_view entry : CIniFile::ListEntries({section.data(), size})) {
            view.emplace_back(entry);
        }
    }
    return view;
}

// The file's lines but those that name one of the keys.
std::vector<std::wstring> OtherLines(const std::wstring& path, const Keys& keys) {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : ReadIniLines(path)) {
        std::wstring name = line.substr(0, line.find(L'='));
        name.erase(0, name.find_first_not_of(L" \t"));
        name.erase(name.find_last_not_of(L" \t") + 1);
        // A section that the write had to add.
        bool named = line == L"[Setting]";
        for (const auto& [key, value] : keys) {
            named = named ||
                    CompareStringOrdinal(name.c_str(), -1, key.c_str(), -1, TRUE) == CSTR_EQUAL;
        }
        if (!named) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

TEST(CIniTextTest, WholeFileWriteReadsAsThePlatformsKeyWritesAndKeepsEveryOtherLine) {
    struct Case {
        const char* Name;
        std::optional<std::string> File; // nothing: no file yet
        Keys Keys;
        // What the written file starts with.
        std::string Mark = "\xFF\xFE";
        // The platform writes '?' for a character the file's code page lacks; ours keeps it.
        bool PlatformLoses = false;
    };
    const std::vector<Case> cases = {
        {"missing file", std::nullopt, Standard()},
        {"empty file", std::string(), Standard()},
        {"section missing", Utf16(L"[PROFILE_LIST]\r\nProfileCount=2\r\n[GROUP]\r\nDPI=3\r\n"),
         Standard()},
        {"foreign keys and blank lines keep their places",
         Utf16(L"top=1\r\n\r\n[GROUP]\r\nDPI=1\r\n\r\n[Setting]\r\nDevice=1\r\nProfile=0\r\n"
               L"AutoProfile=Game\r\nDPI_INFO1=00\r\nMouseID=7\r\n\r\n\r\n[MACRO_LIST]\r\n3="
               L"Combo\r\n"),
         Standard()},
        {"names in other case and blanks",
         Utf16(
             L"  [setting]  \r\n  profile  =  0  \r\nTRAYENABLED=\"1\"\r\n\r\n\r\n[Other]\r\nx=1"),
         Standard()},
        {"duplicates: the first replaced, later ones kept",
         Utf16(L"[Setting]\r\nProfile=0\r\nProfile=4\r\nprofile=5\r\nName=x\r\n"), Standard()},
        {"ANSI file", std::string("[Setting]\r\nProfile=0\r\nOwner=K\xE4se\r\n"),
         With(L"Title", L"G\xE4me"), ""},
        {"ANSI file and a name its code page cannot hold",
         std::string("[Setting]\r\nProfile=0\r\nOwner=K\xE4se\r\n"),
         With(L"Title", L"G\xE4me \x901F"), "\xFF\xFE", true},
        {"UTF-8 file with mark", std::string("\xEF\xBB\xBF[Setting]\r\nOwner=\xC3\xA4\r\n"),
         With(L"Title", L"\x901F"), "\xEF\xBB\xBF"},
        {"UTF-16 big-endian file", Utf16BigEndian(L"[Setting]\r\nOwner=\x901F\r\n"), Standard(),
         "\xFE\xFF"},
        {"line breaks removed", Utf16(L""), With(L"Title", L"Evil\r\n[Setting]\r\nProfile=4")},
        {"'=' inside a value", Utf16(L"[Setting]\r\nLink=a=b\r\n"), With(L"Title", L"x=y")},
        {"comment lines", Utf16(L"; head\r\n[Setting]\r\n; kept=1\r\nProfile=0\r\n"), Standard()},
        {"line without '='", Utf16(L"[Setting]\r\nProfile=0\r\nLoose\r\nName=x\r\n"), Standard()},
        {"line without '=' that names a key", Utf16(L"[Setting]\r\nName\r\nName=x\r\n"),
         Standard()},
        {"section twice", Utf16(L"[Setting]\r\nProfile=0\r\n[GROUP]\r\n[ SETTING ]\r\nLate=1\r\n"),
         Standard()},
        {"a value over 32767 characters", Utf16(L""), With(L"Big", std::wstring(40000, L'x'))},
        {"values with blanks at their ends", Utf16(L""), With(L"Title", L" Game ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder folder;
        const std::wstring ours = folder.File(L"ours.ini");
        const std::wstring platform = folder.File(L"platform.ini");
        if (c.File) {
            WriteFileBytes(ours, *c.File);
            WriteFileBytes(platform, *c.File);
        }
        ASSERT_TRUE(CIniFile(ours).Change([&](CIniText& text) {
            for (const auto& [key, value] : c.Keys) {
                text.Set(L"Setting", key, value);
            }
        }));
        for (const auto& [key, value] : c.Keys) {
            // Line breaks never reach a file of ours: they would start lines of their own.
            ASSERT_TRUE(WritePrivateProfileStringW(L"Setting", key.c_str(),
                                                   CIniFile::WithoutLineBreaks(value).c_str(),
                                                   platform.c_str()));
        }
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, platform.c_str());
        if (c.PlatformLoses) {
            EXPECT_EQ(CIniFile(ours).ReadString(L"Setting", L"Title", L""), c.Keys[0].second);
        } else {
            EXPECT_EQ(PlatformView(platform), PlatformView(ours));
        }
        const std::string written = ReadFileBytes(ours);
        EXPECT_TRUE(written.starts_with(c.Mark)) << testing::PrintToString(written.substr(0, 4));
        if (c.File && c.Mark == "\xFF\xFE" && c.File->starts_with(c.Mark)) {
            WriteFileBytes(folder.File(L"before.ini"), *c.File);
            EXPECT_EQ(OtherLines(folder.File(L"before.ini"), c.Keys), OtherLines(ours, c.Keys));
        }
    }
}

TEST(CIniTextTest, HeldValuesLeaveTheFileUntouchedAndSectionsAreReplacedWhole) {
    TempFolder folder;
    const std::wstring path = folder.File(L"test.ini");
    const std::string held = Utf16(L"[Setting]\r\n  Profile =  2 \r\n\r\nTrayEnabled=1\r\n"
                                   L"DPI_INFO1=4006000046\r\n\r\nname=Game\r\n\r\n");
    WriteFileBytes(path, held);
    const FILETIME stamp{1, 0x01DB0000};
    {
        const HANDLE file =
            CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &stamp);
        CloseHandle(file);
    }
    ASSERT_TRUE(CIniFile(path).Change([](CIniText& text) {
        for (const auto& [key, value] : Standard()) {
            text.Set(L"Setting", key, value);
        }
    }));
    EXPECT_EQ(held, ReadFileBytes(path));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, stamp.dwLowDateTime);

    WriteFileBytes(path, Utf16(L"[A]\r\nx=1\r\n[List]\r\n; note\r\nold=1\r\nLoose\r\n\r\n[B]\r\n"
                               L"y=2\r\n"));
    const std::vector<std::wstring> entries = {L"0=First", L"1=Second"};
    ASSERT_TRUE(CIniFile(path).ReplaceSection(L"LIST", entries));
    EXPECT_EQ(ReadFileBytes(path),
              Utf16(L"[A]\r\nx=1\r\n[List]\r\n0=First\r\n1=Second\r\n\r\n[B]\r\ny=2\r\n"));
    ASSERT_TRUE(CIniFile(path).ReplaceSection(L"List", {}));
    EXPECT_EQ(ReadFileBytes(path), Utf16(L"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"));
    ASSERT_TRUE(CIniFile(path).ReplaceSection(L"New", entries));
    EXPECT_EQ(CIniFile(path).ReadString(L"New", L"1", L""), L"Second");
}

TEST(CIniTextTest, FailuresLeaveTheFileAsItWas) {
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"folder.ini").c_str(), nullptr));
    const std::wstring held = folder.File(L"held.ini");
    WriteFileBytes(held, Utf16(L"[Setting]\r\nProfile=1\r\n"));
    const HANDLE holder =
        CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    for (const std::wstring& path : {folder.File(L"gone\\test.ini"), folder.File(L"folder.ini"),
                                     std::wstring(L"v212-ini-text-test.ini"), held}) {
        SCOPED_TRACE(testing::PrintToString(path));
        EXPECT_FALSE(CIniFile(path).WriteInt(L"Setting", L"Profile", 3));
    }
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(held), Utf16(L"[Setting]\r\nProfile=1\r\n"));
    EXPECT_EQ(GetFileAttributesW(folder.File(L"held.ini.saving").c_str()), INVALID_FILE_ATTRIBUTES);
}
