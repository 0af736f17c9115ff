// A section update must leave the bytes that writing its keys one by one leaves, on files
// crafted to hit the platform's rules, and take the one section write wherever that is safe.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSectionUpdate.h"

#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Outcome = CIniSectionUpdate::Outcome;
using Keys = std::vector<std::pair<std::wstring, std::wstring>>;

std::string Utf16(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
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

// The key first, so that the writes after it load the file it was written to again.
Keys With(const std::wstring& key, const std::wstring& value) {
    Keys keys = Standard();
    keys.emplace(keys.begin(), key, value);
    return keys;
}

CIniSectionUpdate UpdateOf(const Keys& keys, bool ownsAllKeys = false) {
    CIniSectionUpdate update(L"Setting");
    if (ownsAllKeys) {
        update.OwnAllKeys();
    }
    for (const auto& [key, value] : keys) {
        update.Add(key, value);
    }
    return update;
}

const std::wstring kHeld = L"[Setting]\r\n  Profile =  2 \r\n\r\nTrayEnabled=1\r\n"
                           L"DPI_INFO1=4006000046\r\n\r\nname=Game\r\n\r\n";

} // namespace

TEST(CIniSectionUpdateTest, SectionWriteLeavesTheBytesOfKeyByKeyWrites) {
    struct Case {
        const char* Name;
        std::optional<std::string> File; // nothing: no file yet
        Keys Keys;
        Outcome Route;
        // The writer owns the section: its key "Stale" goes.
        bool OwnsAllKeys = false;
    };
    const std::wstring big(40000, L'x');
    const std::vector<Case> cases = {
        {"missing file", std::nullopt, Standard(), Outcome::WholeSection},
        {"section missing", Utf16(L"[PROFILE_LIST]\r\nProfileCount=2\r\n[GROUP]\r\nDPI=3\r\n"),
         Standard(), Outcome::WholeSection},
        {"foreign keys keep their places",
         Utf16(L"top=1\r\n[GROUP]\r\nDPI=1\r\n[Setting]\r\nDevice=1\r\nProfile=0\r\nAutoProfile="
               L"Game\r\nDPI_INFO1=00\r\nMouseID=7\r\n[MACRO_LIST]\r\n3=Combo\r\n"),
         Standard(), Outcome::WholeSection},
        {"names in other case and blanks",
         Utf16(
             L"  [setting]  \r\n  profile  =  0  \r\nTRAYENABLED=\"1\"\r\n\r\n\r\n[Other]\r\nx=1"),
         Standard(), Outcome::WholeSection},
        {"duplicates: the first replaced, later ones kept",
         Utf16(L"[Setting]\r\nProfile=0\r\nProfile=4\r\nprofile=5\r\nName=x\r\n"), Standard(),
         Outcome::WholeSection},
        {"values held already: the file untouched", Utf16(kHeld), Standard(), Outcome::Unchanged},
        {"ANSI file", std::string("[Setting]\r\nProfile=0\r\nOwner=K\xE4se\r\n"),
         With(L"Title", L"G\xE4me \x901F"), Outcome::WholeSection},
        {"UTF-8 file with mark", std::string("\xEF\xBB\xBF[Setting]\r\nOwner=\xC3\xA4\r\n"),
         Standard(), Outcome::WholeSection},
        {"line breaks removed", Utf16(L""), With(L"Title", L"Evil\r\n[Setting]\r\nProfile=4"),
         Outcome::WholeSection},
        {"'=' inside a value", Utf16(L"[Setting]\r\nLink=a=b\r\n"), With(L"Title", L"x=y"),
         Outcome::WholeSection},
        {"comment line", Utf16(L"[Setting]\r\n; kept=1\r\nProfile=0\r\n"), Standard(),
         Outcome::KeyByKey},
        {"';' in another section", Utf16(L"[Setting]\r\nProfile=0\r\n[L]\r\n0=C:\\a;b.exe\r\n"),
         Standard(), Outcome::KeyByKey},
        {"line without '='", Utf16(L"[Setting]\r\nProfile=0\r\nLoose\r\nName=x\r\n"), Standard(),
         Outcome::KeyByKey},
        {"line without a name", Utf16(L"[Setting]\r\n=x\r\nProfile=0\r\n"), Standard(),
         Outcome::KeyByKey},
        {"section twice", Utf16(L"[Setting]\r\nProfile=0\r\n[GROUP]\r\n[ SETTING ]\r\nLate=1\r\n"),
         Standard(), Outcome::KeyByKey},
        {"section twice in a UTF-8 file",
         std::string("\xEF\xBB\xBF[Setting]\r\nProfile=0\r\n[Setting]\r\nLate=1\r\n"), Standard(),
         Outcome::KeyByKey},
        {"section name that may fold onto ours",
         Utf16(L"[Setting]\r\nProfile=0\r\n[SETT\x0131NG]\r\nLate=1\r\n"), Standard(),
         Outcome::KeyByKey},
        {"key name that may fold onto ours", Utf16(L"[Setting]\r\nPROF\x0131LE=0\r\n"), Standard(),
         Outcome::KeyByKey},
        {"section over the size limit", Utf16(L"[Setting]\r\nBig=" + big + L"\r\n"), Standard(),
         Outcome::KeyByKey},
        {"keys over the size limit", Utf16(L""), With(L"Big", big), Outcome::KeyByKey},
        {"trailing blank", Utf16(L""), With(L"Title", L"Game "), Outcome::KeyByKey},
        {"ideographic space", Utf16(L""), With(L"Title", L"Game\x3000"), Outcome::KeyByKey},
        {"key added twice", Utf16(L""), With(L"Profile", L"4"), Outcome::KeyByKey},
        {"zero inside a value", Utf16(L""), With(L"Title", std::wstring(L"a\0Profile=4", 11)),
         Outcome::KeyByKey},
        {"UTF-16 without mark", std::string("[\0S\0]\0\r\0\n\0", 12), Standard(),
         Outcome::KeyByKey},
        {"owned section: other keys removed",
         Utf16(L"[Setting]\r\nstale=1\r\nProfile=0\r\nStale=2\r\n[Other]\r\nStale=3\r\n"),
         Standard(), Outcome::WholeSection, true},
        {"owned section with a comment and a line without '='",
         Utf16(L"[Setting]\r\n; kept=1\r\nStale=1\r\nLoose\r\nProfile=0\r\n[Other]\r\n"
               L"Stale=3\r\n"),
         Standard(), Outcome::KeyByKey, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder folder;
        const std::wstring fast = folder.File(L"fast.ini");
        const std::wstring slow = folder.File(L"slow.ini");
        if (c.File) {
            WriteFileBytes(fast, *c.File);
            WriteFileBytes(slow, *c.File);
        }
        const CIniSectionUpdate update = UpdateOf(c.Keys, c.OwnsAllKeys);
        EXPECT_EQ(c.Route, update.Write(CIniFile(fast)));
        ASSERT_EQ(Outcome::KeyByKey, update.WriteKeyByKey(CIniFile(slow)));
        EXPECT_EQ(ReadFileBytes(slow), ReadFileBytes(fast));
        if (c.OwnsAllKeys) {
            EXPECT_EQ(CIniFile(fast).ReadString(L"Setting", L"Stale", L"-"), L"-");
            EXPECT_EQ(CIniFile(fast).ReadString(L"Other", L"Stale", L"-"), L"3");
        }
        if (c.Route == Outcome::Unchanged) {
            EXPECT_EQ(*c.File, ReadFileBytes(fast));
        }
    }
}

TEST(CIniSectionUpdateTest, FailuresAreReportedAsKeyByKeyWritesReportThem) {
    struct Case {
        const char* Name;
        std::wstring File;
        Outcome Route;
    };
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"folder.ini").c_str(), nullptr));
    const std::vector<Case> cases = {
        {"missing folder", folder.File(L"gone\\test.ini"), Outcome::Failed},
        {"a folder, not a file", folder.File(L"folder.ini"), Outcome::Failed},
        {"bare name", L"v212-section-update-test.ini", Outcome::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const CIniSectionUpdate update = UpdateOf(Standard());
        EXPECT_EQ(c.Route, update.Write(CIniFile(c.File)));
        EXPECT_EQ(Outcome::Failed, update.WriteKeyByKey(CIniFile(c.File)));
    }
}
