#include "config/controls/CBmpMenu.h"

#include "config/controls/CBmpMenuChoice.h"
#include "config/controls/CBmpMenuLayout.h"
#include "config/controls/ListAndMenuResources.h"
#include "config/core/SkinFile.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

#include <windowsx.h>

namespace {
constexpr COLORREF kEntryTextColor = 0xAFAFAF;
constexpr int kCaptionHorizontal = 1;

std::array<PicturePtr, 4> LoadFour(const std::wstring& first, const std::wstring& second,
                                   const std::wstring& third, const std::wstring& fourth) {
    return {LoadPicture(first), LoadPicture(second), LoadPicture(third), LoadPicture(fourth)};
}

SIZE PictureSize(const PicturePtr& picture) {
    if (!picture) {
        return {};
    }
    return {static_cast<LONG>(picture->GetWidth()), static_cast<LONG>(picture->GetHeight())};
}

// The background of a menu shorter than its picture: the picture down to `height` - `margin`,
// then the picture's own bottom `margin` rows.
PicturePtr ShortenedPicture(Gdiplus::Bitmap* picture, int height, int margin) {
    const auto width = static_cast<int>(picture->GetWidth());
    const auto full = static_cast<int>(picture->GetHeight());
    auto shortened = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(shortened.get());
    const PicturePtr top = CutPicture(picture, 0, 0, width, height - margin);
    DrawStretched(graphics, top.get(), Gdiplus::Rect(0, 0, width, height - margin));
    if (margin > 0) {
        const PicturePtr bottom = CutPicture(picture, 0, full - margin, width, margin);
        DrawStretched(graphics, bottom.get(), Gdiplus::Rect(0, height - margin, width, margin));
    }
    return shortened;
}
} // namespace

CBmpMenu::CBmpMenu(winlayer::Window* owner) : Dialog(IDD_BMPMENU, owner) {}

CBmpMenu::~CBmpMenu() {
    // The sub-menu is owned by this window: it goes first, while both objects are whole.
    CloseSubMenu();
}

void CBmpMenu::LoadImages(const std::wstring& first, const std::wstring& second,
                          const std::wstring& third, const std::wstring& fourth) {
    m_pictures = LoadFour(first, second, third, fourth);
}

void CBmpMenu::LoadSubImages(const std::wstring& first, const std::wstring& second,
                             const std::wstring& third, const std::wstring& fourth) {
    m_subPictures = LoadFour(first, second, third, fourth);
}

void CBmpMenu::AddItem(const std::wstring& text, int value) {
    m_entries.AddItem(text, value);
}

void CBmpMenu::AddSubItem(int index, const std::wstring& text, int value) {
    m_entries.AddSubItem(index, text, value);
}

SIZE CBmpMenu::FirstPictureSize() const {
    return PictureSize(m_pictures[0]);
}

HWND CBmpMenu::EntryButton(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_buttons.size()) {
        return nullptr;
    }
    return m_buttons[static_cast<size_t>(index)]->Hwnd();
}

bool CBmpMenu::DestroyWindow() {
    CloseSubMenu();
    m_buttons.clear();
    return Dialog::DestroyWindow();
}

void CBmpMenu::OnDestroy() {
    // Also reached when the window goes without DestroyWindow (its owner went first): a menu
    // object used again starts empty.
    CloseSubMenu();
    m_entries.Clear();
    m_pictures = {};
    m_subPictures = {};
    m_background.reset();
    m_tipHold.reset();
    Dialog::OnDestroy();
}

bool CBmpMenu::OnInitDialog() {
    m_tipHold.emplace(GetParent(Hwnd()));
    SIZE size = PictureSize(m_pictures[0]);
    const auto entries = m_entries.Entries();
    // No empty rows under the last entry when the picture has room for more.
    const auto count = static_cast<int>(entries.size());
    const int height = CBmpMenuLayout::MenuHeight(m_style, count, size.cy);
    m_background.reset();
    if (height < size.cy) {
        const int margin =
            height -
            static_cast<int>(CBmpMenuLayout::EntryRect(m_style, count - 1, size.cx).bottom);
        m_background = ShortenedPicture(m_pictures[0].get(), height, margin);
        size.cy = height;
    }
    SetWindowPos(Hwnd(), HWND_TOP, m_position.x, m_position.y, size.cx, size.cy, SWP_SHOWWINDOW);
    m_buttons.clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        const RECT r = CBmpMenuLayout::EntryRect(m_style, static_cast<int>(i), size.cx);
        // A button that could not be made stays in its place, so indexes keep naming entries.
        auto button = std::make_unique<CBitmapBtn>();
        button->Create(L"", WS_VISIBLE, r, Hwnd(), 0);
        button->SetImages(r.left, r.top, r.right - r.left, r.bottom - r.top, m_pictures[0].get(),
                          m_pictures[1].get());
        button->SetCaption(entries[i].text, 0, kCaptionHorizontal);
        button->SetFontSize(m_fontSize);
        button->SetTextColors(kEntryTextColor, kEntryTextColor, kEntryTextColor);
        m_buttons.push_back(std::move(button));
    }
    return false;
}

