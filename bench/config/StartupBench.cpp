// Time from the start of the main window to the end of its first paint, with the real skin,
// against a bare dialog of the same size made from the same template in the same run. The
// difference is what building the skinned controls costs.
#include "config/mainwindow/CLucfgDlg.h"
#include "config/mainwindow/ConfigResources.h"
#include "winlayer/Dialog.h"

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
constexpr int kRuns = 20;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void Drain() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

// Shows the window and paints it at once: the first paint has ended when UpdateWindow returns.
template <class Make> double TimeToFirstPaint(Make make) {
    const Clock::time_point start = Clock::now();
    auto window = make();
    ShowWindow(window->Hwnd(), SW_SHOW);
    UpdateWindow(window->Hwnd());
    const Clock::time_point painted = Clock::now();
    window->DestroyWindow();
    Drain();
    return Milliseconds(painted - start);
}

struct Figures {
    double median;
    double first;
};

template <class Make> Figures Measure(Make make) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(TimeToFirstPaint(make));
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    return {(times[kRuns / 2 - 1] + times[kRuns / 2]) / 2, first};
}

class BareDialog : public winlayer::Dialog {
public:
    BareDialog() : Dialog(IDD_LUCFG_DIALOG) {}
};
} // namespace

int main() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    std::wstring folder = V212_SKIN_PROGRAM_FOLDER;
    std::replace(folder.begin(), folder.end(), L'/', L'\\');

    SIZE skinSize{};
    const Figures skinned = Measure([&] {
        auto dialog = std::make_unique<CLucfgDlg>(folder);
        dialog->Create(IDD_LUCFG_DIALOG, nullptr);
        RECT rect{};
        GetWindowRect(dialog->Hwnd(), &rect);
        skinSize = {rect.right - rect.left, rect.bottom - rect.top};
        return dialog;
    });
    const Figures bare = Measure([&] {
        auto dialog = std::make_unique<BareDialog>();
        dialog->Create(IDD_LUCFG_DIALOG, nullptr);
        MoveWindow(dialog->Hwnd(), 0, 0, skinSize.cx, skinSize.cy, FALSE);
        return dialog;
    });
    std::printf("main window to its first paint, %d runs, window %ld x %ld\n", kRuns, skinSize.cx,
                skinSize.cy);
    std::printf("  skinned: median %.1f ms (first %.1f ms)\n", skinned.median, skinned.first);
    std::printf("  bare:    median %.1f ms (first %.1f ms)\n", bare.median, bare.first);
    std::printf("  skin build beyond the bare dialog: %.1f ms (goal: under 100 ms)\n",
                skinned.median - bare.median);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
