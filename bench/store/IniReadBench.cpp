// Prints how long reading a section takes for sections of many keys: 100,000 keys in one
// section (about 1 MB), and a settings file of about 10 MB whose "GROUP" holds 60,000 junk keys
// read as the service's reload reads it. A run that takes longer than a few seconds is not
// repeated.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

} // namespace

int main() {
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

    std::filesystem::remove(many);
    std::filesystem::remove(huge);
    return 0;
}
