#include "service/CInputReader.h"

#include <array>

CInputReader::CInputReader(int channel, const CHidHandle& handle, const std::atomic<bool>& stop,
                           const InputReportHandler& handler,
                           std::recursive_mutex* sharedHandleLock)
    : channel_(channel), handle_(handle), stop_(stop), handler_(handler),
      sharedHandleLock_(sharedHandleLock) {}

bool CInputReader::Start(SIZE_T stackSize) {
    if (Running()) {
        return false;
    }
    thread_.reset(CreateThread(nullptr, stackSize, &CInputReader::ThreadProc, this, 0, nullptr));
    return Running();
}

void CInputReader::Join() {
    if (Running()) {
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
}

DWORD WINAPI CInputReader::ThreadProc(LPVOID parameter) {
    static_cast<CInputReader*>(parameter)->Run();
    return 0;
}

void CInputReader::Run() {
    while (!stop_.load()) {
        Sleep(kPauseMilliseconds);
        hid_device* device = handle_.Get();
        if (device == nullptr || stop_.load()) {
            continue;
        }
        std::array<std::uint8_t, kInputReportLength> report{};
        int length = 0;
        if (sharedHandleLock_ != nullptr) {
            const std::lock_guard lock(*sharedHandleLock_);
            length = hid_read_timeout(device, report.data(), report.size(), 0);
        } else {
            length =
                hid_read_timeout(device, report.data(), report.size(), kReadTimeoutMilliseconds);
        }
        if (length > 0 && handler_) {
            handler_(channel_, report);
        }
    }
}
