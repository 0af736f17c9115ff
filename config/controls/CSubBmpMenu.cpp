#include "config/controls/CSubBmpMenu.h"

#include "config/controls/CBmpMenuChoice.h"
#include "config/controls/CBmpMenuLayout.h"
#include "config/controls/ListAndMenuResources.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

namespace {
constexpr int kCaptionHorizontal = 1;
} // namespace

CSubBmpMenu::CSubBmpMenu(int entryIndex, std::vector<tagBMPMENUINFO> subEntries,
                         winlayer::Window* owner)
    : Dialog(IDD_BMPMENU, owner), m_entryIndex(entryIndex), m_subEntries(std::move(subEntries)) {
    if (m_subEntries.size() > CBmpMenuEntries::kMaxEntries) {
        m_subEntries.resize(CBmpMenuEntries::kMaxEntries);
    }
}

void CSubBmpMenu::SetPosition(int x, int y) {
    m_position = {x, y};
}

void CSubBmpMenu::SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* first,
                            Gdiplus::Bitmap* second, Gdiplus::Bitmap* third,
                            Gdiplus::Bitmap* fourth) {
    m_images = {CutPicture(first, x, y, width, height), CutPicture(second, x, y, width, height),
                CutPicture(third, x, y, width, height), CutPicture(fourth, x, y, width, height)};
}

HWND CSubBmpMenu::EntryButton(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_buttons.size()) {
        return nullptr;
    }
    return m_buttons[static_cast<size_t>(index)]->Hwnd();
}

bool CSubBmpMenu::OnInitDialog() {
    const int width = m_images[0] ? static_cast<int>(m_images[0]->GetWidth()) : 0;
    const int height = m_images[0] ? static_cast<int>(m_images[0]->GetHeight()) : 0;
    // Shown without taking the activation from the menu, whose buttons track the cursor.
    SetWindowPos(Hwnd(), HWND_TOP, m_position.x, m_position.y, width, height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    m_buttons.clear();
    for (size_t i = 0; i < m_subEntries.size(); ++i) {
        const RECT r = CBmpMenuLayout::SubEntryRect(static_cast<int>(i), width);
        // A button that could not be made stays in its place, so indexes keep naming entries.
        auto button = std::make_unique<CBitmapBtn>();
        button->Create(L"", WS_VISIBLE, r, Hwnd(), 0);
        button->SetImages(r.left, r.top, r.right - r.left, r.bottom - r.top, m_images[0].get(),
                          m_images[1].get());
        button->SetCaption(m_subEntries[i].text, 0, kCaptionHorizontal);
        const RECT text = CBmpMenuLayout::SubEntryTextRect(width);
        button->SetTextRect(text.left, text.top, text.right, text.bottom);
        m_buttons.push_back(std::move(button));
    }
    return false;
}

bool CSubBmpMenu::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (from != nullptr && m_buttons[i]->Hwnd() == from) {
            if (HIWORD(wParam) == BN_CLICKED) {
                PostMessageW(GetParent(Hwnd()), CBmpMenuChoice::kSubMenuChoice,
                             CBmpMenuChoice::SubEntryWParam(m_entryIndex, static_cast<int>(i)),
                             CBmpMenuChoice::SubEntryLParam(m_subEntries[i].value));
            }
            return true;
        }
    }
    return Dialog::OnCommand(wParam, lParam);
}

void CSubBmpMenu::OnPaint() {
    const winlayer::PaintDC paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(paint.Get(), client);
    DrawStretched(buffer.Graphics(), m_images[0].get(),
                  Gdiplus::Rect(0, 0, buffer.Width(), buffer.Height()));
}

bool CSubBmpMenu::OnEraseBkgnd(HDC) {
    return true;
}
