#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A hidden top-level window with a given title that records every private message and every
// WM_CLOSE posted to it, so a test can stand in for a peer program of the service.
class RecorderWindow {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit RecorderWindow(const std::wstring& title);
    ~RecorderWindow();
    RecorderWindow(const RecorderWindow&) = delete;
    RecorderWindow& operator=(const RecorderWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    const std::vector<Message>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }
    // How many recorded messages have this number (and these parameters, when given).
    int Count(UINT message) const;
    int Count(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::vector<Message> messages_;
};
