#pragma once

#include "winlayer/Window.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <type_traits>

// The tray program's hidden window "V212MousePennrack": it owns the notification-area icon and
// its menu, and raises or starts the configuration program.
class CPennrack : public winlayer::Window {
public:
    static constexpr wchar_t kWindowTitle[] = L"V212MousePennrack";
    static constexpr wchar_t kConfigWindowTitle[] = L"Selvin V212 Gaming Mouse";
    static constexpr UINT kTrayNotifyMessage = 0x7E9;
    static constexpr UINT kNotifyIconId = 128;
    static constexpr UINT kShowConfigCommand = 6001;
    static constexpr UINT kCloseCommand = 6006;

    struct MenuDestroyer {
        void operator()(HMENU menu) const { DestroyMenu(menu); }
    };
    using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

    CPennrack() = default;
    ~CPennrack() override;

    // Makes the window; it is never shown.
    bool CreateTrayWindow();

    void AddNotifyIcon();
    void RemoveNotifyIcon();
    // Restores and activates the configuration program's window, or starts "config.exe" from
    // this program's folder when there is none.
    void ShowConfigProgram();

    // The icon's menu: "CONFIG" of "TRAY" as the default entry, a separator, "CLOSE" of "TRAY";
    // texts the strings file lacks are empty.
    static MenuHandle CreateTrayMenu(const std::wstring& stringsFile);
    static std::wstring GetTrayString(const std::wstring& file, const wchar_t* section,
                                      const wchar_t* key);

    // The notification-icon record as given to the shell.
    const NOTIFYICONDATAW& NotifyIconRecord() const { return m_notifyIcon; }

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    void OnClose() override;
    void OnTimer(UINT_PTR id) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

private:
    struct LibraryFreer {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    struct IconDestroyer {
        void operator()(HICON icon) const { DestroyIcon(icon); }
    };

    void ShowTrayMenu();

    NOTIFYICONDATAW m_notifyIcon{};
    std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer> m_icon;
    std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer> m_languageLibrary;
    std::wstring m_programFolder;
    std::wstring m_stringsFile;
};
