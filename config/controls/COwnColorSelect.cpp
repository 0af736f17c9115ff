#include "config/controls/COwnColorSelect.h"

#include "config/controls/ControlMessages.h"
#include "config/core/SkinFile.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {
using P = CColorPositions;

constexpr RECT kHueArea{8, 105, 227, 132};
constexpr RECT kSquareArea{9, 5, 124, 98};
constexpr RECT kPreview{134, 12, 160, 59};
// The only areas that change with the colour.
constexpr std::array<RECT, 3> kChangingAreas{RECT{4, 0, 130, 103}, RECT{134, 11, 160, 59},
                                             RECT{4, 104, 232, 133}};
constexpr std::array<RECT, COwnColorSelect::kFieldCount> kFieldRects{
    RECT{184, 10, 215, 26}, RECT{184, 27, 215, 43}, RECT{184, 44, 215, 61}};
constexpr RECT kHexRect{153, 79, 227, 95};
constexpr std::array<RECT, COwnColorSelect::kArrowCount> kArrowRects{
    RECT{216, 11, 227, 17}, RECT{216, 19, 227, 25}, RECT{216, 28, 227, 34},
    RECT{216, 36, 227, 42}, RECT{216, 45, 227, 51}, RECT{216, 53, 227, 59}};
constexpr int kPresetLeft = 8;
constexpr int kPresetPitch = 25;
constexpr int kPresetTop = 140;
constexpr int kPresetSize = 20;

bool Inside(const RECT& r, POINT p) {
    return PtInRect(&r, p) != FALSE;
}

int ReadNumber(HWND edit) {
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}
} // namespace

bool COwnColorSelect::Create(int left, int top, int right, int bottom, HWND owner, int id) {
    m_owner = owner;
    return Window::Create(nullptr, L"", WS_CHILD | WS_VISIBLE, RECT{left, top, right, bottom},
                          owner, id);
}

int COwnColorSelect::OnCreate(CREATESTRUCTW&) {
    const int result = static_cast<int>(Default());
    if (result == -1) {
        return result;
    }
    m_background = LoadPicture(SkinFile::Path(L"selcolor.png"));
    m_hueTop = LoadPicture(SkinFile::Path(L"bar1.png"));
    m_hueBottom = LoadPicture(SkinFile::Path(L"bar2.png"));
    for (int i = 0; i < kFieldCount; ++i) {
        CClrEdit& field = m_fields[i];
        field.Create(WS_VISIBLE | ES_NUMBER, kFieldRects[i], Hwnd(), kFirstFieldId + i);
        SendMessageW(field.Hwnd(), EM_LIMITTEXT, 3, 0);
        field.SetTextColor(RGB(255, 255, 255));
        field.SetBkColor(RGB(0, 0, 0));
        field.SetId(kFirstFieldId + i);
    }
    m_hex.Create(WS_VISIBLE | ES_NUMBER, kHexRect, Hwnd(), kHexFieldId);
    SendMessageW(m_hex.Hwnd(), EM_LIMITTEXT, 6, 0);
    m_hex.SetTextColor(RGB(255, 255, 255));
    // Read-only, and shown as a value rather than a box to type in: on the picture's own colour
    // instead of the black of the fields that take typing.
    m_hex.SetBkColor(BackgroundAt(kHexRect).value_or(RGB(0, 0, 0)));
    EnableWindow(m_hex.Hwnd(), FALSE);
    for (int i = 0; i < kArrowCount; ++i) {
        m_arrows[i].Create(L"", WS_VISIBLE, kArrowRects[i], Hwnd(), 0);
    }
    for (size_t k = 0; k < m_presets.size(); ++k) {
        const int x = kPresetLeft + kPresetPitch * static_cast<int>(k);
        m_presets[k].Create(L"", WS_VISIBLE,
                            RECT{x, kPresetTop, x + kPresetSize, kPresetTop + kPresetSize}, Hwnd(),
                            0);
        // Like every skinned button, the presets show what the background draws under them.
        m_presets[k].SetImages(x, kPresetTop, kPresetSize, kPresetSize, m_background.get(),
                               m_background.get());
    }
    for (int i = 0; i < kArrowCount; ++i) {
        const RECT& r = kArrowRects[i];
        m_arrows[i].SetImages(r.left, r.top, r.right - r.left, r.bottom - r.top, m_background.get(),
                              m_background.get());
    }
    WriteFields();
    return result;
}

