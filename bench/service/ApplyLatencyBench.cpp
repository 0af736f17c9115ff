// Starts the test build of the device service on a fresh data folder, posts the whole apply
// (0x4FF) 50 times and measures each until the 0x505 (11) answer arrives. The protocol itself
// pauses 100 ms after each of the two bracket reports; what is printed is the time beyond
// those 200 ms, with the simulated mouse answering at once, and how much of it lies inside the
// upload (first to last report, by the simulated mouse's clock) rather than around it (the
// messages, reloading "Mouse.ini", writing "FWVersion"); then the reload alone. Last, with two
// macro buttons and "Mouse.ini" written just before each post as the configuration program
// does, how long the update bracket stays open beyond its 100 ms pause: for the small file and
// for the same file grown to about 10 MB, where every read parses the whole file again. Then,
// on the small file, with the configuration program's settings write running in a loop on
// another thread: whole applies (0x4FF) and uploads (0x4FE), the sections of "Mouse.ini" lost
// meanwhile, the uploads without their macro buttons, and the longest store and apply.
#include "bench/BenchClock.h"
#include "bench/service/ServiceBench.h"
#include "service/ServiceMessages.h"
#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/SettingsIni.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceHarness.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int kApplies = 50;
constexpr int kLargeFileApplies = 10;
constexpr double kProtocolPausesMs = 200.0;
constexpr double kBracketPauseMs = 100.0;
constexpr std::size_t kLargeFileBytes = 10 * 1024 * 1024;
constexpr int kAppliesUnderWriter = 30;
constexpr int kUploadsUnderWriter = 41;

// Median, best and worst of the values.
void Print(const char* what, std::vector<double> values) {
    if (values.empty()) {
        return;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    std::printf("  %-22s median %7.2f ms   best %7.2f ms   worst %7.2f ms\n", what, median,
                values.front(), values.back());
}

struct Timings {
    std::vector<double> Overheads;
    std::vector<double> Uploads;
    std::vector<double> Brackets;
};

// `runs` whole applies, each after `beforePost`; nothing when one got no answer.
std::optional<Timings> Apply(ServiceHarness& harness, int runs,
                             const std::function<void()>& beforePost) {
    Timings timings;
    for (int i = 0; i < runs; ++i) {
        beforePost();
        harness.Config().Clear();
        const auto first = harness.Simulator().NextSequence();
        const double start = NowMs();
        harness.Post(kMsgApplyAll, 0, 1);
        if (!PumpUntil(
                [&] { return harness.Config().Count(kMsgServiceEvent, kEventApplied, 0) > 0; },
                ServiceHarness::kTimeoutMs)) {
            std::fprintf(stderr, "apply %d got no answer\n", i + 1);
            return std::nullopt;
        }
        timings.Overheads.push_back(NowMs() - start - kProtocolPausesMs);
        const auto log = harness.Simulator().Log(first);
        if (!log.empty()) {
            // The pause after the closing bracket report comes after the last report.
            timings.Uploads.push_back((log.back().Micros - log.front().Micros) / 1000.0 -
                                      kProtocolPausesMs / 2);
        }
        const auto open = std::ranges::find_if(log, [](const auto& e) { return IsBracket(e, 0); });
        const auto close =
            std::find_if(open, log.end(), [](const auto& e) { return IsBracket(e, 1); });
        if (close != log.end()) {
            timings.Brackets.push_back((close->Micros - open->Micros) / 1000.0 - kBracketPauseMs);
        }
    }
    return timings;
}

// Buttons 1 and 2 run the macros listed at positions 0 and 1.
void AddMacroButtons(const CIniFile& settings) {
    const wchar_t* names[] = {L"Jump", L"Run"};
    for (int i = 0; i < 2; ++i) {
        ButtonAssignment button{};
        button.ButtonNumber = static_cast<std::uint8_t>(i + 1);
        button.FunctionCode = 6;
        button.Param1 = 1;
        std::wcsncpy(button.Text.data(), names[i], button.Text.size() - 1);
        settings.WriteString(L"MACRO_LIST", std::to_wstring(i), names[i]);
        settings.WriteStruct(
            L"GROUP", L"ButtonAssigned" + std::to_wstring(i + 1),
            std::span(reinterpret_cast<const std::uint8_t*>(&button), sizeof button));
    }
}

// Grows the file (UTF-16LE, as our writes keep it) to about `bytes` with a section of notes.
void GrowTo(const std::wstring& path, std::size_t bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::app);
    std::wstring text = L"[Notes]\r\n";
    for (int line = 0; text.size() * sizeof(wchar_t) < bytes; ++line) {
        text += L"note" + std::to_wstring(line) + L"=a note somebody left in the settings file\r\n";
    }
    file.write(reinterpret_cast<const char*>(text.data()),
               static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
}

// Whether the upload between the brackets of `log` holds both macro buttons' reports.
bool HasMacroButtons(const std::vector<SimulatorClient::Entry>& log) {
    int found = 0;
    for (const auto& entry : log) {
        if (entry.Call == "hid_send_feature_report" && entry.Bytes.size() > 4 &&
            entry.Bytes[1] == MouseMemoryMap::kCommandWrite && entry.Bytes[3] == 0 &&
            (entry.Bytes[2] == MouseMemoryMap::ButtonAddress(0) ||
             entry.Bytes[2] == MouseMemoryMap::ButtonAddress(1))) {
            ++found;
        }
    }
    return found == 2;
}

struct UnderWriter {
    int Sections = 0;      // checks that found a list section missing
    int WithoutMacros = 0; // uploads without both macro buttons
    int Unanswered = 0;    // uploads that never ended
    std::vector<double> Stores;
    std::vector<double> Applies;
};

// `applies` whole applies and `uploads` uploads, one after the other, while another thread
// stores the settings as the configuration program does, over and over.
UnderWriter ApplyUnderWriter(ServiceHarness& harness, int applies, int uploads) {
    const std::wstring path = ServiceHarness::SettingsPath();
    SettingsRecord record{};
    SettingsRecord_Reset(record);
    SettingsIni_Read(record, path, -1);
    UnderWriter result;
    std::atomic<bool> writing = true;
    // As a store of the configuration program: the settings, told apart by their polling rate,
    // then the copy onto the current profile's file.
    const std::wstring profile =
        std::filesystem::path(path).parent_path().wstring() + L"\\Profile\\Bench.ini";
    std::thread writer([&] {
        for (int i = 0; writing; ++i) {
            const double start = NowMs();
            record.PollingRate = 1 + i % 2;
            SettingsIni_WriteAll(record, path);
            {
                const CDataFolderLock lock;
                CopyFileW(path.c_str(), profile.c_str(), FALSE);
            }
            result.Stores.push_back(NowMs() - start);
        }
    });
    const CIniFile settings(path);
    for (int i = 0; i < applies + uploads; ++i) {
        const bool apply = i < applies;
        harness.Config().Clear();
        const auto first = harness.Simulator().NextSequence();
        const double start = NowMs();
        harness.Post(apply ? kMsgApplyAll : kMsgSendAll, 0, 1);
        std::vector<SimulatorClient::Entry> log;
        const bool ended = PumpUntil(
            [&] {
                log = harness.Simulator().Log(first);
                return std::ranges::any_of(log, [](const auto& e) { return IsBracket(e, 1); }) &&
                       (!apply || harness.Config().Count(kMsgServiceEvent, kEventApplied, 0) > 0);
            },
            ServiceHarness::kTimeoutMs);
        if (!ended) {
            ++result.Unanswered;
            continue;
        }
        if (apply) {
            result.Applies.push_back(NowMs() - start - kProtocolPausesMs);
        }
        result.WithoutMacros += HasMacroButtons(log) ? 0 : 1;
        const bool listed = !settings.ReadString(L"PROFILE_LIST", L"ProfileCount", L"").empty() &&
                            !settings.ReadString(L"MACRO_LIST", L"0", L"").empty();
        result.Sections += listed ? 0 : 1;
    }
    writing = false;
    writer.join();
    return result;
}

} // namespace

