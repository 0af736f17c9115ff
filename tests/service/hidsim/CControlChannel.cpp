#include "tests/service/hidsim/CControlChannel.h"

#include <array>

namespace {

constexpr DWORD RequestLimit = 64 * 1024;

// Waits for an overlapped operation, or for the stop event; false when stopped or failed.
bool Complete(HANDLE pipe, OVERLAPPED& overlapped, HANDLE stopEvent, DWORD& transferred) {
    const std::array<HANDLE, 2> waits{overlapped.hEvent, stopEvent};
    if (WaitForMultipleObjects(2, waits.data(), FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != FALSE;
}

} // namespace

CControlChannel::~CControlChannel() {
    Stop();
}

bool CControlChannel::Start(const std::wstring& pipeName, Handler handler) {
    if (Running()) {
        return false;
    }
    pipeName_ = pipeName;
    handler_ = std::move(handler);
    stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent_) {
        return false;
    }
    worker_ = std::thread([this] { Serve(); });
    return true;
}

void CControlChannel::Stop() {
    if (!Running()) {
        return;
    }
    SetEvent(stopEvent_.get());
    worker_.join();
    stopEvent_.reset();
}

void CControlChannel::Serve() {
    UniqueHandle ioEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    while (ioEvent && WaitForSingleObject(stopEvent_.get(), 0) != WAIT_OBJECT_0) {
        UniqueHandle pipe(
            CreateNamedPipeW(pipeName_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                             PIPE_UNLIMITED_INSTANCES, RequestLimit, RequestLimit, 0, nullptr));
        if (pipe.get() == INVALID_HANDLE_VALUE) {
            return;
        }
        if (!ServeOne(pipe.get(), ioEvent.get())) {
            if (WaitForSingleObject(stopEvent_.get(), 0) == WAIT_OBJECT_0) {
                return;
            }
        }
    }
}

bool CControlChannel::ServeOne(HANDLE pipe, HANDLE ioEvent) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = ioEvent;
    ResetEvent(ioEvent);
    DWORD transferred = 0;
    if (!ConnectNamedPipe(pipe, &overlapped)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            if (!Complete(pipe, overlapped, stopEvent_.get(), transferred)) {
                return false;
            }
        } else if (error != ERROR_PIPE_CONNECTED) {
            return false;
        }
    }
    std::string request;
    std::array<char, 4096> chunk{};
    for (;;) {
        ResetEvent(ioEvent);
        overlapped = {};
        overlapped.hEvent = ioEvent;
        BOOL done =
            ReadFile(pipe, chunk.data(), static_cast<DWORD>(chunk.size()), nullptr, &overlapped);
        DWORD error = done ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_IO_PENDING) {
            done = Complete(pipe, overlapped, stopEvent_.get(), transferred);
            error = done ? ERROR_SUCCESS : GetLastError();
        } else {
            GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        }
        if (!done && error != ERROR_MORE_DATA) {
            return false;
        }
        request.append(chunk.data(), transferred);
        if (done || request.size() > RequestLimit) {
            break;
        }
    }
    const std::string reply = handler_(request);
    ResetEvent(ioEvent);
    overlapped = {};
    overlapped.hEvent = ioEvent;
    if (!WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size()), nullptr, &overlapped) &&
        GetLastError() == ERROR_IO_PENDING) {
        Complete(pipe, overlapped, stopEvent_.get(), transferred);
    }
    FlushFileBuffers(pipe);
    DisconnectNamedPipe(pipe);
    return true;
}

bool CControlChannel::Send(const std::wstring& pipeName, const std::string& request,
                           std::string& reply, DWORD timeoutMilliseconds) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMilliseconds;
    UniqueHandle pipe;
    for (;;) {
        pipe.reset(CreateFileW(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        if (pipe.get() != INVALID_HANDLE_VALUE) {
            break;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        if (GetLastError() == ERROR_PIPE_BUSY) {
            WaitNamedPipeW(pipeName.c_str(), 50);
        } else {
            Sleep(10);
        }
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(pipe.get(), &mode, nullptr, nullptr);
    DWORD written = 0;
    if (!WriteFile(pipe.get(), request.data(), static_cast<DWORD>(request.size()), &written,
                   nullptr)) {
        return false;
    }
    reply.clear();
    std::array<char, 4096> chunk{};
    for (;;) {
        DWORD read = 0;
        const BOOL done =
            ReadFile(pipe.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr);
        reply.append(chunk.data(), read);
        if (done) {
            return true;
        }
        if (GetLastError() != ERROR_MORE_DATA) {
            return false;
        }
    }
}
