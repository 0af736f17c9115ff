#include "config/controls/CPngMultiHSliderBar.h"

#include "config/controls/ControlMessages.h"
#include "config/core/SkinFile.h"
#include "winlayer/DoubleBuffer.h"
#include "winlayer/PaintDC.h"

namespace {
constexpr int kBandHeight = 25;
constexpr int kLightTop = 10;
constexpr int kLightWidth = 14;
constexpr int kLightHeight = 29;
constexpr int kSampleY = 3;

// Marker colours; the band runs from each to the next.
const std::array<Gdiplus::ARGB, MarkerArrays::kCount> kMarkerColors{
    0xFFFF0000, 0xFFFFFF00, 0xFF00FF00, 0xFF00FFFF, 0xFF0000FF, 0xFFFF00FF, 0xFFFF0000};
// Light picture of each marker: the first and the last share one.
constexpr std::array<int, MarkerArrays::kCount> kLightOf{0, 1, 2, 3, 4, 5, 0};
} // namespace

CPngMultiHSliderBar::CPngMultiHSliderBar() : m_track(Markers()) {}

MarkerArrays& CPngMultiHSliderBar::Markers() {
    static MarkerArrays arrays;
    return arrays;
}

bool CPngMultiHSliderBar::Create(const std::wstring&, int, int left, int top, int right, int bottom,
                                 HWND parent, int id, int, int) {
    m_rect = {left, top, right, bottom};
    m_parent = parent;
    return Window::Create(nullptr, L"", WS_CHILD | WS_VISIBLE, m_rect, parent, id);
}

int CPngMultiHSliderBar::OnCreate(CREATESTRUCTW&) {
    const int result = static_cast<int>(Default());
    for (size_t i = 0; i < m_lights.size(); ++i) {
        m_lights[i] = LoadPicture(SkinFile::Path(L"light" + std::to_wstring(i + 1) + L".png"));
    }
    return result;
}

void CPngMultiHSliderBar::SetRange(int, int minimum, int maximum) {
    m_track.SetRange(minimum, maximum);
}

void CPngMultiHSliderBar::SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* barSource,
                                    Gdiplus::Bitmap*) {
    m_bar = CutPicture(barSource, x, y, width, height);
}

void CPngMultiHSliderBar::SetPositions(std::span<const int> values) {
    m_track.SetPositions(values);
    Redraw();
}

void CPngMultiHSliderBar::Redraw() const {
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CPngMultiHSliderBar::Render(Gdiplus::Graphics& graphics, int width, int height) const {
    DrawStretched(graphics, m_bar.get(), Gdiplus::Rect(0, 0, width, height));
    const auto rect = [this](int i) { return m_track.MarkerRect(i); };
    const Gdiplus::SolidBrush red{Gdiplus::Color(kMarkerColors[0])};
    graphics.FillRectangle(&red, 0, 0, static_cast<INT>(rect(0).left + 1), kBandHeight);
    for (int k = 1; k < MarkerArrays::kCount; ++k) {
        const int from = static_cast<int>(rect(k - 1).right);
        const int span = static_cast<int>(rect(k).left) - from + 1;
        if (span <= 0) {
            continue;
        }
        Gdiplus::LinearGradientBrush gradient(
            Gdiplus::Rect(from, 0, span, kBandHeight), Gdiplus::Color(kMarkerColors[k - 1]),
            Gdiplus::Color(kMarkerColors[k]), Gdiplus::LinearGradientModeHorizontal);
        gradient.SetWrapMode(Gdiplus::WrapModeTileFlipX);
        graphics.FillRectangle(&gradient, from, 0, span, kBandHeight);
    }
    const int lastRight = static_cast<int>(rect(MarkerArrays::kCount - 1).right);
    graphics.FillRectangle(&red, lastRight, 0, width - lastRight, kBandHeight);
    const MarkerArrays& markers = Markers();
    for (int i = 0; i < MarkerArrays::kCount; ++i) {
        if (!markers.shown[i]) {
            continue;
        }
        const RECT r = rect(i);
        const Gdiplus::SolidBrush solid{Gdiplus::Color(kMarkerColors[i])};
        graphics.FillRectangle(&solid, static_cast<INT>(r.left), 0,
                               static_cast<INT>(r.right - r.left + 1), kBandHeight);
        if (Gdiplus::Bitmap* light = m_lights[kLightOf[i]].get()) {
            graphics.DrawImage(light, static_cast<INT>(r.left), kLightTop, kLightWidth,
                               kLightHeight);
        }
    }
}

CPngMultiHSliderBar::Rgb CPngMultiHSliderBar::GetColorAt(int index) const {
    RECT client{0, 0, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top};
    if (Hwnd() != nullptr) {
        GetClientRect(Hwnd(), &client);
    }
    const int width = client.right;
    const int height = client.bottom;
    const int x = CMarkerTrack::kPitch * index + 7;
    if (width <= 0 || height <= kSampleY || x < 0 || x >= width) {
        return {0, 0, 0};
    }
    Gdiplus::Bitmap canvas(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&canvas);
        Render(graphics, width, height);
    }
    Gdiplus::Color color;
    canvas.GetPixel(x, kSampleY, &color);
    return {color.GetR(), color.GetG(), color.GetB()};
}

void CPngMultiHSliderBar::OnDestroy() {
    m_bar.reset();
    for (auto& light : m_lights) {
        light.reset();
    }
    Default();
}

void CPngMultiHSliderBar::OnPaint() {
    const winlayer::PaintDC dc(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    winlayer::DoubleBuffer buffer(dc.Get(), client);
    Render(buffer.Graphics(), buffer.Width(), buffer.Height());
}

bool CPngMultiHSliderBar::OnEraseBkgnd(HDC) {
    return true;
}

void CPngMultiHSliderBar::OnLButtonDown(UINT, POINT point) {
    SetFocus(Hwnd());
    if (m_track.ButtonDown(point)) {
        SetCapture(Hwnd());
    }
}

void CPngMultiHSliderBar::OnMouseMove(UINT, POINT point) {
    if (m_track.MouseMove(point.x)) {
        Redraw();
    }
}

void CPngMultiHSliderBar::OnLButtonUp(UINT, POINT) {
    const auto release = m_track.ButtonUp();
    if (!release) {
        return;
    }
    ReleaseCapture();
    Redraw();
    PostMessageW(m_parent, ControlMessages::kMarkerValue, release->position, release->index);
}
