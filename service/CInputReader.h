#pragma once

#include "service/CHidHandle.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

inline constexpr std::size_t kInputReportLength = 8;
using InputReport = std::span<const std::uint8_t, kInputReportLength>;
// Receives each input report with its channel (0 the consumer collection, 1 the vendor
// collection), on the reader's own thread.
using InputReportHandler = std::function<void(int channel, InputReport report)>;

// One input-report reader thread: until the shared stop flag is set it pauses 10 ms, then reads
// one report from its handle with a bounded wait and hands it to the handler.
// hidapi cannot serve one handle from two threads at once (a read and a feature transfer clear
// the same error text). A reader whose handle also carries feature reports is given their lock:
// it reads under it without waiting, and its pause bounds how late a report is seen.
class CInputReader {
public:
    // How long one read may wait, so that the stop flag is seen promptly.
    static constexpr int kReadTimeoutMilliseconds = 100;
    static constexpr DWORD kPauseMilliseconds = 10;

    CInputReader(int channel, const CHidHandle& handle, const std::atomic<bool>& stop,
                 const InputReportHandler& handler,
                 std::recursive_mutex* sharedHandleLock = nullptr);
    CInputReader(const CInputReader&) = delete;
    CInputReader& operator=(const CInputReader&) = delete;
    ~CInputReader() { Join(); }

    // False when the thread could not be created or already runs.
    bool Start(SIZE_T stackSize);
    // Waits for the thread to end; the caller has set the stop flag.
    void Join();
    bool Running() const { return thread_ != nullptr; }

private:
    struct HandleCloser {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };

    static DWORD WINAPI ThreadProc(LPVOID parameter);
    void Run();

    int channel_;
    const CHidHandle& handle_;
    const std::atomic<bool>& stop_;
    const InputReportHandler& handler_;
    std::recursive_mutex* sharedHandleLock_;
    std::unique_ptr<void, HandleCloser> thread_;
};
