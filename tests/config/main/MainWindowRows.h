#pragma once

#include "tests/config/main/MainWindowFixture.h"
#include "tests/tolvane/RecorderWindow.h"

#include "shared/codes/MacroEvent.h"
#include "shared/store/SettingsRecord.h"

#include <memory>
#include <string>
#include <vector>

// A main window over the test skin, with or without the hook library, and a stand-in service
// that records the posts, kept for all rows of a table (a window costs far more than a row).
// Each row starts it on a fresh data folder, which the window reads as it does after the
// service's read-back.
class MainWindowRows {
public:
    struct Macro {
        int slot; // in "MACRO_LIST"
        std::wstring name;
        std::vector<MacroEvent> events;
        int loopTime;
    };

    explicit MainWindowRows(bool withHooks);

    // "Mouse.ini" holds record, each macro has its file and its slot; no posts recorded yet.
    void Start(const SettingsRecord& record, const std::vector<Macro>& macros);

    CLucfgDlg& Dialog() { return m_window->Dialog(); }
    HWND Hwnd() const { return m_window->Hwnd(); }
    bool Hooks() const { return m_hooks; }
    RecorderWindow& Service() { return m_service; }
    // The wParam of each post of this message to the service, in order.
    std::vector<WPARAM> Posts(UINT message) const;

private:
    bool m_hooks;
    RecorderWindow m_service{L"V212Hid"};
    std::unique_ptr<MainWindowFixture> m_window;
};
