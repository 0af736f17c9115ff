#include "config/controls/CMirelMacroDisplay.h"

#include "config/controls/CMacroDisplayLayout.h"
#include "config/controls/ListAndMenuResources.h"
#include "shared/gfx/CMemoryDC.h"
#include "winlayer/PaintDC.h"

namespace {
SIZE LoadEventPicture(int id, winlayer::BitmapHandle& picture) {
    picture.Reset(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
    BITMAP info{};
    if (!picture || GetObjectW(picture.Get(), sizeof(info), &info) == 0) {
        return {};
    }
    return {info.bmWidth, info.bmHeight};
}

void DrawPicture(HDC dc, HBITMAP picture, SIZE size, int x, int y) {
    if (picture == nullptr) {
        return;
    }
    CMemoryDC source(dc, picture);
    if (source.IsValid()) {
        BitBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}
} // namespace

void CMirelMacroDisplay::SetText(const std::wstring& text) {
    m_text = text;
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CMirelMacroDisplay::SetHighlight(bool highlight) {
    m_highlight = highlight;
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

int CMirelMacroDisplay::OnCreate(CREATESTRUCTW& create) {
    const int result = CMirelCustomControl::OnCreate(create);
    m_caretSize = LoadEventPicture(IDB_EVENT_CARET, m_caret);
    m_barSize = LoadEventPicture(IDB_EVENT_BAR, m_bar);
    return result;
}

void CMirelMacroDisplay::OnPaint() {
    const winlayer::PaintDC paint(Hwnd());
    Paint(paint.Get());
}

void CMirelMacroDisplay::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));

    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    CMacroDisplayLayout::Metrics layoutMetrics;
    layoutMetrics.clientRight = client.right;
    layoutMetrics.textHeight = metrics.tmHeight;
    layoutMetrics.caret = m_caretSize;
    layoutMetrics.bar = m_barSize;
    layoutMetrics.textWidth = [dc](wchar_t ch) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, &ch, 1, &extent);
        return static_cast<int>(extent.cx);
    };
    const CMacroDisplayLayout layout(m_text, layoutMetrics);

    if (m_highlight) {
        const winlayer::BrushHandle band(CreateSolidBrush(kHighlightColor));
        for (const RECT& r : layout.HighlightBands()) {
            FillRect(dc, &r, band.Get());
        }
    }
    for (const auto& item : layout.Items()) {
        switch (item.kind) {
        case CMacroDisplayLayout::Kind::Caret:
            DrawPicture(dc, m_caret.Get(), m_caretSize, item.x, item.y);
            break;
        case CMacroDisplayLayout::Kind::Bar:
            DrawPicture(dc, m_bar.Get(), m_barSize, item.x, item.y);
            break;
        case CMacroDisplayLayout::Kind::Text:
            TextOutW(dc, item.x, item.y, &item.ch, 1);
            break;
        }
    }
    SelectObject(dc, oldFont);
}
