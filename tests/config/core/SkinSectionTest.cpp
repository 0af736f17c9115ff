#include "config/core/SkinSection.h"

#include "config/core/ProgramFolder.h"
#include "config/core/SkinFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <windows.h>

// A section read in one go gives every key the value a single read of it gives.

namespace {
// A program folder of the test's own with an empty "skins" folder.
void MakeProgramFolder() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (L"v212skinsection" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / L"skins");
    ProgramFolder::Set(folder.wstring() + L"\\");
}

void WriteIni(const std::wstring& path, const std::wstring& text) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    for (const wchar_t c : text) {
        out.put(static_cast<char>(c));
    }
}
} // namespace

TEST(SkinSection, EveryKeyReadsAsASingleReadOfItReadsIt) {
    MakeProgramFolder();
    const std::wstring longValue(5000, L'x');
    WriteIni(SkinFile::Path(L"texts.ini"), L"; The texts of a test window.\r\n"
                                           L"[Screen]\r\n"
                                           L"1=not this section\r\n"
                                           L"[BUTTONPOS]\r\n"
                                           L"1=Plain\r\n"
                                           L"  2  =  spaced out  \r\n"
                                           L"3=\"quoted\"\r\n"
                                           L"4='single'\r\n"
                                           L"5=\"open\r\n"
                                           L"6=\"mixed'\r\n"
                                           L"7=\r\n"
                                           L"8\r\n"
                                           L"9=first\r\n"
                                           L"9=second\r\n"
                                           L"Key10=Case\r\n"
                                           L"11=a=b\r\n"
                                           L"12=\"\"\r\n"
                                           L"13=\"\r\n"
                                           L"; 14=commented\r\n"
                                           L"15=" +
                                               longValue +
                                               L"\r\n"
                                               L"16=\" inner blanks \"\r\n"
                                               L"[Other]\r\n"
                                               L"17=other section\r\n");
    const SkinSection section(L"texts.ini", L"BUTTONPOS");
    const std::wstring path = SkinFile::Path(L"texts.ini");
    for (const wchar_t* key :
         {L"1",     L"2",  L"3",  L"4",  L"5",  L"6",  L"7",  L"8",  L"9",  L"Key10", L"KEY10",
          L"key10", L"11", L"12", L"13", L"14", L"15", L"16", L"17", L"99", L""}) {
        SCOPED_TRACE(std::string(key, key + wcslen(key)));
        EXPECT_EQ(SkinFile::ReadSkinString(path, L"BUTTONPOS", key), section.Value(key));
    }
    EXPECT_EQ(L"Plain", section.ButtonText(1));
    EXPECT_EQ(SkinFile::ButtonText(L"texts.ini", 9), section.ButtonText(9));

    // Nothing to read: every key is empty.
    for (const SkinSection& empty :
         {SkinSection(L"missing.ini", L"BUTTONPOS"), SkinSection(L"texts.ini", L"Missing")}) {
        EXPECT_EQ(L"", empty.Value(L"1"));
    }
}
