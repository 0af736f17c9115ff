#pragma once

#include "tests/config/mainwindow/MainWindowData.h"
#include "tests/config/mainwindow/MainWindowFixture.h"
#include "tests/tolvane/RecorderWindow.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

// The main window over a clean data folder (MainWindowData::Start), with a recording "V212Hid"
// standing in for the service. Its program folder has the test skin with the menus' pictures, a
// language file whose "BUTTONPAGE" text of a keyword is Text(keyword), and with hooks the built
// hook library, so that recording can start. A window costs far more than a row of a table:
// Restart gives the next row a data folder of its own with the same window.
class MainWindowSession {
public:
    using Macro = MainWindowData::Macro;
    using Post = std::tuple<UINT, WPARAM, LPARAM>;
    // The colour of every slider thumb's picture.
    static constexpr COLORREF kThumbColor = RGB(240, 130, 20);

    explicit MainWindowSession(const SettingsRecord& record,
                               const std::vector<std::wstring>& profiles = {L"Game"},
                               const std::vector<Macro>& macros = {}, bool withHooks = false);

    // The data folder written anew and read by the window as it does after the service's
    // read-back; no posts recorded yet.
    void Restart(const SettingsRecord& record, const std::vector<std::wstring>& profiles,
                 const std::vector<Macro>& macros);

    CLucfgDlg& Dialog() { return m_window->Dialog(); }
    HWND Hwnd() const { return m_window->Hwnd(); }
    bool Hooks() const { return m_hooks; }
    const std::wstring& ProgramFolder() const { return m_programFolder; }
    RecorderWindow& Service() { return m_service; }
    // Every post to the service, in order.
    std::vector<Post> Posts() const;
    // The wParam of each post of this message to the service, in order.
    std::vector<WPARAM> Posts(UINT message) const;

    // The program folder described above, for a window made otherwise.
    static std::wstring MakeProgramFolder(bool withHooks = false);
    // "[KEYWORD]", as the test language file has it.
    static std::wstring Text(const std::wstring& keyword);

private:
    bool m_hooks;
    std::wstring m_programFolder;
    RecorderWindow m_service{L"V212Hid"};
    std::unique_ptr<MainWindowFixture> m_window;
};

// Chooses a row of a list box as a click on it does.
void ClickListRow(HWND list, int row);
// Pumps until done() holds; false when it still does not after timeoutMs.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// The shown dialog windows of the thread (menus, sub-menus, boxes) other than `except`.
std::vector<HWND> ShownDialogs(HWND except);
// True when the window's timer is set; it is then set again with the given period.
bool TimerSet(HWND hwnd, UINT_PTR id, UINT periodMs);
// The pixels of a drop-down's arrow end (its separator and arrow in the skin) that are not its
// background: the caption drawn over them.
int DrawnOverArrow(HWND dropDown);
