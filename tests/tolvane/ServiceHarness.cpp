#include "tests/tolvane/ServiceHarness.h"

#include "tests/tolvane/MessagePump.h"
#include "winlayer/UniqueHandle.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {
constexpr wchar_t kServiceTitle[] = L"V212Hid";
constexpr std::uint8_t kBracketEnd[] = {0x02, 0xF5, 0x01};

bool IsBracketEnd(const std::vector<std::uint8_t>& report) {
    return report.size() >= 3 &&
           std::equal(std::begin(kBracketEnd), std::end(kBracketEnd), report.begin());
}
} // namespace

ServiceHarness::ServiceHarness(Peers peers) : tray_(L"V212MousePennrack") {
    if (peers == Peers::ConfigAndTray) {
        config_.emplace(L"Selvin V212 Gaming Mouse");
    }
}

namespace {
std::wstring& NamedProgramFolder() {
    static std::wstring folder;
    return folder;
}
} // namespace

void ServiceHarness::UseProgramFolder(std::wstring folder) {
    NamedProgramFolder() = std::move(folder);
}

std::wstring ServiceHarness::ProgramFolder() {
    if (!NamedProgramFolder().empty()) {
        return NamedProgramFolder();
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring ServiceHarness::SimulatedServicePath() {
    return ProgramFolder() + L"\\tolvane_sim.exe";
}

std::wstring ServiceHarness::VendorFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData))) {
        return {};
    }
    return std::wstring(appData) + L"\\Selvin V212 Gaming Mouse";
}

std::wstring ServiceHarness::SettingsPath() {
    return VendorFolder() + L"\\GamingMouse\\Mouse.ini";
}

bool ServiceHarness::CleanDataFolder() {
    const std::wstring folder = VendorFolder();
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return !error && !std::filesystem::exists(folder);
}

std::vector<HWND> ServiceHarness::ServiceWindows() {
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, kServiceTitle)) != nullptr) {
        windows.push_back(window);
    }
    return windows;
}

bool ServiceHarness::Start() {
    window_ = nullptr;
    startFailure_.clear();
    process_ = std::make_unique<ServiceProcess>();
    if (!process_->Start(SimulatedServicePath())) {
        startFailure_ = "the service could not be started, error " + std::to_string(GetLastError());
        return false;
    }
    simulator_ = std::make_unique<SimulatorClient>(process_->Id());
    const DWORD id = process_->Id();
    const bool found = PumpUntil(
        [this, id] {
            for (HWND window : ServiceWindows()) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == id) {
                    window_ = window;
                    return true;
                }
            }
            return !process_->Running();
        },
        kTimeoutMs);
    // The window exists from the start of its creation; a sent message is taken only once the
    // message loop runs, that is after the whole start-up.
    DWORD_PTR result = 0;
    if (!found || window_ == nullptr ||
        SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result) == 0) {
        startFailure_ = WhyNotStarted();
        return false;
    }
    return true;
}

std::string ServiceHarness::WhyNotStarted() const {
    std::string why;
    if (process_->Running()) {
        why = window_ == nullptr ? "its window did not come" : "its window did not answer";
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "0x%lX", static_cast<unsigned long>(process_->ExitCode()));
        why = std::string("it ended with exit code ") + code;
    }
    // A copy that ends at once as the second one leaves the first holding the mutex.
    const winlayer::UniqueHandle mutex(
        OpenMutexW(SYNCHRONIZE, FALSE, (std::wstring(kServiceTitle) + L"_Mutex").c_str()));
    why += mutex ? "; another copy holds the single-instance mutex" : "; no copy holds the mutex";
    return "the service did not start: " + why + ", " + std::to_string(ServiceWindows().size()) +
           " window(s) titled V212Hid";
}

std::unique_ptr<ServiceProcess> ServiceHarness::StartAnother() const {
    auto process = std::make_unique<ServiceProcess>();
    process->Start(SimulatedServicePath());
    return process;
}

bool ServiceHarness::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return window_ != nullptr && PostMessageW(window_, message, wParam, lParam) != 0;
}

bool ServiceHarness::SendAndWait(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    return window_ != nullptr && SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_NORMAL,
                                                     kTimeoutMs, &result) != 0;
}

std::vector<std::vector<std::uint8_t>>
ServiceHarness::PostAndCollectBracket(UINT message, WPARAM wParam, LPARAM lParam) {
    const std::uint64_t first = simulator_->NextSequence();
    std::vector<std::vector<std::uint8_t>> reports;
    if (!Post(message, wParam, lParam)) {
        return reports;
    }
    PumpUntil(
        [&] {
            reports = simulator_->SentFeatureReports(first);
            return !reports.empty() && IsBracketEnd(reports.back());
        },
        kTimeoutMs);
    return reports;
}

bool ServiceHarness::Close() {
    if (!Post(WM_CLOSE)) {
        return false;
    }
    return PumpUntil([this] { return !process_->Running(); }, kTimeoutMs);
}
