#pragma once

#include "winlayer/Window.h"

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Test helpers for the windowed controls: solid-colour pictures, a skin folder of them, a
// parent window that records what the controls send it, message pumping and pixel read-back.

std::unique_ptr<Gdiplus::Bitmap> SolidPicture(int width, int height, COLORREF color);
// The encoder GDI+ saves pictures of this MIME type with.
CLSID ImageEncoder(const wchar_t* mime);
// Writes a PNG of one colour, or of two with the bottom row in the second.
void SaveSolidPng(const std::wstring& path, int width, int height, COLORREF color);
void SavePngWithBottomRow(const std::wstring& path, int width, int height, COLORREF color,
                          COLORREF bottomRow);
// A fresh program folder with an empty "skins" folder, made the controls' program folder.
std::wstring MakeSkinFolder();
std::wstring SkinFile(const std::wstring& name);

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const RecordedMessage&) const = default;
};
using Log = std::vector<RecordedMessage>;
void PrintTo(const RecordedMessage& m, std::ostream* os);

// A shown window at the screen's top-left corner, painted in one colour, that records the
// private messages, commands and mouse moves it receives. It lives in one active top-level
// window shared by all tests (hiding a top-level window costs seconds on the test display).
class RecordingParent : public winlayer::Window {
public:
    static constexpr COLORREF kBackground = RGB(10, 20, 30);

    explicit RecordingParent(int width = 600, int height = 400);
    // The recorded messages with this number, in arrival order.
    std::vector<RecordedMessage> Received(UINT message) const;
    void Clear() { m_messages.clear(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<RecordedMessage> m_messages;
};

// Makes the tests' top-level window the active one again: other programs on the test display
// may have taken the activation.
void ActivateTestHost();
// Dispatches every queued message through the program's message loop steps.
void Pump();
// Keeps pumping for the given time, so timers fire.
void PumpFor(DWORD milliseconds);

// The window's client area as shown, copied from its device context.
class ScreenShot {
public:
    explicit ScreenShot(HWND hwnd);
    COLORREF At(int x, int y) const;
    // Pixels of exactly this colour inside the rectangle.
    int Count(const RECT& rect, COLORREF color) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;
};

COLORREF PixelAt(HWND hwnd, int x, int y);

LPARAM PointParam(int x, int y);
