#include "fwupdate/CFlashToolWindow.h"

#include "config/dialogs/FWUpdate/FlashStages.h"

namespace {
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kPauseMs = 150;
constexpr wchar_t kText[] =
    L"This window stands in for the firmware flash tool of the mouse suite.\r\n"
    L"It reports the steps of a flash to the update dialog; the mouse's firmware is not changed.";
} // namespace

CFlashToolWindow::CFlashToolWindow(std::span<const int> stages) : m_stages(stages) {}

bool CFlashToolWindow::CreateAndShow() {
    if (!CreateEx(0, nullptr, FlashStages::kToolTitle, WS_OVERLAPPED | WS_CAPTION, CW_USEDEFAULT,
                  CW_USEDEFAULT, 520, 110, nullptr, nullptr)) {
        return false;
    }
    // The update dialog keeps the keyboard while the tool works.
    ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
    return SetTimer(kStepTimer, kPauseMs) != 0;
}

int CFlashToolWindow::OnCreate(CREATESTRUCTW&) {
    m_font.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    HWND text = CreateWindowExW(0, L"STATIC", kText, WS_CHILD | WS_VISIBLE, 16, 16, 480, 48, Hwnd(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
    return 0;
}

void CFlashToolWindow::OnDestroy() {
    KillTimer(kStepTimer);
    // A stock font is not deleted.
    m_font.Release();
    PostQuitMessage(0);
}

void CFlashToolWindow::OnTimer(UINT_PTR id) {
    if (id != kStepTimer) {
        return;
    }
    // One pause after the last stage, so the dialog sees the tool's window until then.
    if (m_next >= m_stages.size()) {
        DestroyWindow();
        return;
    }
    const int stage = m_stages[m_next++];
    // Looked up for every stage: the dialog may have been closed in between.
    if (HWND dialog = FindWindowW(nullptr, FlashStages::kDialogTitle)) {
        PostMessageW(dialog, FlashStages::kProgressMessage, static_cast<WPARAM>(stage), 0);
    }
}
