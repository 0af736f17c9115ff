#include "config/dialogs/XShoot/CXShoot.h"

#include "config/controls/ControlMessages.h"
#include "config/core/SkinFile.h"
#include "config/dialogs/DialogTemplates.h"
#include "config/dialogs/NumberClamp.h"

namespace {
constexpr wchar_t kSkin[] = L"skin_Xshoot.ini";
constexpr RECT kOkRect{41, 335, 165, 365};
constexpr RECT kCancelRect{176, 335, 300, 365};
constexpr RECT kFourthRect{0, 0, 0, 0};
constexpr RECT kFirstRect{44, 175, 301, 200};
constexpr RECT kSecondRect{44, 252, 301, 277};
constexpr RECT kKeyRect{44, 98, 265, 123};
constexpr RECT kChoiceRect{267, 97, 303, 125};
constexpr std::array<RECT, 4> kLabelRects = {RECT{38, 52, 323, 71}, RECT{}, RECT{38, 144, 323, 163},
                                             RECT{38, 221, 323, 240}};
constexpr std::array<int, 4> kLabelTexts = {3, 8, 9, 10};
constexpr std::array<int, 4> kLabelFonts = {16, 16, 15, 15};
constexpr int kOkText = 1;
constexpr int kCancelText = 2;
constexpr DWORD kValueStyle = WS_VISIBLE | ES_NUMBER | ES_CENTER;
constexpr DWORD kKeyStyle = WS_VISIBLE | ES_CENTER;
constexpr int kValueDigits = 3;
constexpr int kKeyCharacters = 1;
constexpr int kKeyboardKey = 4;
constexpr std::array<const wchar_t*, 4> kMenuPictures = {L"Menu2_n.png", L"Menu2_d.png",
                                                         L"Menu2_d.png", L"Menu2_n.png"};
constexpr std::array<DialogDropDown::Item, 4> kMenuItems = {
    DialogDropDown::Item{L"左键", 1}, {L"右键", 2}, {L"中间键", 3}, {L"键盘按键", 4}};
constexpr int kMenuStyle = 2;

// What OK takes from a value field: its number held inside 1 to 255.
int TypedValue(const CClrEdit& edit) {
    return NumberClamp::Clamp(NumberClamp::Parse(edit.Text()), XShootEntry::kLowest,
                              XShootEntry::kHighest);
}

void SetLimit(const CClrEdit& edit, int characters) {
    SendMessageW(edit.Hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(characters), 0);
}
} // namespace

CXShoot::CXShoot(winlayer::Window* parent) : CSkinnedDialog(IDD_XSHOOT, parent) {}

bool CXShoot::SetTarget(SettingsRecord& record, int buttonIndex) {
    return m_target.Set(record, buttonIndex);
}

int CXShoot::OnCreate(CREATESTRUCTW& create) {
    const int result = CSkinnedDialog::OnCreate(create);
    LoadSkinPictures(kSkin, true);
    MakeButton(m_ok, kOkRect, SkinFile::ButtonText(kSkin, kOkText), Background(), Hover());
    MakeButton(m_cancel, kCancelRect, SkinFile::ButtonText(kSkin, kCancelText), Background(),
               Hover());
    MakeButton(m_fourth, kFourthRect, L"", Background(), Hover());
    m_first.Create(kValueStyle, kFirstRect, Hwnd(), 0);
    m_second.Create(kValueStyle, kSecondRect, Hwnd(), 0);
    m_key.Create(kKeyStyle, kKeyRect, Hwnd(), 0);
    SetLimit(m_first, kValueDigits);
    SetLimit(m_second, kValueDigits);
    SetLimit(m_key, kKeyCharacters);
    MakeButton(m_choiceButton, kChoiceRect, L"", Background(), Hover());
    for (size_t i = 0; i < m_labels.size(); ++i) {
        MakeLabel(m_labels[i], kLabelRects[i], SkinFile::ButtonText(kSkin, kLabelTexts[i]),
                  RGB(255, 255, 255), kLabelFonts[i]);
    }
    return result;
}

bool CXShoot::OnInitDialog() {
    CSkinnedDialog::OnInitDialog();
    const ButtonAssignment* entry = Entry();
    if (entry == nullptr) {
        EndDialog(IDCANCEL);
        return false;
    }
    m_values = XShootEntry::Read(*entry);
    if (entry->FunctionCode == XShootEntry::kFunctionCode) {
        SetWindowTextW(m_first.Hwnd(), std::to_wstring(m_values.first).c_str());
        SetWindowTextW(m_second.Hwnd(), std::to_wstring(m_values.second).c_str());
        SetWindowTextW(m_key.Hwnd(), XShootEntry::KeyText(m_values).c_str());
    }
    EnableWindow(m_key.Hwnd(), m_values.choice == kKeyboardKey);
    return true;
}

