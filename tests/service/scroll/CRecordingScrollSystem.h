#pragma once

#include "service/CScrollSystem.h"

#include <functional>
#include <string>
#include <vector>

class FakeHtmlDocument;

// Records every effect of the universal scroll as a readable line and answers its questions as
// the test sets them up: the cursor, the window under it, the buttons, the accessibility library
// and the document that the window under the cursor offers.
class CRecordingScrollSystem : public CScrollSystem {
public:
    enum class Library { Present, Missing, WithoutObjectFromLresult };

    // Windows are written into the lines by these names; an empty name writes the handle.
    explicit CRecordingScrollSystem(std::function<std::wstring(HWND)> nameOf);
    ~CRecordingScrollSystem() override;

    POINT CursorPos() override { return cursor_; }
    void SetCursorPos(int x, int y) override;
    HWND WindowFromPoint(POINT p) override {
        return p.x == cursor_.x && p.y == cursor_.y ? at_ : nullptr;
    }
    bool ButtonsSwapped() override { return swapped_; }
    void MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) override;
    void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        Message(L"post", window, message, wParam, lParam);
    }
    void SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        Message(L"send", window, message, wParam, lParam);
    }
    // Answers only the document request, as a document window does, unless the window hangs.
    bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                         LRESULT& result) override;
    HRESULT EnterComponentLibrary() override { return ++enters_, S_OK; }
    void LeaveComponentLibrary() override { ++leaves_; }
    std::unique_ptr<Accessibility> LoadAccessibility() override;

    // Set-up. The cursor starts at (0, 0) over no window.
    void PlaceCursor(POINT cursor, HWND window) { cursor_ = cursor, at_ = window; }
    void SetButtonsSwapped(bool swapped) { swapped_ = swapped; }
    void SetLibrary(Library library) { library_ = library; }
    void SetHung(bool hung) { hung_ = hung; }
    // What the library makes of the window's answer; null: it fails.
    void SetDocument(FakeHtmlDocument* document) { document_ = document; }

    // "cursor x,y", "mouse <flags> <dx> <dy> <data>", "post|send <window> <message> <wParam>
    // <lParam>", numbers in hex, windows (lParam too) by name where they have one.
    const std::vector<std::wstring>& Lines() const { return lines_; }
    // True when every CoInitialize was balanced and no library is still loaded.
    bool AllReleased() const { return enters_ == leaves_ && loadedLibraries_ == 0; }

private:
    static HRESULT WINAPI FakeObjectFromLresult(LRESULT result, REFIID iid, WPARAM wParam,
                                                void** object);
    std::wstring Name(HWND window) const;
    void Message(const wchar_t* how, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<std::wstring(HWND)> nameOf_;
    std::vector<std::wstring> lines_;
    POINT cursor_{};
    HWND at_ = nullptr;
    bool swapped_ = false;
    Library library_ = Library::Present;
    bool hung_ = false;
    FakeHtmlDocument* document_ = nullptr;
    int enters_ = 0;
    int leaves_ = 0;
    int loadedLibraries_ = 0;
};
