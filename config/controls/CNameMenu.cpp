#include "config/controls/CNameMenu.h"

#include "config/controls/CWindowHost.h"
#include "config/core/SkinFile.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

#include <algorithm>

namespace {
constexpr COLORREF kListBackground = 0x000000;
constexpr COLORREF kTextColor = 0xAFAFAF;
} // namespace

CNameMenu::CNameMenu(UINT templateId, winlayer::Window* owner, int value, std::wstring pictureName,
                     UINT choiceMessage, std::vector<std::wstring> entries)
    : Dialog(templateId, owner), m_owner(owner), m_value(value),
      m_pictureName(std::move(pictureName)), m_choiceMessage(choiceMessage),
      m_entries(std::move(entries)) {}

int CNameMenu::RowsFor(size_t names) {
    return static_cast<int>(std::min<size_t>(names, kMaxRows));
}

int CNameMenu::OnCreate(CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    m_rows = RowsFor(m_entries.size());
    m_background = LoadPicture(SkinFile::Path(m_pictureName));
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    // Without its picture the menu keeps the template's width.
    m_width =
        m_background ? static_cast<int>(m_background->GetWidth()) : window.right - window.left;
    SetWindowPos(Hwnd(), nullptr, 0, 0, m_width, HeightFor(m_rows),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT listRect{1, 1, m_width - 1, m_rows * kRowHeight + 1};
    if (!m_list.Create(WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE |
                           LBS_NOINTEGRALHEIGHT,
                       listRect, Hwnd(), kListId)) {
        return -1;
    }
    return 0;
}

bool CNameMenu::OnInitDialog() {
    m_tipHold.emplace(GetParent(Hwnd()));
    // The owner keeps the activation: the menu only shows the names.
    SetWindowPos(Hwnd(), HWND_TOP, m_position.x, m_position.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    m_list.SetColors(kListBackground, kFrameColor);
    m_list.SetTextColors(kTextColor, kTextColor);
    for (const std::wstring& entry : m_entries) {
        m_list.AddItem(0, entry);
    }
    return false;
}

bool CNameMenu::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) == m_list.Hwnd() && m_list.Hwnd() != nullptr) {
        const UINT code = HIWORD(wParam);
        if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
            PostChoice();
        }
        return true;
    }
    return Dialog::OnCommand(wParam, lParam);
}

void CNameMenu::PostChoice() const {
    const int row = m_list.GetCurSel();
    const auto count = static_cast<int>(SendMessageW(m_list.Hwnd(), LB_GETCOUNT, 0, 0));
    if (row < 0 || row >= count || m_owner == nullptr || m_owner->Hwnd() == nullptr) {
        return;
    }
    PostMessageW(m_owner->Hwnd(), m_choiceMessage, static_cast<WPARAM>(row), 0);
}

void CNameMenu::OnPaint() {
    const winlayer::PaintDC paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(paint.Get(), client);
    Gdiplus::Graphics& graphics = buffer.Graphics();
    graphics.Clear(OpaqueColor(kListBackground));
    if (m_background) {
        // Unscaled from the top-left corner: the menu shows as much of it as its rows need.
        DrawStretched(graphics, m_background.get(),
                      Gdiplus::Rect(0, 0, static_cast<INT>(m_background->GetWidth()),
                                    static_cast<INT>(m_background->GetHeight())));
    }
    Gdiplus::Pen pen(OpaqueColor(kFrameColor), 1.0F);
    const int bottom = m_rows * kRowHeight + 1;
    graphics.DrawLine(&pen, 0, bottom, m_width, bottom);
    graphics.DrawLine(&pen, m_width - 1, 1, m_width - 1, bottom);
}

bool CNameMenu::OnEraseBkgnd(HDC) {
    return true;
}

void CNameMenu::OnDestroy() {
    // A list that an object took over goes back into the menu, and goes with it.
    if (m_list.Hwnd() != nullptr) {
        RestoreHostedWindow(m_list.Hwnd());
    }
    m_tipHold.reset();
    Dialog::OnDestroy();
    m_background.reset();
}
