#pragma once

#include <hidapi.h>

#include <atomic>
#include <string>

// Owns one open hidapi device. The pointer is atomic because the reader threads look at it while
// the window thread opens and closes; a handle is only closed once no reader can be using it.
class CHidHandle {
public:
    CHidHandle() = default;
    CHidHandle(const CHidHandle&) = delete;
    CHidHandle& operator=(const CHidHandle&) = delete;
    ~CHidHandle() { Close(); }

    // Closes what is open, then opens `path`; an empty path opens nothing. True when open.
    bool Open(const std::string& path);
    void Close();

    hid_device* Get() const { return device_.load(); }
    bool IsOpen() const { return Get() != nullptr; }

private:
    std::atomic<hid_device*> device_{nullptr};
};
