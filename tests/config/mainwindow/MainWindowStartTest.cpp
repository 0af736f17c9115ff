#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/MainWindowSession.h"
#include "tests/shared/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The window makes the controls of the pages it does not show first hidden; from the start on,
// every control of a page group shows exactly while its page does.

using Data = MainWindowData;
using Probe = MainWindowProbe;
using Dlg = CLucfgDlg;

namespace {
// A mark for each page group: 'x' all of it shown, '-' all hidden, '?' some shown.
std::wstring GroupMarks(Dlg& dialog) {
    const std::vector<const std::vector<winlayer::Window*>*> groups{
        &Probe::alwaysGroup(dialog),      &Probe::profileGroup(dialog),
        &Probe::subTabGroup(dialog),      &Probe::buttonsGroup(dialog),
        &Probe::performanceGroup(dialog), &Probe::doubleClickGroup(dialog),
        &Probe::lightingGroup(dialog),    &Probe::macroGroup(dialog)};
    std::wstring marks;
    for (const auto* group : groups) {
        size_t shown = 0;
        for (const winlayer::Window* control : *group) {
            shown += IsWindowVisible(control->Hwnd()) ? 1 : 0;
        }
        marks += shown == group->size() ? L'x' : shown == 0 ? L'-' : L'?';
    }
    return marks;
}
} // namespace

TEST(MainWindowStart, PageGroupsShowWithTheirPagesFromTheStartOn) {
    struct Row {
        const char* what;
        std::function<HWND(Dlg&)> click;
        // always, profile, sub-tabs, buttons, performance, double-click, lighting, macro
        const wchar_t* shown;
    };
    const auto tab = [](size_t i) { return [=](Dlg& d) { return Probe::subTabs(d)[i].Hwnd(); }; };
    const Row rows[] = {
        {"at the start", nullptr, L"xxxx----"},
        {"performance", tab(1), L"xxx-x---"},
        {"double-click", tab(3), L"xxx--x--"},
        {"lighting", tab(2), L"x-x---x-"},
        {"macro page", [](Dlg& d) { return Probe::macroTabBtn(d).Hwnd(); }, L"x------x"},
        {"buttons again", tab(0), L"xxxx----"},
    };
    MainWindowSession session(Data::Record(L"Game"));
    Dlg& dialog = session.Dialog();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.click) {
            Click(row.click(dialog));
        }
        EXPECT_EQ(row.shown, GroupMarks(dialog));
        // In no group: as it was made.
        EXPECT_TRUE(IsWindowVisible(Probe::ledSpareBtn(dialog).Hwnd()));
    }
}

// A "Mouse.ini" without settings (emptied by a writer that died, or damaged by another program)
// is kept aside, and the window starts from the newest profile file, a whole copy of the settings
// file with its lists; the macro list is not lost.
TEST(MainWindowStart, ASettingsFileWithoutSettingsIsRestoredFromTheNewestProfile) {
    struct Row {
        const char* what;
        std::string bytes;
    };
    const Row rows[] = {
        {"emptied", ""},
        {"garbage", "\x01\xff[Sett\r\n=="},
        {"another section alone", std::string("\xFF\xFE[\0G\0R\0O\0U\0P\0]\0", 16)},
    };
    const std::wstring programFolder = MainWindowSession::MakeProgramFolder();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SettingsRecord record = Data::Record(L"Work");
        record.DPI_INFO[0][1] = 44;
        Data::Start(record, {L"Game", L"Work"}, {{0, L"Combo"}});
        // "Work" changed last: its file is the settings file of then.
        const std::wstring settings = SettingsFilePath();
        ASSERT_TRUE(CopyFileW(settings.c_str(), Data::ProfileFile(L"Work").c_str(), FALSE));
        const HANDLE work = CreateFileW(Data::ProfileFile(L"Work").c_str(), FILE_WRITE_ATTRIBUTES,
                                        0, nullptr, OPEN_EXISTING, 0, nullptr);
        FILETIME later{};
        GetSystemTimeAsFileTime(&later);
        later.dwHighDateTime += 1;
        SetFileTime(work, nullptr, nullptr, &later);
        CloseHandle(work);
        WriteFileBytes(settings, row.bytes);

        MainWindowFixture window(programFolder);
        Pump();
        EXPECT_EQ(row.bytes, ReadFileBytes(settings + L".damaged"));
        EXPECT_EQ(L"Combo", CIniFile(settings).ReadString(L"MACRO_LIST", L"0", L""));
        EXPECT_EQ(44, window.Dialog().Working().DPI_INFO[0][1]);
        EXPECT_EQ(L"Work", window.Dialog().CurrentProfileName());
    }
}
