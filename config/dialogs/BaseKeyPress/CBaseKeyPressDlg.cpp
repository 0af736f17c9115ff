#include "config/dialogs/BaseKeyPress/CBaseKeyPressDlg.h"

namespace {
bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

std::uint32_t ActionOf(UINT message) {
    return message == WM_KEYUP || message == WM_SYSKEYUP ? KeyEventRecorder::kUp
                                                         : KeyEventRecorder::kDown;
}
} // namespace

CBaseKeyPressDlg::CBaseKeyPressDlg(UINT templateId, winlayer::Window* parent)
    : CSkinnedDialog(templateId, parent) {}

int CBaseKeyPressDlg::RecordKeyEvent(std::uint32_t action, UINT key, UINT flags) {
    const int result = m_recorder.Record(action, key, flags);
    if (result == 0) {
        RefreshDisplay();
    }
    return result;
}

bool CBaseKeyPressDlg::PreTranslateMessage(MSG& msg) {
    m_preTranslated.reset();
    if (!IsKeyMessage(msg.message)) {
        return CSkinnedDialog::PreTranslateMessage(msg);
    }
    const UINT key = static_cast<UINT>(msg.wParam);
    const auto route = KeyEventRecorder::PreTranslateRoute(msg.message, key, HIWORD(msg.lParam));
    if (route.record) {
        RecordKeyEvent(ActionOf(msg.message), key, route.flags);
    }
    if (route.consume) {
        return true;
    }
    if (msg.hwnd == Hwnd()) {
        m_preTranslated = KeyMessage{msg.message, msg.wParam, msg.lParam};
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}

bool CBaseKeyPressDlg::TakePreTranslated(UINT message, UINT key, UINT repeat, UINT flags) {
    const KeyMessage seen{message, key, static_cast<LPARAM>(MAKELONG(repeat, flags))};
    const bool taken = m_preTranslated == seen;
    m_preTranslated.reset();
    return taken;
}

bool CBaseKeyPressDlg::OnCommand(WPARAM, LPARAM) {
    return true;
}

void CBaseKeyPressDlg::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    if (!TakePreTranslated(WM_KEYDOWN, key, repeat, flags) && (flags & KF_REPEAT) == 0) {
        RecordKeyEvent(KeyEventRecorder::kDown, key, flags);
    }
}

void CBaseKeyPressDlg::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    if (!TakePreTranslated(WM_KEYUP, key, repeat, flags)) {
        RecordKeyEvent(KeyEventRecorder::kUp, key, flags);
    }
}

void CBaseKeyPressDlg::OnSysKeyDown(UINT key, UINT repeat, UINT flags) {
    if (!TakePreTranslated(WM_SYSKEYDOWN, key, repeat, flags) && (flags & KF_REPEAT) == 0) {
        RecordKeyEvent(KeyEventRecorder::kDown, key, flags);
    }
    Default();
}

void CBaseKeyPressDlg::OnSysKeyUp(UINT key, UINT repeat, UINT flags) {
    if (!TakePreTranslated(WM_SYSKEYUP, key, repeat, flags)) {
        RecordKeyEvent(KeyEventRecorder::kUp, key, flags);
    }
    Default();
}
