// Prints how long reading a section takes for sections of many keys: 100,000 keys in one
// section (about 1 MB), and a settings file of about 10 MB whose "GROUP" holds 60,000 junk keys
// read as the service's reload reads it. A run that takes longer than a few seconds is not
// repeated. Last, reads of a settings file of normal size while a second process (this program
// started again) stores two versions of the settings in turn, as the other program does: the
// reads that gave neither version whole, and the median and worst time of a read.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"
#include "winlayer/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;
constexpr double kSlowSeconds = 5.0;

std::filesystem::path TempFile(const wchar_t* name) {
    return std::filesystem::temp_directory_path() / name;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// 100,000 keys "K<n>=<n mod 1000>" in section "Big".
std::string ManyKeys() {
    std::string text = "[Big]\r\n";
    for (int i = 0; i < 100000; ++i) {
        text += "K" + std::to_string(i) + "=" + std::to_string(i % 1000) + "\r\n";
    }
    return text;
}

// About 10 MB: a short "Setting" section, then "GROUP" with its real keys followed by 60,000
// junk keys of about 170 characters each.
std::string HugeGroup() {
    std::string text = "[Setting]\r\nProfile=0\r\nDPI=1\r\nPollingRate=1\r\n"
                       "[GROUP]\r\nProfileName=Game\r\nLink=1\r\nDPI=2\r\n";
    const std::string junkValue(160, 'x');
    for (int i = 0; i < 60000; ++i) {
        text += "Junk" + std::to_string(i) + "=" + junkValue + "\r\n";
    }
    return text;
}

double Seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Measure(const char* what, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(Seconds(work));
        if (times.back() > kSlowSeconds) {
            break;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-44s median %8.3f s   best %8.3f s   worst %8.3f s   (%zu runs)\n", what,
                times[times.size() / 2], times.front(), times.back(), times.size());
}

constexpr wchar_t kStoreLoop[] = L"--store-loop";
constexpr wchar_t kStopEvent[] = L"V212 ini bench stop";
constexpr int kReadsUnderWriter = 500;

SettingsRecord Version(int pollingRate) {
    SettingsRecord record{};
    SettingsRecord_FillDefaults(record, 0);
    record.PollingRate = pollingRate;
    return record;
}

// The second process: stores the two versions in turn until told to stop.
int StoreLoop(const std::wstring& path) {
    const winlayer::UniqueHandle stop(OpenEventW(SYNCHRONIZE, FALSE, kStopEvent));
    const SettingsRecord versions[] = {Version(1), Version(2)};
    for (int i = 0; stop && WaitForSingleObject(stop.Get(), 0) == WAIT_TIMEOUT; ++i) {
        SettingsIni_WriteAll(versions[i % 2], path);
    }
    return 0;
}

void ReadUnderWriter(const std::filesystem::path& path) {
    SettingsIni_WriteAll(Version(1), path.wstring());
    SettingsRecord expected[2]{};
    for (int i = 0; i < 2; ++i) {
        SettingsRecord_Reset(expected[i]);
        SettingsIni_Read(expected[i], path.wstring(), -1);
        expected[i].PollingRate = i + 1;
    }
    const winlayer::UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, kStopEvent));
    std::wstring command =
        L"\"" + ProgramFilePath() + L"\" " + kStoreLoop + L" \"" + path.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("the storing process did not start\n");
        return;
    }
    const winlayer::UniqueHandle processHandle(process.hProcess);
    const winlayer::UniqueHandle thread(process.hThread);
    Sleep(200);
    std::vector<double> times;
    int wrong = 0;
    for (int i = 0; i < kReadsUnderWriter; ++i) {
        SettingsRecord read{};
        SettingsRecord_Reset(read);
        const auto start = Clock::now();
        const int result = SettingsIni_Read(read, path.wstring(), -1);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        const bool whole = std::ranges::any_of(expected, [&](const SettingsRecord& version) {
            return std::memcmp(&version, &read, sizeof read) == 0;
        });
        wrong += result == 1 && whole ? 0 : 1;
    }
    SetEvent(stop.Get());
    WaitForSingleObject(processHandle.Get(), INFINITE);
    std::sort(times.begin(), times.end());
    std::printf("  %-44s wrong %d of %d   median %6.2f ms   worst %6.2f ms\n",
                "settings read while another process stores", wrong, kReadsUnderWriter,
                times[times.size() / 2], times.back());
}

} // namespace

int main() {
    int argumentCount = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &argumentCount);
    if (argumentCount == 3 && std::wstring(arguments[1]) == kStoreLoop) {
        return StoreLoop(arguments[2]);
    }

    const auto many = TempFile(L"V212 ini bench many.ini");
    WriteText(many, ManyKeys());
    std::printf("file of %ju bytes:\n", static_cast<std::uintmax_t>(file_size(many)));
    Measure("section of 100,000 keys", [&] {
        const CIniSection section(CIniFile(many.wstring()), L"Big");
        if (section.ReadInt(L"K99999", -1) != 999) {
            std::printf("wrong value\n");
        }
    });

    const auto huge = TempFile(L"V212 ini bench huge.ini");
    WriteText(huge, HugeGroup());
    std::printf("file of %ju bytes:\n", static_cast<std::uintmax_t>(file_size(huge)));
    Measure("settings reload, 60,000 junk keys in GROUP", [&] {
        SettingsRecord loaded{};
        SettingsRecord_Reset(loaded);
        SettingsIni_Read(loaded, huge.wstring(), -1);
        if (loaded.Link != 1) {
            std::printf("wrong value\n");
        }
    });

    const auto normal = TempFile(L"V212 ini bench normal.ini");
    ReadUnderWriter(normal);
    std::printf("file of %ju bytes\n", static_cast<std::uintmax_t>(file_size(normal)));

    std::filesystem::remove(many);
    std::filesystem::remove(huge);
    std::filesystem::remove(normal);
    return 0;
}
