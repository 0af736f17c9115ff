#include "config/dialogs/SingleKey/CSingleKey.h"

#include "config/core/ProgramFolder.h"
#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"

namespace {
constexpr wchar_t kSkin[] = L"skin_singlekey.ini";
constexpr RECT kOkRect{170, 348, 293, 376};
constexpr RECT kCloseRect{296, 12, 319, 33};
constexpr RECT kHiddenRect{0, 0, 0, 0};
constexpr RECT kCaptionRect{36, 189, 294, 328};
// The part of the window the combination is shown over.
constexpr RECT kCombinationArea{176, 68, 330, 84};
constexpr std::array<RECT, 3> kLabelRects = {RECT{36, 27, 204, 45}, RECT{36, 51, 301, 69},
                                             RECT{36, 73, 301, 91}};
constexpr std::array<int, 3> kLabelTexts = {4, 5, 6};
constexpr int kOkText = 1;
constexpr int kLabelFont = 16;
constexpr int kHorizontal = 1;

bool CapsLockOn() {
    return (GetKeyState(VK_CAPITAL) & 1) != 0;
}
} // namespace

CSingleKey::CSingleKey(winlayer::Window* parent) : CSkinnedDialog(IDD_SINGLEKEY, parent) {}

void CSingleKey::SetKeys(std::uint8_t mainKeyUsage, const SingleKeyCombination::EventBuffer& events,
                         int keyCount) {
    m_startUsage = mainKeyUsage;
    m_startEvents = events;
    m_startCount = keyCount;
}

void CSingleKey::StartKeyCapture() {
    if (!m_hooks.Load(ProgramFolder::Path())) {
        return;
    }
    m_hooks.InstallHook(Hwnd());
    m_hooks.EnableHook(true);
}

void CSingleKey::StopKeyCapture() {
    m_hooks.EnableHook(false);
    m_hooks.RemoveHook();
}

int CSingleKey::OnCreate(CREATESTRUCTW& create) {
    const int result = CSkinnedDialog::OnCreate(create);
    LoadSkinPictures(kSkin, true);
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkin, kOkText), Background(), Hover());
    MakeButton(m_close, kCloseRect, L"", Background(), Hover());
    MakeButton(m_hidden, kHiddenRect, L"", Background(), Hover());
    MakeButton(m_caption, kCaptionRect, L"", Background(), Background());
    for (size_t i = 0; i < m_labels.size(); ++i) {
        MakeLabel(m_labels[i], kLabelRects[i], SkinFile::ButtonText(kSkin, kLabelTexts[i]),
                  RGB(255, 255, 255), kLabelFont);
    }
    ShapeToBackground();
    return result;
}

bool CSingleKey::OnInitDialog() {
    const bool result = CSkinnedDialog::OnInitDialog();
    StartKeyCapture();
    ShowText(m_combination.Open(m_startUsage, m_startEvents, m_startCount, CapsLockOn()));
    return result;
}

void CSingleKey::OnDestroy() {
    StopKeyCapture();
    CSkinnedDialog::OnDestroy();
}

void CSingleKey::ShowText(const std::wstring& text) {
    m_caption.SetCaption(text, 0, kHorizontal);
    InvalidateRect(Hwnd(), &kCombinationArea, FALSE);
}

LRESULT CSingleKey::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == HookLibrary::kKeyReport) {
        if (const auto text =
                m_combination.OnHookKey(static_cast<std::uint32_t>(wParam),
                                        static_cast<std::uint32_t>(lParam), CapsLockOn())) {
            ShowText(*text);
        }
        return 0;
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

bool CSingleKey::PreTranslateMessage(MSG& msg) {
    if (IsKeyDownOf(msg, {VK_RETURN, VK_ESCAPE, VK_SPACE})) {
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}

void CSingleKey::OnLButtonDown(UINT, POINT) {
    // The dialog has no caption: dragging its surface moves it.
    const DWORD cursor = GetMessagePos();
    PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(cursor));
}

bool CSingleKey::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (IsClickOf(wParam, lParam, m_ok)) {
        EndDialog(m_combination.Confirm() ? IDOK : IDCANCEL);
        return true;
    }
    if (IsClickOf(wParam, lParam, m_close) || IsClickOf(wParam, lParam, m_hidden)) {
        EndDialog(IDCANCEL);
        return true;
    }
    // Closing the window cancels; nothing else ends the dialog without its own buttons.
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(IDCANCEL);
    }
    return true;
}
