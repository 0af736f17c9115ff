#include "config/dialogs/DPIShift/CDPIShift.h"

#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"

namespace {
constexpr wchar_t kSkin[] = L"skin_shift.ini";
constexpr RECT kOkRect{166, 253, 269, 273};
constexpr RECT kCancelRect{271, 253, 374, 273};
constexpr RECT kCloseRect{0, 0, 0, 0};
constexpr RECT kValueRect{35, 132, 145, 149};
// The first label names the value above its button; the others carry no visible text.
constexpr std::array<RECT, 4> kLabelRects = {RECT{35, 108, 374, 126}, RECT{}, RECT{}, RECT{}};
constexpr std::array<int, 4> kLabelTexts = {3, 8, 9, 10};
constexpr int kLabelFont = 16;
constexpr int kHorizontal = 1;
constexpr int kFirstChoice = 1;
constexpr int kLastChoice = 4;
constexpr std::array<const wchar_t*, 4> kMenuPictures = {L"1menu_normal.png", L"1menu_over.png",
                                                         L"1menu_down.png", L"3menu_normal.png"};
constexpr std::array<DialogDropDown::Item, 4> kMenuItems = {
    DialogDropDown::Item{L"250", 1}, {L"500", 2}, {L"750", 3}, {L"1000", 4}};
constexpr int kMenuStyle = 0;
} // namespace

CDPIShift::CDPIShift(winlayer::Window* parent) : CSkinnedDialog(IDD_DPISHIFT, parent) {}

void CDPIShift::SetChoice(int choice) {
    if (choice >= kFirstChoice && choice <= kLastChoice) {
        m_choice = choice;
    }
}

std::wstring CDPIShift::ValueText(int choice) {
    if (choice < kFirstChoice || choice > kLastChoice) {
        return {};
    }
    return kMenuItems[static_cast<size_t>(choice - 1)].text;
}

int CDPIShift::OnCreate(CREATESTRUCTW& create) {
    const int result = CSkinnedDialog::OnCreate(create);
    LoadSkinPictures(kSkin, true);
    MakeButton(m_ok, kOkRect, L"", Background(), Hover());
    MakeButton(m_cancel, kCancelRect, L"", Background(), Hover());
    MakeButton(m_close, kCloseRect, L"", Background(), Hover());
    MakeButton(m_value, kValueRect, ValueText(m_choice), Background(), Background());
    for (size_t i = 0; i < m_labels.size(); ++i) {
        MakeLabel(m_labels[i], kLabelRects[i], SkinFile::ButtonText(kSkin, kLabelTexts[i]),
                  RGB(255, 255, 255), kLabelFont);
    }
    return result;
}

void CDPIShift::OnDestroy() {
    m_dropDown.Close();
    CSkinnedDialog::OnDestroy();
}

void CDPIShift::ToggleDropDown() {
    if (m_dropDown.IsOpen()) {
        m_dropDown.Close();
        return;
    }
    RECT value{};
    GetWindowRect(m_value.Hwnd(), &value);
    m_dropDown.Open(*this, kMenuPictures, kMenuStyle, POINT{value.left - 1, value.bottom},
                    kMenuItems);
}

bool CDPIShift::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (IsClickOf(wParam, lParam, m_value)) {
        ToggleDropDown();
        return true;
    }
    if (IsClickOf(wParam, lParam, m_ok)) {
        EndDialog(IDOK);
        return true;
    }
    if (IsClickOf(wParam, lParam, m_cancel) || IsClickOf(wParam, lParam, m_close)) {
        EndDialog(IDCANCEL);
        return true;
    }
    return CSkinnedDialog::OnCommand(wParam, lParam);
}

LRESULT CDPIShift::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kChoiceMessage) {
        m_dropDown.Close();
        const int choice = HIWORD(lParam);
        // A choice the menu does not offer keeps the previous one.
        if (choice >= kFirstChoice && choice <= kLastChoice) {
            m_choice = choice;
            m_value.SetCaption(ValueText(choice), 0, kHorizontal);
        }
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}
