#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

// A named pipe served on a thread of its own: each connection carries one request message and
// gets one reply message, computed by the handler on the channel's thread.
class CControlChannel {
public:
    using Handler = std::function<std::string(const std::string& request)>;

    CControlChannel() = default;
    CControlChannel(const CControlChannel&) = delete;
    CControlChannel& operator=(const CControlChannel&) = delete;
    ~CControlChannel();

    // Starts serving `pipeName`; false when it is already serving or the pipe cannot be made.
    bool Start(const std::wstring& pipeName, Handler handler);
    void Stop();
    bool Running() const { return worker_.joinable(); }

    // Client side: one request, the whole reply; false when the pipe cannot be reached.
    static bool Send(const std::wstring& pipeName, const std::string& request, std::string& reply,
                     DWORD timeoutMilliseconds);

private:
    struct HandleCloser {
        void operator()(HANDLE handle) const {
            if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
                CloseHandle(handle);
            }
        }
    };
    using UniqueHandle = std::unique_ptr<void, HandleCloser>;

    void Serve();
    bool ServeOne(HANDLE pipe, HANDLE ioEvent);

    std::wstring pipeName_;
    Handler handler_;
    UniqueHandle stopEvent_;
    std::thread worker_;
};
