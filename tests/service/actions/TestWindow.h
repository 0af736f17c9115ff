#pragma once

#include <windows.h>

#include <vector>

// A real top-level window of the test thread that records the system commands and the key
// messages it receives; destroyed with the object.
class TestWindow {
public:
    struct KeyMessage {
        UINT Message; // WM_KEYDOWN or WM_KEYUP
        WPARAM VirtualKey;
        bool operator==(const KeyMessage&) const = default;
    };

    explicit TestWindow(DWORD style);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    const std::vector<WPARAM>& SystemCommands() const { return systemCommands_; }
    const std::vector<KeyMessage>& KeyMessages() const { return keyMessages_; }
    void ClearKeyMessages() { keyMessages_.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::vector<WPARAM> systemCommands_;
    std::vector<KeyMessage> keyMessages_;
};
