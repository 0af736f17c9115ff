#include "config/dialogs/CSkinnedDialog.h"

#include "config/controls/PictureRegion.h"
#include "config/core/SkinFile.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

namespace {
constexpr int kHorizontal = 1;
constexpr int kLabelId = 0xFFFF;
} // namespace

CSkinnedDialog::CSkinnedDialog(UINT templateId, winlayer::Window* parent)
    : Dialog(templateId, parent) {}

void CSkinnedDialog::LoadPictures(const std::wstring& backgroundPath,
                                  const std::wstring& hoverPath) {
    m_background = LoadPicture(backgroundPath);
    m_hover = LoadPicture(hoverPath);
    if (m_background) {
        MoveWindow(Hwnd(), 0, 0, static_cast<int>(m_background->GetWidth()),
                   static_cast<int>(m_background->GetHeight()), TRUE);
    }
}

void CSkinnedDialog::LoadSkinPictures(std::wstring_view iniName, bool withHover) {
    LoadPictures(SkinFile::ScreenPicture(iniName, L"Main"),
                 withHover ? SkinFile::ScreenPicture(iniName, L"Over") : std::wstring());
}

bool CSkinnedDialog::IsKeyDownOf(const MSG& msg, std::initializer_list<UINT> keys) {
    if (msg.message != WM_KEYDOWN) {
        return false;
    }
    for (UINT key : keys) {
        if (msg.wParam == key) {
            return true;
        }
    }
    return false;
}

bool CSkinnedDialog::MakeButton(CBitmapBtn& button, const RECT& rect, const std::wstring& caption,
                                Gdiplus::Bitmap* normalSource, Gdiplus::Bitmap* overSource) {
    if (!button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, Hwnd(), 0)) {
        return false;
    }
    button.SetImages(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     normalSource, overSource);
    button.SetCaption(caption, 0, kHorizontal);
    return true;
}

bool CSkinnedDialog::MakeLabel(CStaticTrans& label, const RECT& rect, const std::wstring& text,
                               COLORREF color, int fontHeight) {
    label.SetFontHeight(fontHeight);
    if (!label.Create(text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, rect, Hwnd(),
                      kLabelId)) {
        return false;
    }
    label.SetTextColor(color);
    return true;
}

void CSkinnedDialog::ShapeToBackground() {
    if (winlayer::RegionHandle region = RegionFromPicture(m_background.get(), RGB(255, 255, 255))) {
        SetWindowRegion(std::move(region), true);
    }
}

void CSkinnedDialog::OnPaint() {
    winlayer::PaintDC paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(paint.Get(), client);
    DrawStretched(buffer.Graphics(), m_background.get(),
                  Gdiplus::Rect(0, 0, buffer.Width(), buffer.Height()));
}

bool CSkinnedDialog::OnEraseBkgnd(HDC) {
    return true;
}
