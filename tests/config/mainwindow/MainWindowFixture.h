#pragma once

#include "config/mainwindow/CLucfgDlg.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// Makes the main window in the test's own process, modeless, over a test skin: every page
// picture a solid colour of the skin's size, and a mask whose corners are white.
class MainWindowFixture {
public:
    static constexpr int kWidth = 920;
    static constexpr int kHeight = 530;

    // A program folder with a complete test skin and a language file; returns the folder.
    static std::wstring MakeTestSkin();
    // Writes that skin and language file into a program folder that has a "skins" folder.
    static void WriteTestSkin(const std::wstring& folder);
    // A fresh program folder (MakeSkinFolder's) with a copy of what fill wrote the first time
    // this name was asked for: pictures take far longer to encode than to copy, and each window
    // starts from a program folder of its own.
    static std::wstring
    CopiedProgramFolder(const std::wstring& name,
                        const std::function<void(const std::wstring& folder)>& fill);
    // A program folder with no skin at all.
    static std::wstring MakeEmptyProgramFolder();

    // Creates and shows the window over the given program folder.
    explicit MainWindowFixture(const std::wstring& programFolder);
    ~MainWindowFixture();

    CLucfgDlg& Dialog() { return *m_dialog; }
    HWND Hwnd() const { return m_dialog->Hwnd(); }

private:
    std::unique_ptr<CLucfgDlg> m_dialog;
};

// Sends a click (BN_CLICKED) of the control to its parent, as the control itself does.
void Click(HWND control);
