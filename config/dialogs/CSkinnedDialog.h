#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CStaticTrans.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Dialog.h"

#include <initializer_list>
#include <string>
#include <string_view>

// What the skinned secondary dialogs share: a background picture that sets the window's size and
// is painted stretched over it, a hover picture, bitmap buttons whose looks are cut out of those
// pictures at their own rectangles, transparent labels, and an optional shape that leaves the
// background's white pixels out of the window.
class CSkinnedDialog : public winlayer::Dialog {
public:
    CSkinnedDialog(UINT templateId, winlayer::Window* parent);

protected:
    // Loads both pictures (full paths; a missing file gives no picture) and sizes the window to
    // the background at (0, 0). Without a background the template's size stays.
    void LoadPictures(const std::wstring& backgroundPath, const std::wstring& hoverPath);
    // The pictures that section "Screen" of skin ini iniName (under "skins\") names "Main" and,
    // when asked for, "Over".
    void LoadSkinPictures(std::wstring_view iniName, bool withHover);
    Gdiplus::Bitmap* Background() const { return m_background.get(); }
    Gdiplus::Bitmap* Hover() const { return m_hover.get(); }

    // A visible owner-drawn button over rect (client coordinates) whose normal and disabled looks
    // are cut from normalSource and whose over and pressed looks from overSource.
    bool MakeButton(CBitmapBtn& button, const RECT& rect, const std::wstring& caption,
                    Gdiplus::Bitmap* normalSource, Gdiplus::Bitmap* overSource);
    // A transparent label (id 0xFFFF), text vertically centred.
    bool MakeLabel(CStaticTrans& label, const RECT& rect, const std::wstring& text, COLORREF color,
                   int fontHeight);
    // Cuts the background's pure white pixels out of the window; nothing when none remain.
    void ShapeToBackground();

    // Commands are told apart by the sending control's window.
    static bool IsClickOf(WPARAM wParam, LPARAM lParam, const winlayer::Window& button) {
        return HIWORD(wParam) == BN_CLICKED && button.Hwnd() != nullptr &&
               reinterpret_cast<HWND>(lParam) == button.Hwnd();
    }
    // A key-down of one of keys: the dialogs swallow Enter and Escape so that only their buttons
    // end them.
    static bool IsKeyDownOf(const MSG& msg, std::initializer_list<UINT> keys);

    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;

private:
    PicturePtr m_background;
    PicturePtr m_hover;
};
