// Prints how long reading a section takes for sections of many keys: 100,000 keys in one
// section (about 1 MB), and a settings file of about 10 MB whose "GROUP" holds 60,000 junk keys
// read as the service's reload reads it. A run that takes longer than a few seconds is not
// repeated. Last, reads of a settings file of normal size while a second process (this program
// started again) stores two versions of the settings in turn, as the other program does: the
// reads that gave neither version whole, and the median and worst time of a read. Then one
// settings store, written whole and put in place against the platform's in-place section writes
// that stores used before, for a normal settings file and the 10 MB one.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"
#include "winlayer/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
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

// The two sections a store writes, as the platform lists them.
std::pair<std::vector<wchar_t>, std::vector<wchar_t>> SectionLists(const SettingsRecord& record) {
    const auto scratch = TempFile(L"V212 ini bench lists.ini");
    std::filesystem::remove(scratch);
    SettingsIni_Write(record, scratch.wstring());
    const auto list = [&](const wchar_t* section) {
        std::vector<wchar_t> text(65536);
        text.resize(GetPrivateProfileSectionW(section, text.data(), static_cast<DWORD>(text.size()),
                                              scratch.c_str()) +
                    1);
        return text;
    };
    auto lists = std::make_pair(list(L"Setting"), list(L"GROUP"));
    std::filesystem::remove(scratch);
    return lists;
}

void CompareStores(const char* what, const std::filesystem::path& path) {
    constexpr int kStores = 20;
    const SettingsRecord versions[] = {Version(1), Version(2)};
    const auto lists = std::array{SectionLists(versions[0]), SectionLists(versions[1])};
    const auto measure = [&](const char* how, const std::function<void(int)>& store) {
        const std::string original = [&] {
            std::ifstream in(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }();
        std::vector<double> times;
        for (int i = 0; i < kStores; ++i) {
            // Each store meets the file as it was: a section write would otherwise drop the junk
            // keys of the large file for every store after the first.
            WriteText(path, original);
            WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
            const auto start = Clock::now();
            store(i);
            times.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        WriteText(path, original);
        std::sort(times.begin(), times.end());
        std::printf("  %-20s %-24s median %8.2f ms   worst %8.2f ms\n", what, how,
                    times[times.size() / 2], times.back());
    };
    measure("whole, in one step",
            [&](int i) { SettingsIni_Write(versions[i % 2], path.wstring()); });
    measure("in place (before)", [&](int i) {
        const auto& [setting, group] = lists[static_cast<std::size_t>(i % 2)];
        WritePrivateProfileSectionW(L"Setting", setting.data(), path.c_str());
        WritePrivateProfileSectionW(L"GROUP", group.data(), path.c_str());
        // The platform keeps the file until it is told to let it go.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    });
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

    std::printf("one settings store:\n");
    CompareStores("normal file", normal);
    CompareStores("10 MB file", huge);

    std::filesystem::remove(many);
    std::filesystem::remove(huge);
    std::filesystem::remove(normal);
    return 0;
}
