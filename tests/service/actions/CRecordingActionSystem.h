#pragma once

#include "service/CActionSystem.h"

#include <map>
#include <ostream>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Records every call that an action makes, against a clock that only pauses move. What the
// system answers (windows, registry values, the program path) is set up by the test.
class CRecordingActionSystem : public CActionSystem {
public:
    struct Key {
        DWORD At; // fake milliseconds since the start
        BYTE VirtualKey;
        DWORD Flags;
        bool operator==(const Key&) const = default;
    };
    struct Shell {
        DWORD At;
        std::wstring File;
        int Show;
        bool operator==(const Shell&) const = default;
    };
    struct Sent {
        HWND Window;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        bool operator==(const Sent&) const = default;
    };
    struct Posted {
        std::wstring Title;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        bool operator==(const Posted&) const = default;
    };
    struct RegistryRead {
        std::wstring Key;
        std::wstring Value;
        bool operator==(const RegistryRead&) const = default;
    };

    void KeyEvent(BYTE virtualKey, DWORD flags) override;
    void Pause(DWORD milliseconds) override;
    void ShellOpen(const std::wstring& file, int show) override;
    void OpenInBrowser(const std::wstring& address) override;
    void LockWorkStation() override;
    HWND ForegroundWindow() override;
    HWND DesktopWindow() override;
    void SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PostToWindow(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<std::wstring> ReadRegistryString(std::wstring_view keyPath,
                                                   std::wstring_view valueName) override;
    std::wstring ModuleFileName() override;

    // Set-up.
    void SetForeground(HWND window) { foreground_ = window; }
    void SetDesktop(HWND window) { desktop_ = window; }
    void SetModuleFileName(std::wstring path) { moduleFileName_ = std::move(path); }
    void SetRegistryString(const std::wstring& key, const std::wstring& value,
                           const std::wstring& text);
    // Posts to a window with this title are recorded and succeed; to any other title they fail.
    void OpenWindow(const std::wstring& title);
    void CloseWindow(const std::wstring& title);

    // What was recorded (copies, safe while other threads still record).
    DWORD Now() const;
    std::vector<Key> Keys() const;
    std::vector<Shell> Shells() const;
    std::vector<std::wstring> Browsed() const;
    int Locks() const;
    std::vector<Sent> SentMessages() const;
    std::vector<Posted> Posts() const;
    std::vector<RegistryRead> RegistryReads() const;
    // True when nothing but pauses and registry reads happened.
    bool NothingDone() const;

private:
    mutable std::mutex mutex_;
    DWORD now_ = 0;
    std::vector<Key> keys_;
    std::vector<Shell> shells_;
    std::vector<std::wstring> browsed_;
    int locks_ = 0;
    std::vector<Sent> sent_;
    std::vector<Posted> posts_;
    std::vector<RegistryRead> registryReads_;
    HWND foreground_ = nullptr;
    HWND desktop_ = GetDesktopWindow();
    std::wstring moduleFileName_ = L"C:\\Program Files\\V212\\tolvane.exe";
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> registry_;
    std::set<std::wstring> windows_;
};

// Readable failure messages.
void PrintTo(const CRecordingActionSystem::Key& key, std::ostream* out);
void PrintTo(const CRecordingActionSystem::Shell& shell, std::ostream* out);
void PrintTo(const CRecordingActionSystem::Posted& posted, std::ostream* out);
