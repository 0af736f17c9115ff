// The section reader gives what the platform's per-key reads give, on files crafted to hit its
// rules: case, duplicates, quotes, blanks, lines without '=', cuts at the capacity, both file
// encodings and missing sections or files.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"

#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace {

const std::wstring kLongDigits =
    L"0000000000000000000000000000000000000000000000000000000000000012";

// Lines of section "Setting" and the sections after it, shared by the ANSI and the UTF-16 file;
// each puts a line of its own characters first.
const std::wstring kCommon = L"  Alpha  =  12  \r\n"
                             L"alpha=99\r\n"
                             L"Beta=\"quoted value\"\r\n"
                             L"Gamma='single'\r\n"
                             L"Delta=\"mismatched'\r\n"
                             L"Eps=\"\r\n"
                             L"Zeta=\"\"\r\n"
                             L"Eta=\"  blanks inside  \"\r\n"
                             L"NoValue\r\n"
                             L"NoValue=5\r\n"
                             L"Num=\t-42 \r\n"
                             L"Quoted Int=\"17\"\r\n"
                             L"Big=99999999999\r\n"
                             L"Plus=+7\r\n"
                             L"Hex=0x10\r\n"
                             L"Empty=\r\n"
                             L"Equals=a=b\r\n"
                             L"; Comment=1\r\n"
                             L"MiXeD CaSe=mixed\r\n"
                             L"Long=" +
                             kLongDigits +
                             L"\r\n"
                             L"Bytes=\"0102FF0204\"\r\n"
                             L"BytesLong=\"0102FF02040\"\r\n"
                             L"BytesBare=0102FF0204\r\n"
                             L"[Other]\r\n"
                             L"Alpha=other\r\n"
                             L"[SETTING]\r\n"
                             L"Late=1\r\n"
                             L"Alpha=late\r\n";

const std::vector<std::wstring> kKeys = {
    L"Alpha", L"ALPHA",     L"Beta",      L"Gamma",      L"Delta",      L"Eps",        L"Zeta",
    L"Eta",   L"NoValue",   L"Num",       L"Quoted Int", L"quoted int", L"Big",        L"Plus",
    L"Hex",   L"Empty",     L"Equals",    L"Comment",    L"; Comment",  L"mixed case", L"Long",
    L"Bytes", L"BytesLong", L"BytesBare", L"Late",       L"Missing",    L"Name",
};

class CIniSectionTest : public ::testing::Test {
protected:
    TempFolder folder_;

    std::wstring WriteAnsi(const std::wstring& text) {
        std::string bytes;
        for (wchar_t c : text) {
            bytes.push_back(static_cast<char>(c));
        }
        const std::wstring path = folder_.File(L"ansi.ini");
        WriteFileBytes(path, bytes);
        return path;
    }

    std::wstring WriteUtf16(const std::wstring& text) {
        std::string bytes = "\xFF\xFE";
        for (wchar_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        const std::wstring path = folder_.File(L"utf16.ini");
        WriteFileBytes(path, bytes);
        return path;
    }
};

std::wstring PlatformString(const std::wstring& path, const wchar_t* section,
                            const std::wstring& key, const wchar_t* defaultValue) {
    std::array<wchar_t, 4096> buffer{};
    const DWORD length = GetPrivateProfileStringW(section, key.c_str(), defaultValue, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path.c_str());
    return std::wstring(buffer.data(), length);
}

// Every key at every small capacity and the usual ones, as strings, integers and structures,
// against the per-key reads and the platform's own.
void ExpectSameAsPlatform(const std::wstring& path, const wchar_t* sectionName) {
    const CIniFile ini(path);
    const CIniSection section(ini, sectionName);
    for (const std::wstring& key : kKeys) {
        SCOPED_TRACE(testing::Message() << "key " << testing::PrintToString(key));
        EXPECT_EQ(section.ReadString(key, L"dflt  "),
                  PlatformString(path, sectionName, key, L"dflt  "));
        for (std::size_t capacity :
             {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 64, 4096}) {
            EXPECT_EQ(section.ReadString(key, L"default", capacity),
                      ini.ReadString(sectionName, key, L"default", capacity))
                << "capacity " << capacity;
        }
        EXPECT_EQ(section.ReadString(key, L"", 0), L"");
        EXPECT_EQ(section.ReadInt(key, -5), ini.ReadInt(sectionName, key, -5));
        std::array<std::uint8_t, 4> fast = {9, 9, 9, 9};
        std::array<std::uint8_t, 4> slow = fast;
        EXPECT_EQ(section.ReadStruct(key, fast), ini.ReadStruct(sectionName, key, slow));
        EXPECT_EQ(fast, slow);
    }
    // Plain decimals read as the platform reads them (our parse clamps where it wraps, and keeps
    // the default for text where it gives 0).
    for (const wchar_t* key : {L"Num", L"Plus", L"Missing"}) {
        EXPECT_EQ(section.ReadInt(key, -5),
                  static_cast<int>(GetPrivateProfileIntW(sectionName, key, -5, path.c_str())))
            << testing::PrintToString(std::wstring(key));
    }
}

} // namespace

