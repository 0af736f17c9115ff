#include "config/dialogs/EditDelay/CEditDelay.h"

#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"
#include "config/dialogs/NumberClamp.h"

namespace {
constexpr wchar_t kSkin[] = L"skin_singlekey.ini";
constexpr RECT kOkRect{170, 348, 293, 376};
constexpr RECT kCloseRect{296, 12, 319, 33};
constexpr RECT kEditRect{36, 189, 294, 328};
constexpr std::array<RECT, 4> kLabelRects = {RECT{36, 27, 204, 45}, RECT{}, RECT{}, RECT{}};
constexpr std::array<int, 4> kLabelTexts = {3, 8, 9, 10};
constexpr int kOkText = 1;
constexpr int kLabelFont = 16;
constexpr DWORD kEditStyle = WS_VISIBLE | ES_NUMBER | ES_CENTER;
constexpr int kEditDigits = 6;
} // namespace

CEditDelay::CEditDelay(winlayer::Window* parent) : CSkinnedDialog(IDD_EDITDELAY, parent) {}

void CEditDelay::SetDelay(int milliseconds) {
    m_delay = NumberClamp::Clamp(milliseconds, kShortest, kLongest);
    m_preset = m_delay;
}

int CEditDelay::OnCreate(CREATESTRUCTW& create) {
    const int result = CSkinnedDialog::OnCreate(create);
    LoadSkinPictures(kSkin, true);
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkin, kOkText), Background(), Background());
    MakeButton(m_close, kCloseRect, L"", Background(), Hover());
    m_edit.Create(kEditStyle, kEditRect, Hwnd(), 0);
    SendMessageW(m_edit.Hwnd(), EM_SETLIMITTEXT, kEditDigits, 0);
    for (size_t i = 0; i < m_labels.size(); ++i) {
        MakeLabel(m_labels[i], kLabelRects[i], SkinFile::ButtonText(kSkin, kLabelTexts[i]),
                  RGB(255, 255, 255), kLabelFont);
    }
    return result;
}

bool CEditDelay::OnInitDialog() {
    CSkinnedDialog::OnInitDialog();
    SetWindowTextW(m_edit.Hwnd(), std::to_wstring(m_delay).c_str());
    SetFocus(m_edit.Hwnd());
    return false;
}

bool CEditDelay::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == EN_CHANGE && reinterpret_cast<HWND>(lParam) == m_edit.Hwnd()) {
        const auto step = NumberClamp::Typed(m_edit.Text(), m_delay, kShortest, kLongest);
        m_delay = step.value;
        if (step.shown) {
            SetWindowTextW(m_edit.Hwnd(), step.shown->c_str());
        }
        return true;
    }
    if (IsClickOf(wParam, lParam, m_ok)) {
        EndDialog(IDOK);
    } else if (IsClickOf(wParam, lParam, m_close) || LOWORD(wParam) == IDCANCEL) {
        // Closing the window counts as the close button; the preset value stays.
        m_delay = m_preset;
        EndDialog(IDCANCEL);
    }
    return true;
}

bool CEditDelay::PreTranslateMessage(MSG& msg) {
    if (IsKeyDownOf(msg, {VK_RETURN, VK_ESCAPE})) {
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}
