#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// One open registry key, closed when the object goes or another key is opened.
class RegKey {
public:
    RegKey() = default;
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;

    // path is "ROOT\sub\key"; ROOT is HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
    // HKEY_CURRENT_CONFIG or HKEY_CLASSES_ROOT (any case). Any other first part means the
    // whole path under HKEY_LOCAL_MACHINE; a path without a backslash opens nothing. The key
    // is created when it is missing only with createIfMissing: look-ups pass false so that
    // reading never leaves keys behind.
    bool Open(std::wstring_view path, REGSAM access, bool createIfMissing);
    void Close();

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Handle() const { return key_; }
    HKEY Root() const { return root_; }
    const std::wstring& SubKey() const { return subKey_; }

    // A string value (an empty name reads the key's default value); nothing when no key is
    // open, the value is missing or not a string. A stored string may lack its terminator.
    std::optional<std::wstring> ReadString(std::wstring_view name) const;
    // The raw bytes of a value into buffer; size receives the byte count. False when no key is
    // open, the value is missing or does not fit.
    bool ReadValue(std::wstring_view name, std::span<std::uint8_t> buffer, DWORD& size) const;

private:
    friend LONG OpenOrCreateRegKey(HKEY root, std::wstring_view subKey, RegKey& key);

    LONG OpenSubKey(HKEY root, std::wstring_view subKey, REGSAM access, bool createIfMissing);

    HKEY key_ = nullptr;
    HKEY root_ = nullptr;
    std::wstring subKey_;
};

// Opens root\subKey with full access into key, creating it when missing. Returns
// ERROR_SUCCESS when the key is open, else the platform's error code.
LONG OpenOrCreateRegKey(HKEY root, std::wstring_view subKey, RegKey& key);