TEST_F(CIniSectionTest, AnsiFileReadsAsThePlatformReadsIt) {
    const std::wstring path =
        WriteAnsi(L"[Setting]\r\nName=K\xE4se und Br\xF6tchen fr\xFCh\r\n" + kCommon);
    ExpectSameAsPlatform(path, L"Setting");
    ExpectSameAsPlatform(path, L"setting");
    ExpectSameAsPlatform(path, L"Other");
    ExpectSameAsPlatform(path, L"Nowhere");

    const CIniSection section(CIniFile(path), L"Setting");
    EXPECT_EQ(section.ReadInt(L"ALPHA", 0), 12);
    EXPECT_EQ(section.ReadString(L"Beta", L""), L"quoted value");
    EXPECT_EQ(section.ReadString(L"Eta", L""), L"  blanks inside  ");
    EXPECT_EQ(section.ReadString(L"NoValue", L"d"), L"d");
}

TEST_F(CIniSectionTest, Utf16FileReadsAsThePlatformReadsIt) {
    const std::wstring path = WriteUtf16(
        L"[Setting]\r\nName=\x540D\x524D \xD83D\xDE00\xD83D\xDE00\xD83D\xDE00 \x0416\r\n" +
        kCommon);
    ExpectSameAsPlatform(path, L"Setting");
    ExpectSameAsPlatform(path, L"Other");
    ExpectSameAsPlatform(path, L"Nowhere");
    EXPECT_EQ(CIniSection(CIniFile(path), L"Setting").ReadString(L"Name", L""),
              L"\x540D\x524D \xD83D\xDE00\xD83D\xDE00\xD83D\xDE00 \x0416");
}

TEST_F(CIniSectionTest, MissingFileAndBareNameGiveDefaults) {
    ExpectSameAsPlatform(folder_.File(L"absent.ini"), L"Setting");
    const CIniSection bare(CIniFile(L"bare.ini"), L"Setting");
    EXPECT_EQ(bare.ReadString(L"Key", L"default", 4), L"def");
    EXPECT_EQ(bare.ReadString(L"Key", L"ends in blanks  "), L"ends in blanks  ");
    EXPECT_EQ(bare.ReadInt(L"Key", 3), 3);
}

TEST_F(CIniSectionTest, LargeSectionsAreReadWholeAndQuickly) {
    struct Case {
        int Keys;
        std::vector<int> Probes;
    };
    // A reader that searched the keys read so far for each new one took minutes for the largest
    // section; a linear one takes well under a second. The bound only catches the former.
    constexpr double kMaxSeconds = 30.0;
    const std::vector<Case> cases = {{3000, {0, 1, 1500, 2999}}, {150000, {0, 77777, 149999}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Keys);
        std::wstring text = L"[Big]\r\n";
        for (int i = 0; i < c.Keys; ++i) {
            text += L"Key" + std::to_wstring(i) + L"=" + std::to_wstring(i * 7) + L"\r\n";
        }
        // A duplicate at the end: the first one stays.
        text += L"KEY0=-1\r\n";
        const std::wstring path = WriteUtf16(text);
        const auto start = std::chrono::steady_clock::now();
        const CIniSection section(CIniFile(path), L"Big");
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  kMaxSeconds);
        for (int i : c.Probes) {
            EXPECT_EQ(section.ReadInt(L"key" + std::to_wstring(i), -1), i * 7);
        }
        EXPECT_EQ(section.ReadInt(L"Key" + std::to_wstring(c.Keys), -1), -1);
    }
}