void CXShoot::OnDestroy() {
    m_dropDown.Close();
    CSkinnedDialog::OnDestroy();
}

void CXShoot::OpenDropDown() {
    RECT button{};
    GetClientRect(m_choiceButton.Hwnd(), &button);
    MapWindowPoints(m_choiceButton.Hwnd(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    m_dropDown.Open(*this, kMenuPictures, kMenuStyle, POINT{button.left + 1, button.bottom},
                    kMenuItems);
}

void CXShoot::Choose(int choice) {
    m_values.choice = choice;
    m_values.code = XShootEntry::CodeOfChoice(choice);
    SetWindowTextW(m_key.Hwnd(), XShootEntry::KeyText(m_values).c_str());
    const bool keyboard = choice == kKeyboardKey;
    EnableWindow(m_key.Hwnd(), keyboard);
    if (keyboard) {
        SetFocus(m_key.Hwnd());
    }
}

void CXShoot::OnValueTyped(const CClrEdit& edit, int& stored) {
    stored = NumberClamp::Typed(edit.Text(), stored, XShootEntry::kLowest, XShootEntry::kHighest);
}

void CXShoot::CommitValue(HWND field) {
    for (auto [edit, stored] :
         {std::pair{&m_first, &m_values.first}, std::pair{&m_second, &m_values.second}}) {
        if (field != nullptr && field == edit->Hwnd()) {
            const auto step =
                NumberClamp::Committed(edit->Text(), XShootEntry::kLowest, XShootEntry::kHighest);
            *stored = step.value;
            if (step.shown) {
                edit->ShowCorrectedText(*step.shown);
            }
        }
    }
}

void CXShoot::OnKeyTyped() {
    if (m_values.choice != kKeyboardKey) {
        return;
    }
    // The name shown for the stored key (also while the dialog shows it) stands for that key;
    // only a typed character chooses another, and the field then names it as a reopened dialog
    // does.
    const std::wstring text = m_key.Text();
    if (!text.empty() && text != XShootEntry::KeyText(m_values)) {
        m_values.code = XShootEntry::CodeOfCharacter(text[0]);
        m_key.ShowCorrectedText(XShootEntry::KeyText(m_values));
    }
}

bool CXShoot::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    if (HIWORD(wParam) == EN_KILLFOCUS) {
        CommitValue(from);
        return true;
    }
    if (HIWORD(wParam) == EN_CHANGE && from != nullptr) {
        if (from == m_first.Hwnd()) {
            OnValueTyped(m_first, m_values.first);
        } else if (from == m_second.Hwnd()) {
            OnValueTyped(m_second, m_values.second);
        } else if (from == m_key.Hwnd()) {
            OnKeyTyped();
        }
        return true;
    }
    if (IsClickOf(wParam, lParam, m_choiceButton)) {
        OpenDropDown();
    } else if (IsClickOf(wParam, lParam, m_ok)) {
        if (ButtonAssignment* entry = Entry()) {
            XShootEntry::Write(TypedValue(m_first), TypedValue(m_second), m_values.code, *entry);
            EndDialog(IDOK);
        }
    } else if (IsClickOf(wParam, lParam, m_cancel) || IsClickOf(wParam, lParam, m_fourth) ||
               LOWORD(wParam) == IDCANCEL) {
        // Closing the window counts as Cancel.
        EndDialog(IDCANCEL);
    }
    return true;
}

LRESULT CXShoot::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ControlMessages::kEditEnter) {
        CommitValue(GetFocus());
        return 0;
    }
    if (message == kChoiceMessage) {
        m_dropDown.Close();
        const int choice = HIWORD(lParam);
        // A choice the menu does not offer changes nothing.
        if (choice >= 1 && choice <= kKeyboardKey) {
            Choose(choice);
        }
        return 0;
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

bool CXShoot::PreTranslateMessage(MSG& msg) {
    if (IsKeyDownOf(msg, {VK_RETURN, VK_ESCAPE})) {
        return true;
    }
    return CSkinnedDialog::PreTranslateMessage(msg);
}

void CXShoot::OnLButtonDown(UINT flags, POINT point) {
    CommitValue(GetFocus());
    m_dropDown.Close();
    CSkinnedDialog::OnLButtonDown(flags, point);
}
