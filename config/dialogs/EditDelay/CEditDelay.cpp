#include "config/dialogs/EditDelay/CEditDelay.h"

#include "config/controls/ControlMessages.h"
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
    m_ended = false;
    SetWindowTextW(m_edit.Hwnd(), std::to_wstring(m_delay).c_str());
    SetFocus(m_edit.Hwnd());
    return false;
}

void CEditDelay::CommitDelay() {
    // The field loses the focus once more as the window goes: the result stands by then.
    if (m_ended) {
        return;
    }
    const auto step = NumberClamp::Committed(m_edit.Text(), kShortest, kLongest);
    m_delay = step.value;
    if (step.shown) {
        m_edit.ShowCorrectedText(*step.shown);
    }
}

bool CEditDelay::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) == m_edit.Hwnd() && m_edit.Hwnd() != nullptr) {
        if (HIWORD(wParam) == EN_CHANGE) {
            m_delay = NumberClamp::Typed(m_edit.Text(), m_delay, kShortest, kLongest);
        } else if (HIWORD(wParam) == EN_KILLFOCUS) {
            CommitDelay();
        }
        return true;
    }
    if (IsClickOf(wParam, lParam, m_ok)) {
        CommitDelay();
        m_ended = true;
        EndDialog(IDOK);
    } else if (IsClickOf(wParam, lParam, m_close) || LOWORD(wParam) == IDCANCEL) {
        // Closing the window counts as the close button; the preset value stays.
        m_delay = m_preset;
        m_ended = true;
        EndDialog(IDCANCEL);
    }
    return true;
}

LRESULT CEditDelay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Enter in the field ends the typing.
    if (message == ControlMessages::kEditEnter) {
        CommitDelay();
        return 0;
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

void CEditDelay::OnLButtonDown(UINT flags, POINT point) {
    CommitDelay();
    CSkinnedDialog::OnLButtonDown(flags, point);
}

bool CEditDelay::PreTranslateMessage(MSG& msg) {
    if (IsKeyDownOf(msg, {VK_RETURN, VK_ESCAPE})) {
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}
