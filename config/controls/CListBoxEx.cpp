#include "config/controls/CListBoxEx.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/CDelayRowText.h"
#include "shared/gfx/CMemoryDC.h"
#include "winlayer/PaintDC.h"

#include <array>

namespace {
constexpr int kIconLeft = 5;
constexpr int kIconTextLeft = 16 + 16;
constexpr int kPlainTextLeft = 8;
constexpr int kEditLeft = 2;
constexpr int kEditWidth = 55;
constexpr int kEditLimit = 5;
constexpr DWORD kFontQuality = 6;
constexpr DWORD kFontPitchAndFamily = 14;

// One delay edit is open at a time, whichever list it belongs to; the parent and notify window
// are shared by all lists.
struct SharedState {
    CListBoxEx* editingList = nullptr;
    HWND cachedParent = nullptr;
    HWND notify = nullptr;
};

SharedState& Shared() {
    static SharedState state;
    return state;
}

bool IsEventRow(int itemValue) {
    return itemValue == 148 || itemValue == 149;
}
} // namespace

CListBoxEx::CListBoxEx()
    : m_textColor(GetSysColor(COLOR_WINDOWTEXT)),
      m_selectedTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_highlightColor(GetSysColor(COLOR_HIGHLIGHT)) {}

CListBoxEx::~CListBoxEx() {
    // The edit's procedure reaches back into this object while the edit goes.
    if (m_edit != nullptr) {
        ::DestroyWindow(m_edit);
    }
}

bool CListBoxEx::Create(DWORD style, const RECT& rect, HWND parent, int id) {
    if ((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0) {
        style |= LBS_OWNERDRAWFIXED;
    }
    return Window::Create(L"LISTBOX", L"", style | WS_CHILD | LBS_HASSTRINGS, rect, parent, id);
}

int CListBoxEx::AddItem(int value, const std::wstring& text) {
    const auto index = static_cast<int>(
        SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (index >= 0) {
        SendMessageW(Hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), value);
    }
    return index;
}

int CListBoxEx::InsertItem(int index, int value, const std::wstring& text) {
    const auto inserted =
        static_cast<int>(SendMessageW(Hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.c_str())));
    if (inserted >= 0) {
        SendMessageW(Hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(inserted), value);
    }
    return inserted;
}

int CListBoxEx::GetCurSel() const {
    return static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
}

