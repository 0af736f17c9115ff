#include "tests/config/controls/ControlTestSupport.h"

#include "config/core/ProgramFolder.h"
#include "tests/config/controls/PointerHold.h"
#include "winlayer/ClientDC.h"
#include "winlayer/GdiObject.h"
#include "winlayer/MemoryDC.h"
#include "winlayer/MessageLoop.h"
#include "winlayer/ObjectSelection.h"
#include "winlayer/PaintDC.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {
// GDI+ for the whole test program, and the skin folder removed at the end.
class ControlsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        // The pointer waits in the screen's far corner, away from every test window.
        const PointerHold toCorner;
    }
    void TearDown() override {
        Gdiplus::GdiplusShutdown(m_token);
        std::error_code ignored;
        if (!s_folder.empty()) {
            std::filesystem::remove_all(s_folder, ignored);
        }
    }
    static inline std::wstring s_folder;

private:
    ULONG_PTR m_token = 0;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ControlsEnvironment);

Gdiplus::Color Argb(COLORREF c) {
    return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
}
} // namespace

CLSID ImageEncoder(const wchar_t* mime) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == mime) {
            return codecs[i].Clsid;
        }
    }
    return CLSID{};
}

std::unique_ptr<Gdiplus::Bitmap> SolidPicture(int width, int height, COLORREF color) {
    auto picture = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(picture.get());
    graphics.Clear(Argb(color));
    return picture;
}

void SavePngWithBottomRow(const std::wstring& path, int width, int height, COLORREF color,
                          COLORREF bottomRow) {
    auto picture = SolidPicture(width, height, color);
    {
        Gdiplus::Graphics graphics(picture.get());
        Gdiplus::SolidBrush brush(Argb(bottomRow));
        graphics.FillRectangle(&brush, 0, height - 1, width, 1);
    }
    const CLSID png = ImageEncoder(L"image/png");
    ASSERT_EQ(Gdiplus::Ok, picture->Save(path.c_str(), &png, nullptr));
}

void SaveSolidPng(const std::wstring& path, int width, int height, COLORREF color) {
    SavePngWithBottomRow(path, width, height, color, color);
}

std::wstring MakeSkinFolder() {
    if (ControlsEnvironment::s_folder.empty()) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        ControlsEnvironment::s_folder =
            std::wstring(temp) + L"v212controls" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    }
    std::error_code ignored;
    std::filesystem::remove_all(ControlsEnvironment::s_folder, ignored);
    std::filesystem::create_directories(ControlsEnvironment::s_folder + L"skins");
    ProgramFolder::Set(ControlsEnvironment::s_folder);
    return ControlsEnvironment::s_folder;
}

std::wstring SkinFile(const std::wstring& name) {
    return ProgramFolder::Path() + L"skins\\" + name;
}

namespace {
HWND TestHost() {
    static const HWND host = [] {
        HWND hwnd = CreateWindowExW(0, winlayer::Window::DefaultClass(), L"controls test",
                                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800, 600,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        return hwnd;
    }();
    return host;
}
} // namespace

void ActivateTestHost() {
    SetForegroundWindow(TestHost());
    SetActiveWindow(TestHost());
}

RecordingParent::RecordingParent(int width, int height) {
    CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, TestHost(), nullptr);
    ActivateTestHost();
    UpdateWindow(Hwnd());
}

void PrintTo(const RecordedMessage& m, std::ostream* os) {
    *os << std::hex << "{0x" << m.message << ", 0x" << m.wParam << ", 0x" << m.lParam << "}";
}

std::vector<RecordedMessage> RecordingParent::Received(UINT message) const {
    std::vector<RecordedMessage> found;
    for (const auto& m : m_messages) {
        if (m.message == message) {
            found.push_back(m);
        }
    }
    return found;
}

LRESULT RecordingParent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER || message == WM_MOUSEMOVE) {
        m_messages.push_back({message, wParam, lParam});
    }
    if (message >= WM_USER) {
        return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
}

bool RecordingParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    m_messages.push_back({WM_COMMAND, wParam, lParam});
    return true;
}

void RecordingParent::OnPaint() {
    const winlayer::PaintDC dc(Hwnd());
    const winlayer::BrushHandle brush(CreateSolidBrush(kBackground));
    FillRect(dc.Get(), &dc.Paint().rcPaint, brush.Get());
}

bool RecordingParent::OnEraseBkgnd(HDC) {
    return true;
}

void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        winlayer::MessageLoop::Process(msg);
    }
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        Pump();
        Sleep(5);
    }
    Pump();
}

ScreenShot::ScreenShot(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    m_width = client.right;
    m_height = client.bottom;
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, 0);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const winlayer::ClientDC dc(hwnd);
    const winlayer::MemoryDC memory(dc.Get());
    const winlayer::BitmapHandle section(
        CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section) {
        return;
    }
    const winlayer::ObjectSelection selection(memory.Get(), section.Get());
    BitBlt(memory.Get(), 0, 0, m_width, m_height, dc.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(m_pixels.data(), bits, m_pixels.size() * sizeof(DWORD));
}

COLORREF ScreenShot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return CLR_INVALID;
    }
    const DWORD p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ScreenShot::Count(const RECT& rect, COLORREF color) const {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            n += At(x, y) == color ? 1 : 0;
        }
    }
    return n;
}

COLORREF PixelAt(HWND hwnd, int x, int y) {
    return ScreenShot(hwnd).At(x, y);
}

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(x, y);
}
