#pragma once

#include "winlayer/GdiObject.h"
#include "winlayer/Window.h"

#include <functional>
#include <string>

// An edit field in its own colours and font that reports key-ups, Enter and changes to its
// parent, and can mark for the main window that an edit is in progress.
class CClrEdit : public winlayer::Window {
public:
    // Makes the EDIT window as a child (style as given, plus WS_BORDER when the border switch is
    // on).
    bool Create(DWORD style, const RECT& rect, HWND parent, int id);

    void SetTextColor(COLORREF color);
    void SetBkColor(COLORREF color);
    // Sent as lParam of the key-up report.
    void SetId(int id) { m_id = id; }
    int Id() const { return m_id; }

    // Switches the owner sets.
    void SetBorder(bool on) { m_border = on; }
    void SetReportKeyUps(bool on) { m_reportKeyUps = on; }
    void SetAcceptClicks(bool on) { m_acceptClicks = on; }
    void SetMarksEditing(bool on) { m_marksEditing = on; }
    void SetMarksSecondFlag(bool on) { m_marksSecondFlag = on; }
    void SetReportChanges(bool on) { m_reportChanges = on; }
    bool AcceptsClicks() const { return m_acceptClicks; }
    // Runs for a press while clicks are switched off; when it switches them on, the press goes
    // on to the edit and places the caret.
    void SetRefusedClickHandler(std::function<void()> handler) {
        m_refusedClick = std::move(handler);
    }
    // Shows a text its owner corrected, with the caret after it, so that typing goes on there.
    void ShowCorrectedText(const std::wstring& text);

    bool PreTranslateMessage(MSG& msg) override;

protected:
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    void OnSetFocus(HWND previous) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnTimer(UINT_PTR id) override;
    bool OnEraseBkgnd(HDC dc) override;
    bool OnReflectedCommand(UINT code) override;
    HBRUSH OnReflectedCtlColor(HDC dc, UINT message) override;

private:
    void Notify(UINT message, WPARAM wParam, LPARAM lParam) const;

    COLORREF m_textColor = RGB(200, 200, 200);
    COLORREF m_bkColor = RGB(0, 0, 0);
    winlayer::BrushHandle m_bkBrush;
    winlayer::FontHandle m_font;
    // The face m_font was made with, and the text it was chosen for.
    std::wstring m_fontFace;
    std::wstring m_fontText;
    int m_id = 0;
    bool m_border = false;
    bool m_reportKeyUps = true;
    bool m_acceptClicks = true;
    bool m_marksEditing = false;
    bool m_marksSecondFlag = false;
    bool m_reportChanges = false;
    std::function<void()> m_refusedClick;
};