int CListBoxEx::SetCurSel(int index) {
    return static_cast<int>(SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

std::wstring CListBoxEx::GetText(int index) const {
    const auto length =
        static_cast<int>(SendMessageW(Hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(SendMessageW(
        Hwnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

int CListBoxEx::DeleteString(int index) {
    return static_cast<int>(SendMessageW(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

void CListBoxEx::SetColors(COLORREF background, COLORREF highlight) {
    m_background.Reset(CreateSolidBrush(background));
    m_highlightColor = highlight;
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CListBoxEx::SetTextColors(COLORREF text, COLORREF selectedText) {
    m_textColor = text;
    m_selectedTextColor = selectedText;
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CListBoxEx::SetNotifyWindow(HWND window) {
    m_notify = window;
    Shared().notify = window;
}

void CListBoxEx::SetSelectionMode(bool selectionMode) {
    m_selectionMode = selectionMode;
}

HFONT CListBoxEx::Font() {
    if (!m_font) {
        m_font.Reset(CreateFontW(14, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, kFontQuality,
                                 kFontPitchAndFamily, CControlGlobals::FaceName().c_str()));
    }
    return m_font.Get();
}

int CListBoxEx::RowAt(POINT point) const {
    const auto hit =
        static_cast<DWORD>(SendMessageW(Hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
    if (HIWORD(hit) != 0) {
        return -1;
    }
    return static_cast<int>(LOWORD(hit));
}

void CListBoxEx::RedrawRow(int index) const {
    RECT row{};
    if (index >= 0 && SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(&row)) != LB_ERR) {
        InvalidateRect(Hwnd(), &row, TRUE);
    }
}

void CListBoxEx::ReplaceRow(int index, const std::wstring& text, LPARAM value) {
    DeleteString(index);
    InsertItem(index, static_cast<int>(value), text);
    SetCurSel(index);
}

void CListBoxEx::PostRowMessage(UINT message, int row) const {
    if (m_notify != nullptr) {
        const LRESULT value = SendMessageW(Hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
        if (value != LB_ERR) {
            PostMessageW(m_notify, message, static_cast<WPARAM>(row), value);
        }
        return;
    }
    PostMessageW(GetParent(Hwnd()), message, static_cast<WPARAM>(row), 0);
}

void CListBoxEx::EditDelay(int index, int itemValue) {
    const auto count = static_cast<int>(SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
    if (Shared().editingList != nullptr || index < 0 || index >= count || IsEventRow(itemValue)) {
        return;
    }
    RedrawRow(index);
    m_rowBefore = GetText(index);
    m_itemBefore = SendMessageW(Hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    const int delay = CDelayRowText::RowDelay(m_rowBefore);
    m_editedRow = index;
    ReplaceRow(index, L"");

    RECT row{};
    SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&row));
    m_edit = CreateWindowExW(0, L"EDIT", std::to_wstring(delay).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_WANTRETURN,
                             row.left + kEditLeft, row.top, kEditWidth, row.bottom - row.top,
                             Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_edit == nullptr) {
        m_editedRow = -1;
        return;
    }
    SendMessageW(m_edit, EM_LIMITTEXT, kEditLimit, 0);
    SendMessageW(m_edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
    SendMessageW(m_edit, EM_SETSEL, 0, -1);
    SetFocus(m_edit);
    Shared().editingList = this;
    m_editSubclass.Install(m_edit, [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return DelayEditProc(hwnd, message, wParam, lParam);
    });
}

LRESULT CListBoxEx::DelayEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYUP && m_editedRow >= 0) {
        if (wParam == VK_RETURN) {
            CommitDelay(true);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            AbandonDelay();
            return 0;
        }
    }
    if (message == WM_DESTROY) {
        m_edit = nullptr;
        m_editedRow = -1;
        Shared().editingList = nullptr;
    }
    return m_editSubclass.CallPrevious(hwnd, message, wParam, lParam);
}

void CListBoxEx::CommitDelay(bool withEnter) {
    std::array<wchar_t, CDelayRowText::kMaxTyped + 1> typed{};
    GetWindowTextW(m_edit, typed.data(), static_cast<int>(typed.size()));
    const int delay = CDelayRowText::TypedDelay(typed.data());
    // The row is reported as it was before the edit state is cleared.
    const int row = m_editedRow;
    ReplaceRow(row, CDelayRowText::CommittedRow(delay));
    CloseDelayEdit();
    if (withEnter && Shared().cachedParent != nullptr) {
        PostMessageW(Shared().cachedParent, kDelayEnter, 0, 0);
    }
    if (Shared().notify != nullptr) {
        PostMessageW(Shared().notify, kDelayEdited, static_cast<WPARAM>(delay), row);
    }
}

void CListBoxEx::AbandonDelay() {
    ReplaceRow(m_editedRow, m_rowBefore, m_itemBefore);
    CloseDelayEdit();
}

void CListBoxEx::CloseDelayEdit() {
    m_editedRow = -1;
    ::DestroyWindow(m_edit);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CListBoxEx::OnMouseMove(UINT, POINT point) {
    if (Shared().cachedParent == nullptr) {
        Shared().cachedParent = GetParent(Hwnd());
    }
    Default();
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
        m_trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    if (m_edit != nullptr) {
        return;
    }
    const int row = RowAt(point);
    if (row == m_hovered) {
        return;
    }
    RedrawRow(m_hovered);
    m_hovered = row;
    RedrawRow(m_hovered);
}

void CListBoxEx::OnMouseLeave() {
    m_trackingLeave = false;
    Default();
}

void CListBoxEx::OnLButtonDown(UINT, POINT point) {
    if (m_locked) {
        return;
    }
    const int row = RowAt(point);
    const int selected = GetCurSel();
    if (m_edit != nullptr) {
        if (row == selected) {
            return;
        }
        CommitDelay(false);
    }
    SetCurSel(row);
    PostRowMessage(kRowClicked, row);
    Default();
}

void CListBoxEx::OnLButtonDblClk(UINT, POINT point) {
    SetCurSel(RowAt(point));
    Default();
}

void CListBoxEx::OnMButtonDown(UINT, POINT) {
    if (!m_locked) {
        Default();
    }
}

void CListBoxEx::OnRButtonUp(UINT, POINT point) {
    if (m_rightClickOff) {
        return;
    }
    PostRowMessage(kRowMenu, RowAt(point));
    Default();
}

void CListBoxEx::OnKeyDown(UINT, UINT, UINT) {
    if (m_edit != nullptr) {
        Default();
    }
}

void CListBoxEx::OnKeyUp(UINT, UINT, UINT) {
    if (m_edit != nullptr) {
        Default();
    }
}

void CListBoxEx::OnKillFocus(HWND) {}

void CListBoxEx::OnEnable(bool) {
    Default();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

HBRUSH CListBoxEx::OnReflectedCtlColor(HDC, UINT message) {
    if (message != WM_CTLCOLORLISTBOX) {
        return nullptr;
    }
    return Fill();
}

HBRUSH CListBoxEx::Fill() const {
    if (!IsWindowEnabled(Hwnd())) {
        return GetSysColorBrush(COLOR_INACTIVEBORDER);
    }
    return m_background.Get();
}

void CListBoxEx::OnPaint() {
    // The list box would draw a focus row in an empty list; a list without rows shows none.
    const HBRUSH fill = Fill();
    if (SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0) > 0 || fill == nullptr) {
        Default();
        return;
    }
    const winlayer::PaintDC dc(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    FillRect(dc.Get(), &client, fill);
}

bool CListBoxEx::OnReflectedMeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = kRowHeight;
    return true;
}

bool CListBoxEx::OnReflectedDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID != static_cast<UINT>(-1)) {
        DrawRow(item);
    }
    return true;
}

void CListBoxEx::DrawRow(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT& row = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool highlighted = false;
    bool plain = false;
    if (m_selectionMode) {
        // Rows neither selected nor changing selection keep what the list erased them to.
        highlighted = selected;
        plain = !selected && (item.itemAction & ODA_SELECT) != 0;
    } else {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(Hwnd(), &cursor);
        highlighted = PtInRect(&row, cursor) != FALSE;
        plain = !highlighted;
    }
    if (highlighted) {
        const winlayer::BrushHandle brush(CreateSolidBrush(m_highlightColor));
        FillRect(dc, &row, brush.Get());
    } else if (plain && m_background) {
        FillRect(dc, &row, m_background.Get());
    }

    COLORREF textColor = m_textColor;
    if ((item.itemAction & ODA_FOCUS) != 0 && (item.itemState & ODS_FOCUS) != 0 && selected) {
        textColor = m_selectedTextColor;
    }
    if ((item.itemState & ODS_DISABLED) != 0) {
        textColor = GetSysColor(COLOR_BTNSHADOW);
    }
    SetTextColor(dc, textColor);
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldFont = SelectObject(dc, Font());

    const auto value = static_cast<int>(item.itemData);
    int textLeft = row.left + kPlainTextLeft;
    if (value != 0) {
        textLeft = row.left + kIconTextLeft;
        if (value != 1) {
            const winlayer::BitmapHandle icon(
                LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(value)));
            BITMAP info{};
            if (icon && GetObjectW(icon.Get(), sizeof(info), &info) != 0) {
                CMemoryDC source(dc, icon.Get());
                if (source.IsValid()) {
                    BitBlt(dc, row.left + kIconLeft, row.top, info.bmWidth, info.bmHeight,
                           source.Get(), 0, 0, SRCCOPY);
                }
            }
        }
    }
    const std::wstring text = GetText(static_cast<int>(item.itemID));
    TextOutW(dc, textLeft, row.top, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, oldFont);
}