std::optional<COLORREF> COwnColorSelect::BackgroundAt(const RECT& area) const {
    if (!m_background) {
        return std::nullopt;
    }
    Gdiplus::Color pixel;
    if (m_background->GetPixel((area.left + area.right) / 2, (area.top + area.bottom) / 2,
                               &pixel) != Gdiplus::Ok) {
        return std::nullopt;
    }
    return RGB(pixel.GetR(), pixel.GetG(), pixel.GetB());
}

void COwnColorSelect::SetColor(COLORREF color) {
    m_color = color;
    DerivePositions();
    WriteFields();
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void COwnColorSelect::DerivePositions() {
    m_pos = P::FromColor(m_color);
    m_hueColor = P::HueColor(m_pos.hueX);
}

void COwnColorSelect::ColorFromPositions() {
    m_hueColor = P::HueColor(m_pos.hueX);
    m_color = P::ColorAt(m_pos);
}

void COwnColorSelect::WriteFields() {
    if (Hwnd() == nullptr) {
        return;
    }
    const std::array<int, kFieldCount> channels{GetRValue(m_color), GetGValue(m_color),
                                                GetBValue(m_color)};
    for (int i = 0; i < kFieldCount; ++i) {
        SetWindowTextW(m_fields[i].Hwnd(), std::to_wstring(channels[i]).c_str());
    }
    SetWindowTextW(m_hex.Hwnd(), P::HexText(m_color).c_str());
}

void COwnColorSelect::InvalidateAreas() const {
    for (const RECT& area : kChangingAreas) {
        InvalidateRect(Hwnd(), &area, FALSE);
    }
}

void COwnColorSelect::PostColor() const {
    PostMessageW(m_owner, ControlMessages::kColorChosen, m_color, 0);
}

LRESULT COwnColorSelect::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ControlMessages::kButtonPress) {
        OnArrowPress(wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    }
    if (message == ControlMessages::kEditKeyUp) {
        OnFieldKeyUp(static_cast<int>(lParam));
        return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
}

int COwnColorSelect::ArrowIndex(HWND button) const {
    for (int i = 0; i < kArrowCount; ++i) {
        if (m_arrows[i].Hwnd() == button) {
            return i;
        }
    }
    return -1;
}

int COwnColorSelect::PresetIndex(HWND button) const {
    for (size_t k = 0; k < m_presets.size(); ++k) {
        if (m_presets[k].Hwnd() == button) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

void COwnColorSelect::StepArrow(int arrow) {
    std::array<int, kFieldCount> channels{GetRValue(m_color), GetGValue(m_color),
                                          GetBValue(m_color)};
    int& channel = channels[arrow / 2];
    channel = P::StepChannel(channel, arrow % 2 == 0 ? 1 : -1);
    m_color = RGB(channels[0], channels[1], channels[2]);
    WriteFields();
    InvalidateAreas();
    DerivePositions();
}

void COwnColorSelect::OnArrowPress(WPARAM down, HWND button) {
    const int arrow = ArrowIndex(button);
    if (arrow < 0) {
        return;
    }
    if (down) {
        StepArrow(arrow);
        SetTimer(kFirstArrowTimer + arrow, kRepeatMs);
    } else {
        KillTimer(kFirstArrowTimer + arrow);
        PostColor();
    }
}

void COwnColorSelect::OnTimer(UINT_PTR id) {
    if (id >= kFirstArrowTimer && id < kFirstArrowTimer + kArrowCount) {
        StepArrow(static_cast<int>(id - kFirstArrowTimer));
        return;
    }
    Default();
}

bool COwnColorSelect::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED) {
        return false;
    }
    const auto button = reinterpret_cast<HWND>(lParam);
    if (const int arrow = ArrowIndex(button); arrow >= 0) {
        StepArrow(arrow);
        PostColor();
        return true;
    }
    if (const int preset = PresetIndex(button); preset >= 0) {
        SetColor(kPresets[preset]);
        PostColor();
        return true;
    }
    return false;
}

void COwnColorSelect::OnFieldKeyUp(int fieldId) {
    if (fieldId < kFirstFieldId || fieldId >= kFirstFieldId + kFieldCount) {
        return;
    }
    std::array<int, kFieldCount> channels{};
    for (int i = 0; i < kFieldCount; ++i) {
        channels[i] = ReadNumber(m_fields[i].Hwnd());
        // Any field above a byte would spill into its neighbour's channel.
        if (channels[i] > 255) {
            channels[i] = 255;
            SetWindowTextW(m_fields[i].Hwnd(), L"255");
        }
    }
    m_color = RGB(channels[0], channels[1], channels[2]);
    DerivePositions();
    InvalidateAreas();
    PostColor();
}

void COwnColorSelect::OnLButtonDown(UINT, POINT point) {
    if (Inside(kHueArea, point)) {
        SetFocus(Hwnd());
        if (!m_draggingHue) {
            m_pos.hueX = point.x;
            ColorFromPositions();
            WriteFields();
            InvalidateAreas();
            m_draggingHue = true;
            SetCapture(Hwnd());
        }
    } else if (Inside(kSquareArea, point)) {
        SetFocus(Hwnd());
        if (!m_draggingSquare) {
            m_pos.satX = point.x;
            m_pos.valY = point.y;
            ColorFromPositions();
            WriteFields();
            InvalidateAreas();
            PostColor();
            m_draggingSquare = true;
            SetCapture(Hwnd());
        }
    }
}

void COwnColorSelect::OnMouseMove(UINT, POINT point) {
    if (m_draggingSquare) {
        const int x = std::clamp<int>(point.x, P::kSatLeft, P::kSatRight);
        const int y = std::clamp<int>(point.y, P::kValTop, P::kValBottom);
        if (x != m_pos.satX || y != m_pos.valY) {
            m_pos.satX = x;
            m_pos.valY = y;
            ColorFromPositions();
            InvalidateAreas();
            WriteFields();
        }
    } else if (m_draggingHue && point.x != m_pos.hueX) {
        m_pos.hueX = std::clamp<int>(point.x, P::kHueLeft, P::kHueRight);
        ColorFromPositions();
        InvalidateAreas();
        WriteFields();
    }
}

void COwnColorSelect::OnLButtonUp(UINT, POINT) {
    if (!m_draggingSquare && !m_draggingHue) {
        return;
    }
    const bool square = m_draggingSquare;
    m_draggingSquare = false;
    m_draggingHue = false;
    ReleaseCapture();
    InvalidateAreas();
    if (square) {
        WriteFields();
    }
    PostColor();
}

void COwnColorSelect::Render(Gdiplus::Graphics& graphics, int width, int height) const {
    DrawStretched(graphics, m_background.get(), Gdiplus::Rect(0, 0, width, height));
    if (m_hueTop) {
        graphics.DrawImage(m_hueTop.get(), m_pos.hueX - 2, 105, 5, 7);
    }
    if (m_hueBottom) {
        graphics.DrawImage(m_hueBottom.get(), m_pos.hueX - 2, 126, 5, 7);
    }
    constexpr int kRows = P::kValBottom - P::kValTop;
    constexpr int kLineWidth = 125 - P::kSatLeft + 1;
    for (int i = 0; i <= kRows; ++i) {
        const int y = i + P::kValTop;
        const Gdiplus::Rect line(P::kSatLeft, y, kLineWidth, 1);
        Gdiplus::LinearGradientBrush gradient(line, OpaqueColor(P::SquareRowGrey(i)),
                                              OpaqueColor(P::SquareRowHue(i, m_hueColor)),
                                              Gdiplus::LinearGradientModeHorizontal);
        gradient.SetWrapMode(Gdiplus::WrapModeTileFlipX);
        graphics.FillRectangle(&gradient, line);
    }
    const Gdiplus::Pen black(Gdiplus::Color(255, 0, 0, 0), 1);
    const Gdiplus::Pen white(Gdiplus::Color(255, 255, 255, 255), 1);
    graphics.DrawEllipse(&black, m_pos.satX - 2, m_pos.valY - 2, 4, 4);
    graphics.DrawEllipse(&white, m_pos.satX - 3, m_pos.valY - 3, 6, 6);
    const Gdiplus::SolidBrush preview(OpaqueColor(m_color));
    graphics.FillRectangle(&preview, static_cast<INT>(kPreview.left),
                           static_cast<INT>(kPreview.top),
                           static_cast<INT>(kPreview.right - kPreview.left),
                           static_cast<INT>(kPreview.bottom - kPreview.top));
}

void COwnColorSelect::OnPaint() {
    const winlayer::PaintDC dc(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(dc.Get(), client);
    Render(buffer.Graphics(), buffer.Width(), buffer.Height());
}

bool COwnColorSelect::OnEraseBkgnd(HDC) {
    return true;
}
