#include "tests/service/actions/CRecordingActionSystem.h"

#include <cstdio>

namespace {

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

} // namespace

void PrintTo(const CRecordingActionSystem::Key& key, std::ostream* out) {
    char text[48];
    std::snprintf(text, sizeof text, "{%lu ms, vk %02X, flags %lu}", key.At, key.VirtualKey,
                  key.Flags);
    *out << text;
}

void PrintTo(const CRecordingActionSystem::Shell& shell, std::ostream* out) {
    *out << "{" << shell.At << " ms, \"" << Narrow(shell.File) << "\", show " << shell.Show << "}";
}

void PrintTo(const CRecordingActionSystem::Posted& posted, std::ostream* out) {
    *out << "{\"" << Narrow(posted.Title) << "\", 0x" << std::hex << posted.Message << std::dec
         << ", " << posted.WParam << ", " << posted.LParam << "}";
}

void CRecordingActionSystem::KeyEvent(BYTE virtualKey, DWORD flags) {
    std::lock_guard lock(mutex_);
    keys_.push_back({now_, virtualKey, flags});
}

void CRecordingActionSystem::Pause(DWORD milliseconds) {
    std::lock_guard lock(mutex_);
    now_ += milliseconds;
}

void CRecordingActionSystem::ShellOpen(const std::wstring& file, int show) {
    std::lock_guard lock(mutex_);
    shells_.push_back({now_, file, show});
}

void CRecordingActionSystem::OpenInBrowser(const std::wstring& address) {
    std::lock_guard lock(mutex_);
    browsed_.push_back(address);
}

void CRecordingActionSystem::LockWorkStation() {
    std::lock_guard lock(mutex_);
    ++locks_;
}

HWND CRecordingActionSystem::ForegroundWindow() {
    std::lock_guard lock(mutex_);
    return foreground_;
}

HWND CRecordingActionSystem::DesktopWindow() {
    std::lock_guard lock(mutex_);
    return desktop_;
}

void CRecordingActionSystem::SendWindowMessage(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    std::lock_guard lock(mutex_);
    sent_.push_back({window, message, wParam, lParam});
}

bool CRecordingActionSystem::PostToWindow(const wchar_t* title, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    std::lock_guard lock(mutex_);
    if (!windows_.contains(title)) {
        return false;
    }
    posts_.push_back({title, message, wParam, lParam});
    return true;
}

std::optional<std::wstring>
CRecordingActionSystem::ReadRegistryString(std::wstring_view keyPath, std::wstring_view valueName) {
    std::lock_guard lock(mutex_);
    registryReads_.push_back({std::wstring(keyPath), std::wstring(valueName)});
    const auto found = registry_.find({std::wstring(keyPath), std::wstring(valueName)});
    if (found == registry_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::wstring CRecordingActionSystem::ModuleFileName() {
    std::lock_guard lock(mutex_);
    return moduleFileName_;
}

void CRecordingActionSystem::SetRegistryString(const std::wstring& key, const std::wstring& value,
                                               const std::wstring& text) {
    std::lock_guard lock(mutex_);
    registry_[{key, value}] = text;
}

void CRecordingActionSystem::OpenWindow(const std::wstring& title) {
    std::lock_guard lock(mutex_);
    windows_.insert(title);
}

void CRecordingActionSystem::CloseWindow(const std::wstring& title) {
    std::lock_guard lock(mutex_);
    windows_.erase(title);
}

DWORD CRecordingActionSystem::Now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

std::vector<CRecordingActionSystem::Key> CRecordingActionSystem::Keys() const {
    std::lock_guard lock(mutex_);
    return keys_;
}

std::vector<CRecordingActionSystem::Shell> CRecordingActionSystem::Shells() const {
    std::lock_guard lock(mutex_);
    return shells_;
}

std::vector<std::wstring> CRecordingActionSystem::Browsed() const {
    std::lock_guard lock(mutex_);
    return browsed_;
}

int CRecordingActionSystem::Locks() const {
    std::lock_guard lock(mutex_);
    return locks_;
}

std::vector<CRecordingActionSystem::Sent> CRecordingActionSystem::SentMessages() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::vector<CRecordingActionSystem::Posted> CRecordingActionSystem::Posts() const {
    std::lock_guard lock(mutex_);
    return posts_;
}

std::vector<CRecordingActionSystem::RegistryRead> CRecordingActionSystem::RegistryReads() const {
    std::lock_guard lock(mutex_);
    return registryReads_;
}

bool CRecordingActionSystem::NothingDone() const {
    std::lock_guard lock(mutex_);
    return keys_.empty() && shells_.empty() && browsed_.empty() && locks_ == 0 && sent_.empty() &&
           posts_.empty();
}
