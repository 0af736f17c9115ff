#include "config/dialogs/KeyEx/CKeyExDlg.h"

#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"
#include "config/dialogs/KeyEx/KeyExAssignment.h"

namespace {
constexpr wchar_t kSkin[] = L"skin_singlekey.ini";
constexpr RECT kOkRect{170, 348, 293, 376};
constexpr RECT kCloseRect{296, 12, 319, 33};
constexpr RECT kHiddenRect{0, 0, 0, 0};
constexpr RECT kDisplayRect{36, 189, 294, 328};
constexpr std::array<RECT, 3> kLabelRects = {RECT{36, 27, 204, 45}, RECT{36, 51, 301, 69},
                                             RECT{36, 73, 301, 91}};
constexpr std::array<int, 3> kLabelTexts = {4, 5, 6};
constexpr int kOkText = 1;
constexpr int kLabelFont = 16;

bool CapsHeld() {
    return GetKeyState(VK_CAPITAL) < 0;
}
} // namespace

CKeyExDlg::CKeyExDlg(winlayer::Window* parent) : CBaseKeyPressDlg(IDD_KEYEX, parent) {
    Recorder().SetAllowSeveral(false);
}

bool CKeyExDlg::SetTarget(SettingsRecord& record, int buttonIndex) {
    return m_target.Set(record, buttonIndex);
}

int CKeyExDlg::OnCreate(CREATESTRUCTW& create) {
    const int result = CBaseKeyPressDlg::OnCreate(create);
    LoadSkinPictures(kSkin, true);
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkin, kOkText), Background(), Hover());
    MakeButton(m_close, kCloseRect, L"", Background(), Hover());
    MakeButton(m_hidden, kHiddenRect, L"", Background(), Hover());
    m_display.Create(WS_VISIBLE | WS_TABSTOP, kDisplayRect, Hwnd(), 0);
    for (size_t i = 0; i < m_labels.size(); ++i) {
        MakeLabel(m_labels[i], kLabelRects[i], SkinFile::ButtonText(kSkin, kLabelTexts[i]),
                  RGB(255, 255, 255), kLabelFont);
    }
    return result;
}

bool CKeyExDlg::OnInitDialog() {
    CBaseKeyPressDlg::OnInitDialog();
    if (Entry() == nullptr) {
        EndDialog(IDCANCEL);
        return false;
    }
    Recorder().ClearStarted();
    const std::vector<KeyEvent> events = KeyExAssignment::ReadEntry(*Entry());
    SetKeys(events);
    RefreshDisplay();
    m_display.SetHighlight(true);
    return true;
}

bool CKeyExDlg::PreTranslateMessage(MSG& msg) {
    if (IsKeyDownOf(msg, {VK_RETURN, VK_ESCAPE, VK_SPACE})) {
        return true;
    }
    return CBaseKeyPressDlg::PreTranslateMessage(msg);
}

int CKeyExDlg::RecordKeyEvent(std::uint32_t action, UINT key, UINT flags) {
    // The last key pressed replaces the one before it.
    if (action == KeyEventRecorder::kDown) {
        Recorder().Clear();
    }
    const bool first = !Recorder().Started();
    const int result = CBaseKeyPressDlg::RecordKeyEvent(action, key, flags);
    if (result == 0 && first) {
        m_display.SetHighlight(false);
    }
    return result;
}

void CKeyExDlg::RefreshDisplay() {
    m_display.SetText(KeyExAssignment::DisplayText(GetKeys(), CapsHeld()));
}

bool CKeyExDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (IsClickOf(wParam, lParam, m_ok)) {
        if (ButtonAssignment* entry = Entry()) {
            KeyExAssignment::WriteEntry(GetKeys(), *entry);
            EndDialog(IDOK);
        }
    } else if (IsClickOf(wParam, lParam, m_close) || IsClickOf(wParam, lParam, m_hidden)) {
        EndDialog(IDCANCEL);
    }
    return CBaseKeyPressDlg::OnCommand(wParam, lParam);
}
