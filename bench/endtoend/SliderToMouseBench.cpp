// Moves the DPI slider of the main window (made in this process over the real skin) 50 times,
// each time from the post of its 0x446 until the service's last report of the change reaches
// the simulated mouse (no transfer latency), and each time posts the same 0x516 straight to
// the service as well. The configuration program's share is the main window's handling of the
// slider message (write "Mouse.ini", post, copy onto the profile file, show the stage), and the
// difference between the two routes. The pieces of that share are timed alone at the end.
#include "bench/BenchClock.h"
#include "config/mainwindow/CLucfgDlg.h"
#include "config/mainwindow/ConfigResources.h"
#include "shared/store/SettingsIni.h"
#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/endtoend/SharedDataFolder.h"
#include "tests/tolvane/MessagePump.h"
#include "tests/tolvane/ServiceHarness.h"
#include "winlayer/MessageLoop.h"

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {
constexpr int kRuns = 50;
constexpr UINT kSliderValue = 0x446;
constexpr UINT kDpiStageValue = 0x516;
constexpr int kDpiSlider = 10001;
constexpr int kPerformanceTab = 1;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void Print(const char* what, const std::vector<double>& values) {
    if (values.empty()) {
        return;
    }
    std::printf("  %-44s median %7.2f ms   best %7.2f ms   worst %7.2f ms\n", what, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
}

bool IsBracketEnd(const SimulatorClient::Entry& entry) {
    return entry.Call == "hid_send_feature_report" && entry.Bytes.size() > 2 &&
           entry.Bytes[1] == 0xF5 && entry.Bytes[2] == 1;
}

// Waits for the closing bracket report from `first` on; the time it was seen, and the span of
// the reports by the simulated mouse's own clock. Nothing on timeout.
struct Arrival {
    double SeenMs = 0;
    double SpanMs = 0;
};
std::optional<Arrival> WaitForBracketEnd(ServiceHarness& harness, std::uint64_t first) {
    std::vector<SimulatorClient::Entry> log;
    const bool arrived = PumpUntil(
        [&] {
            log = harness.Simulator().Log(first);
            return std::any_of(log.begin(), log.end(), IsBracketEnd);
        },
        ServiceHarness::kTimeoutMs);
    if (!arrived) {
        return std::nullopt;
    }
    const double seen = NowMs();
    const auto end = std::find_if(log.begin(), log.end(), IsBracketEnd);
    return Arrival{seen, (end->Micros - log.front().Micros) / 1000.0};
}

// Handles the window's messages as the program's loop does until the slider message has been
// handled; the time it was done.
double HandleSliderMessage(HWND window) {
    for (;;) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            continue;
        }
        const bool slider = msg.hwnd == window && msg.message == kSliderValue;
        winlayer::MessageLoop::Process(msg);
        if (slider) {
            return NowMs();
        }
    }
}
} // namespace

int main() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    std::wstring skinFolder = V212_SKIN_PROGRAM_FOLDER;
    std::replace(skinFolder.begin(), skinFolder.end(), L'/', L'\\');
    ServiceHarness::UseProgramFolder(V212_TOLVANE_SIM_FOLDER);
    if (!SharedDataFolder::Prepare()) {
        std::fprintf(stderr, "cannot prepare the data folder\n");
        return 1;
    }
    ServiceHarness harness(ServiceHarness::Peers::TrayOnly);
    if (!harness.Start() || harness.Simulator().Command("latency 0") != "ok") {
        std::fprintf(stderr, "the service did not start\n");
        return 1;
    }
    auto dialog = std::make_unique<CLucfgDlg>(skinFolder);
    dialog->Create(IDD_LUCFG_DIALOG, nullptr);
    ShowWindow(dialog->Hwnd(), SW_SHOW);
    const HWND tab = MainWindowProbe::subTabs(*dialog)[kPerformanceTab].Hwnd();
    SendMessageW(dialog->Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(tab), BN_CLICKED),
                 reinterpret_cast<LPARAM>(tab));
    PumpUntil([] { return false; }, 200);
    const int stage = dialog->Working().DPI;

    std::vector<double> handling;
    std::vector<double> throughWindow;
    std::vector<double> straight;
    std::vector<double> spans;
    for (int i = 0; i < kRuns; ++i) {
        // A new value each time: a repeated one is not sent again.
        const WPARAM value = static_cast<WPARAM>(10 + i);
        std::uint64_t first = harness.Simulator().NextSequence();
        const double posted = NowMs();
        PostMessageW(dialog->Hwnd(), kSliderValue, value, kDpiSlider);
        handling.push_back(HandleSliderMessage(dialog->Hwnd()) - posted);
        const auto viaWindow = WaitForBracketEnd(harness, first);
        // Until the service has ended its pause after the last report.
        if (!viaWindow || !harness.SendAndWait(WM_NULL)) {
            std::fprintf(stderr, "slider change %d did not reach the mouse\n", i + 1);
            return 1;
        }
        throughWindow.push_back(viaWindow->SeenMs - posted);
        spans.push_back(viaWindow->SpanMs);

        first = harness.Simulator().NextSequence();
        const double sent = NowMs();
        harness.Post(kDpiStageValue, static_cast<WPARAM>(stage), 0);
        const auto direct = WaitForBracketEnd(harness, first);
        if (!direct || !harness.SendAndWait(WM_NULL)) {
            std::fprintf(stderr, "stage message %d did not reach the mouse\n", i + 1);
            return 1;
        }
        straight.push_back(direct->SeenMs - sent);
    }
    dialog->DestroyWindow();
    PumpUntil([] { return false; }, 0);
    harness.Close();

    // The pieces of the share, alone, on the same files.
    const std::wstring settings = SharedDataFolder::SettingsFile();
    const std::wstring profile = SharedDataFolder::ProfileFile(L"Game");
    const SettingsRecord record = SharedDataFolder::Read(settings);
    std::vector<double> writes;
    std::vector<double> copies;
    for (int i = 0; i < kRuns; ++i) {
        const double start = NowMs();
        SettingsIni_WriteAll(record, settings);
        const double written = NowMs();
        CopyFileW(settings.c_str(), profile.c_str(), FALSE);
        writes.push_back(written - start);
        copies.push_back(NowMs() - written);
    }
    // A store of the values the file holds writes nothing; the slider's stores change one.
    SettingsRecord moved = record;
    std::vector<double> changedWrites;
    for (int i = 0; i < kRuns; ++i) {
        moved.DPI_INFO[0][1] = 10 + i;
        const double start = NowMs();
        SettingsIni_WriteAll(moved, settings);
        changedWrites.push_back(NowMs() - start);
    }
    SettingsIni_WriteAll(record, settings);

    std::vector<double> differences;
    for (int i = 0; i < kRuns; ++i) {
        differences.push_back(throughWindow[static_cast<std::size_t>(i)] -
                              straight[static_cast<std::size_t>(i)]);
    }
    std::printf("DPI slider to the simulated mouse, %d changes, no transfer latency:\n", kRuns);
    Print("slider post to the last report at the mouse", throughWindow);
    Print("0x516 posted to the service, same", straight);
    Print("first to last report (the mouse's clock)", spans);
    Print("main window's handling of the slider post", handling);
    Print("through the window minus straight", differences);
    std::printf("pieces of the window's handling, alone, %d runs:\n", kRuns);
    Print("write \"Mouse.ini\"", writes);
    Print("write \"Mouse.ini\", a stage value changed", changedWrites);
    Print("copy onto the profile file", copies);
    std::printf("configuration program's share: median %.2f ms (goal: under 5 ms)\n",
                Median(handling));
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