int main() {
    ServiceHarness harness;
    if (!StartBenchService(harness)) {
        return 1;
    }
    const std::optional<Timings> plain = Apply(harness, kApplies, [] {});
    // The reload that every apply starts with, alone, on the file the service used.
    std::vector<double> reloads;
    for (int i = 0; i < kApplies; ++i) {
        SettingsRecord record{};
        const double start = NowMs();
        SettingsRecord_Reset(record);
        SettingsIni_Read(record, ServiceHarness::SettingsPath(), -1);
        reloads.push_back(NowMs() - start);
    }
    const CIniFile settings(ServiceHarness::SettingsPath());
    AddMacroButtons(settings);
    // The configuration program writes the file just before it posts.
    int written = 0;
    const auto write = [&] { settings.WriteInt(L"Setting", L"MouseID", ++written); };
    const std::optional<Timings> small = Apply(harness, kLargeFileApplies, write);
    settings.WriteInt(L"PROFILE_LIST", L"ProfileCount", 0);
    const UnderWriter underWriter =
        ApplyUnderWriter(harness, kAppliesUnderWriter, kUploadsUnderWriter);
    GrowTo(ServiceHarness::SettingsPath(), kLargeFileBytes);
    const std::uintmax_t largeSize = std::filesystem::file_size(ServiceHarness::SettingsPath());
    const std::optional<Timings> large = Apply(harness, kLargeFileApplies, write);
    harness.Close();
    if (!plain || !small || !large) {
        return 1;
    }

    std::printf("whole apply, %d runs, time beyond the 2 x 100 ms bracket pauses:\n", kApplies);
    Print("post to answer", plain->Overheads);
    Print("inside the upload", plain->Uploads);
    std::printf("reading \"Mouse.ini\" into a settings record, %d runs:\n", kApplies);
    Print("reload", reloads);
    std::printf("whole apply with two macro buttons, the file written before each post, %d runs,\n"
                "time the bracket stays open beyond its 100 ms pause:\n",
                kLargeFileApplies);
    Print("bracket, small file", small->Brackets);
    char label[32];
    std::snprintf(label, sizeof label, "bracket, %.1f MB file",
                  static_cast<double>(largeSize) / (1024.0 * 1024.0));
    Print(label, large->Brackets);
    Print("post to answer, large", large->Overheads);
    std::printf("with the settings stored in a loop by another thread: %d whole applies and %d "
                "uploads\n",
                kAppliesUnderWriter, kUploadsUnderWriter);
    std::printf("  list sections lost %d, uploads without their macro buttons %d, unanswered %d\n",
                underWriter.Sections, underWriter.WithoutMacros, underWriter.Unanswered);
    Print("store of the settings", underWriter.Stores);
    Print("apply beyond pauses", underWriter.Applies);
    return 0;
}
