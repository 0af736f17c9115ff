#include "winlayer/FileDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using winlayer::FileDialog;

namespace {

std::vector<std::pair<std::wstring, std::wstring>> Pairs(const std::wstring& filter) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    const wchar_t* p = filter.c_str();
    while (*p != L'\0') {
        std::wstring name = p;
        p += name.size() + 1;
        std::wstring pattern = p;
        p += pattern.size() + 1;
        pairs.emplace_back(name, pattern);
    }
    return pairs;
}

TEST(FileDialog, FilterBarsBecomeOneTerminatedListWhateverTheTrailingBars) {
    using P = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ((P{{L"(*.exe)", L"*.exe"}}), Pairs(FileDialog::FilterString(L"(*.exe)|*.exe||")));
    EXPECT_EQ((P{{L"Profile File(*.PROF)", L"*.PROF"}}),
              Pairs(FileDialog::FilterString(L"Profile File(*.PROF)|*.PROF|")));
    EXPECT_EQ((P{{L"A", L"*.a"}, {L"B", L"*.b"}}), Pairs(FileDialog::FilterString(L"A|*.a|B|*.b")));
}

TEST(FileDialog, TitleIsTheNameWithoutFolderAndLastExtension) {
    EXPECT_EQ(L"Profile 1", FileDialog::TitleOf(L"C:\\data\\Profile 1.PROF"));
    EXPECT_EQ(L"my.macro", FileDialog::TitleOf(L"C:\\x.y\\my.macro.MACRO"));
    EXPECT_EQ(L"noext", FileDialog::TitleOf(L"C:\\x.y\\noext"));
    EXPECT_EQ(L"a", FileDialog::TitleOf(L"D:/mixed\\a.LED"));
    EXPECT_EQ(L".hidden", FileDialog::TitleOf(L"C:\\.hidden"));
    EXPECT_EQ(L"", FileDialog::TitleOf(L""));
}

// Answers the file dialog that the thread opens: types the name and presses OK.
std::wstring g_answer;
int g_ticks = 0;

BOOL CALLBACK FindFileDialog(HWND hwnd, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (IsWindowVisible(hwnd) && lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, id);
    HWND name = GetDlgItem(dialog, 0x47c);
    if (HWND inner = FindWindowExW(name, nullptr, L"Edit", nullptr)) {
        name = inner;
    }
    if (name == nullptr) {
        name = GetDlgItem(dialog, 0x480);
    }
    SetWindowTextW(name, g_answer.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void SetHideExtensions(DWORD hide) {
    RegSetKeyValueW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                    L"HideFileExt", REG_DWORD, &hide, sizeof(hide));
}

TEST(FileDialog, ChosenFileGivesItsPathAndTitleWhateverTheShellShowsAndKeepsTheDirectory) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = temp;
    std::wstring file = folder + L"sample.PROF";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);

    for (DWORD hide : {1u, 0u}) {
        SetHideExtensions(hide);
        FileDialog open(FileDialog::Kind::Open, L".PROF", L"*.PROF",
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Profile File(*.PROF)|*.PROF|");
        open.SetInitialFolder(folder);
        g_answer = file;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, Answer);
        EXPECT_EQ(IDOK, open.DoModal());
        KillTimer(nullptr, timer);
        EXPECT_EQ(0, lstrcmpiW(file.c_str(), open.Path().c_str()));
        EXPECT_EQ(L"sample", open.Title());
    }

    FileDialog save(FileDialog::Kind::Save, L".PROF", L"*.PROF", OFN_HIDEREADONLY,
                    L"Profile File(*.PROF)|*.PROF|");
    g_answer = folder + L"fresh";
    UINT_PTR timer = SetTimer(nullptr, 0, 50, Answer);
    EXPECT_EQ(IDOK, save.DoModal());
    KillTimer(nullptr, timer);
    EXPECT_EQ(0, lstrcmpiW((folder + L"fresh.PROF").c_str(), save.Path().c_str()));
    EXPECT_EQ(L"fresh", save.Title());

    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(before, after);
    DeleteFileW(file.c_str());
}

} // namespace
