#pragma once

#include "tests/config/main/MainWindowFixture.h"
#include "tests/tolvane/RecorderWindow.h"

#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace session {

// The main window over a clean data folder: "Mouse.ini" holds the given record (its profile name
// names the current profile), each listed profile has its file, each listed macro its slot, and a
// recording "V212Hid" stands in for the service. The program folder has the test skin with the
// menus' pictures and a language file whose "BUTTONPAGE" text of a keyword is "[KEYWORD]".
class MainWindowSession {
public:
    explicit MainWindowSession(const SettingsRecord& record,
                               const std::vector<std::wstring>& profiles = {L"Game"},
                               const std::vector<std::wstring>& macros = {});

    CLucfgDlg& Dialog() { return m_window->Dialog(); }
    HWND Hwnd() const { return m_window->Hwnd(); }
    const std::wstring& ProgramFolder() const { return m_programFolder; }
    RecorderWindow& Service() { return m_service; }

private:
    std::wstring m_programFolder;
    RecorderWindow m_service{L"V212Hid"};
    std::unique_ptr<MainWindowFixture> m_window;
};

// The store's defaults for a profile of that name.
std::unique_ptr<SettingsRecord> ProfileRecord(const std::wstring& name);
// Removes the user's data folder and writes "Mouse.ini" and the profiles and macro slots.
void StartDataFolder(const SettingsRecord& record, const std::vector<std::wstring>& profiles,
                     const std::vector<std::wstring>& macros);
// The test skin with the menus' pictures and the "[KEYWORD]" language file; its folder.
std::wstring MakeMenuSkin();
// "[KEYWORD]", as the test language file has it.
std::wstring Text(const std::wstring& keyword);

// "Mouse.ini" as the window left it, read into a record.
std::unique_ptr<SettingsRecord> StoredSettings();
std::wstring ProfileFile(const std::wstring& name);

// The shown dialog windows of the thread (menus, sub-menus, boxes) other than `except`.
std::vector<HWND> ShownDialogs(HWND except);
// The shown box (dialog) that owner owns and that is not disabled by one of its own, or null.
HWND OpenBoxOf(HWND owner);
// Pumps until done() holds; false when it still does not after timeoutMs.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// The shown pop-ups (menus and boxes) that the window owns.
std::vector<HWND> OwnedPopups(HWND owner);
// Texts of the labels of a box, top to bottom.
std::vector<std::wstring> LabelTexts(HWND box);
// True when the window's timer is set; it is then set again with the given period.
bool TimerSet(HWND hwnd, UINT_PTR id, UINT periodMs);
// Chooses a row of a list box as a click on it does.
void ClickListRow(HWND list, int row);

// Answers the modal boxes that a window opens while a command runs, one answer per box in
// order, from a timer of the thread (it fires inside their modal loops). Records the labels of
// each box; a box beyond the answers is cancelled, so a test never hangs on one.
class ModalAnswers {
public:
    using Answer = std::function<void(HWND box)>;

    ModalAnswers(HWND owner, std::vector<Answer> answers);
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // The labels of every box that was answered or cancelled, in order.
    const std::vector<std::vector<std::wstring>>& Boxes() const { return m_boxes; }

    static Answer Ok();
    static Answer Cancel();
    // Types the path into a file dialog and confirms it.
    static Answer ChooseFile(std::wstring path);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    HWND m_owner;
    std::vector<Answer> m_answers;
    size_t m_next = 0;
    HWND m_lastBox = nullptr;
    int m_stuckTicks = 0;
    std::vector<std::vector<std::wstring>> m_boxes;
    UINT_PTR m_timer = 0;
};

} // namespace session
