#pragma once

#include "config/controls/CBitmapBtnLook.h"
#include "config/controls/SharedToolTip.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Window.h"

#include <memory>
#include <string>

// What both bitmap buttons share: an owner-drawn BUTTON that paints one of four state images cut
// from the skin's page pictures, a caption coloured by state, its own hover state kept by
// capturing the mouse (each move is forwarded to the parent in screen coordinates), a tooltip
// and an optional two-state (checked) mode.
class CBitmapBtnBase : public winlayer::Window {
public:
    // Makes the BUTTON window as an owner-drawn child.
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, int id);

    // Cuts (x, y, width, height) out of the normal and the over source; the pressed look uses
    // the over image and the disabled look the normal image. The sources stay the caller's.
    void SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* normalSource,
                   Gdiplus::Bitmap* overSource);
    void SetCheckable(bool checkable);
    void SetFontSize(int height);
    // Normal, over and pressed caption colours; the disabled colour stays.
    void SetTextColors(COLORREF normal, COLORREF over, COLORREF pressed);
    // Draws the caption into this rectangle (client coordinates) from now on.
    void SetTextRect(int left, int top, int right, int bottom);
    // The first call makes the button a tool over its client area in its top-level window's
    // tooltip; an inactive tool shows no tip.
    void SetToolTipText(const std::wstring& text, bool activate);

    bool IsChecked() const { return m_checked; }
    bool IsHover() const { return m_hover; }
    const std::wstring& Caption() const { return m_caption; }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    CBitmapBtnBase(COLORREF overColor, COLORREF pressedColor, UINT textRectFormat);
    ~CBitmapBtnBase() override;

    void StoreCaption(const std::wstring& caption, int xOffset, int orientation);
    // Redraws only when the state changes.
    void ChangeChecked(bool checked);
    void Redraw() const;
    void NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Runs at the end of each paint.
    virtual void OnPainted() {}

    void OnAttached() override;
    void OnDestroy() override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnCaptureChanged(HWND newCapture) override;
    void OnKillFocus(HWND next) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    bool OnEraseBkgnd(HDC dc) override;
    bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    Gdiplus::Bitmap* ImageFor(BtnImage image) const;
    void ClearStyle(LONG_PTR bits) const;
    void DrawCaption(HDC dc, const RECT& client, COLORREF color) const;

    std::wstring m_caption;
    std::wstring m_toolTipText;
    std::shared_ptr<SharedToolTip> m_toolTip;
    bool m_toolTipActive = false;
    bool m_hover = false;
    bool m_checkable = false;
    bool m_checked = false;
    PicturePtr m_normal;
    // Empty when the over source was the normal source: the normal cut serves every state.
    PicturePtr m_over;
    bool m_textRectMode = false;
    RECT m_textRect{};
    int m_fontHeight = 16;
    int m_xOffset = 0;
    int m_orientation = kBtnHorizontal;
    BtnColors m_colors;
    UINT m_textRectFormat;
};