bool CBmpMenu::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (from == nullptr || m_buttons[i]->Hwnd() != from) {
            continue;
        }
        const tagBMPMENUINFO* entry = m_entries.At(static_cast<int>(i));
        if (HIWORD(wParam) == BN_CLICKED && entry != nullptr && !entry->hasSubMenu) {
            PostMessageW(GetParent(Hwnd()), CBmpMenuChoice::kMenuChoice,
                         CBmpMenuChoice::EntryWParam(static_cast<int>(i)),
                         CBmpMenuChoice::EntryLParam(entry->value));
        }
        return true;
    }
    if (LOWORD(wParam) == IDCANCEL && from == nullptr) {
        // Escape: a report that chooses nothing; the owner closes the menu as after a choice.
        PostMessageW(GetParent(Hwnd()), CBmpMenuChoice::kMenuChoice,
                     CBmpMenuChoice::EntryWParam(CBmpMenuChoice::kNoEntry), 0);
        return true;
    }
    return Dialog::OnCommand(wParam, lParam);
}

LRESULT CBmpMenu::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CBmpMenuChoice::kSubMenuChoice && Hwnd() != nullptr) {
        const tagBMPMENUINFO* entry = m_entries.At(HIWORD(wParam));
        if (entry != nullptr) {
            PostMessageW(GetParent(Hwnd()), CBmpMenuChoice::kMenuChoice, wParam,
                         CBmpMenuChoice::RelayLParam(lParam, entry->value));
        }
    }
    return Dialog::DefWindowProc(message, wParam, lParam);
}

void CBmpMenu::OnPaint() {
    const winlayer::PaintDC paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(paint.Get(), client);
    DrawStretched(buffer.Graphics(), m_background ? m_background.get() : m_pictures[0].get(),
                  Gdiplus::Rect(0, 0, buffer.Width(), buffer.Height()));
}

bool CBmpMenu::OnEraseBkgnd(HDC) {
    return true;
}

void CBmpMenu::OnMouseMove(UINT, POINT point) {
    // A move on the menu's own surface comes in client coordinates, where the message's position
    // lies; the entry buttons forward theirs in screen coordinates. The pointer is not read again:
    // by now it may be elsewhere, and every program on the display moves it.
    const DWORD position = GetMessagePos();
    POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    POINT client = cursor;
    ScreenToClient(Hwnd(), &client);
    if (client.x != point.x || client.y != point.y) {
        cursor = point;
    }
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        tagBMPMENUINFO* entry = m_entries.At(static_cast<int>(i));
        if (entry == nullptr) {
            break;
        }
        RECT button{};
        GetWindowRect(m_buttons[i]->Hwnd(), &button);
        if (PtInRect(&button, cursor)) {
            if (m_subMenu && m_subMenu->EntryIndex() == static_cast<int>(i)) {
                return;
            }
            CloseSubMenu();
            if (entry->hasSubMenu && !entry->subMenuOpen) {
                OpenSubMenuFor(static_cast<int>(i));
            }
        } else if (entry->subMenuOpen && m_subMenu) {
            RECT sub{};
            GetWindowRect(m_subMenu->Hwnd(), &sub);
            if (!PtInRect(&sub, cursor)) {
                CloseSubMenu();
            }
        }
    }
}

void CBmpMenu::OpenSubMenuFor(int index) {
    tagBMPMENUINFO* entry = m_entries.At(index);
    if (entry == nullptr) {
        return;
    }
    if (const auto picture = CBmpMenuLayout::SubMenuPicture(index)) {
        const std::wstring highlight = SkinFile::Path(CBmpMenuLayout::SubMenuHighlightPicture());
        const std::wstring own = SkinFile::Path(*picture);
        LoadSubImages(own, highlight, highlight, own);
    }
    // Without sub-menu pictures of its own the sub-menu wears the menu's.
    const auto& sources = m_subPictures[0] ? m_subPictures : m_pictures;
    const SIZE size = PictureSize(sources[0]);

    entry->subMenuOpen = true;
    m_subMenu = std::make_unique<CSubBmpMenu>(index, entry->subEntries, this);
    m_subMenu->SetImages(0, 0, size.cx, size.cy, sources[0].get(), sources[1].get(),
                         sources[2].get(), sources[3].get());
    RECT menu{};
    GetWindowRect(Hwnd(), &menu);
    const POINT origin = CBmpMenuLayout::SubMenuOrigin(menu, size);
    m_subMenu->SetPosition(origin.x, origin.y);
    if (!m_subMenu->Create(IDD_BMPMENU, this)) {
        CloseSubMenu();
        return;
    }
    ShowWindow(m_subMenu->Hwnd(), SW_SHOWNOACTIVATE);
}

void CBmpMenu::CloseSubMenu() {
    if (!m_subMenu) {
        return;
    }
    if (tagBMPMENUINFO* entry = m_entries.At(m_subMenu->EntryIndex())) {
        entry->subMenuOpen = false;
    }
    // Moved out first: destroying the window may bring this object back here.
    std::unique_ptr<CSubBmpMenu> subMenu = std::move(m_subMenu);
    subMenu->DestroyWindow();
}
