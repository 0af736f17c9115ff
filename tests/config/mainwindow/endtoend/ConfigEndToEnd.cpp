#include "tests/config/mainwindow/endtoend/ConfigEndToEnd.h"

#include "tests/config/mainwindow/MainWindowProbe.h"
#include "tests/config/mainwindow/endtoend/SharedDataFolder.h"
#include "winlayer/MessageLoop.h"

#include <algorithm>
#include <filesystem>

namespace {
constexpr DWORD kRecheckMs = 2;

// The test build of the service and its template settings lie in its own build folder.
const bool kServiceFolderNamed = [] {
    ServiceHarness::UseProgramFolder(V212_TOLVANE_SIM_FOLDER);
    return true;
}();

// A program folder with the skin and the language file the build put into its own folder.
std::wstring BuiltSkinProgramFolder() {
    return MainWindowFixture::CopiedProgramFolder(L"built", [](const std::wstring& folder) {
        const std::filesystem::path built(V212_BUILD_FOLDER);
        for (const auto& entry : std::filesystem::directory_iterator(built / L"skins")) {
            if (entry.is_regular_file()) {
                CopyFileW(entry.path().wstring().c_str(),
                          (folder + L"skins\\" + entry.path().filename().wstring()).c_str(), FALSE);
            }
        }
        CopyFileW((built / L"Strings.xml").wstring().c_str(), (folder + L"Strings.xml").c_str(),
                  FALSE);
    });
}

bool IsBracketEnd(const Bytes& report) {
    return report.size() >= 3 && report[0] == 2 && report[1] == 0xF5 && report[2] == 1;
}

bool SameReport(const Bytes& actual, const Bytes& expected) {
    if (actual.size() != expected.size() || expected.size() < 8 ||
        !std::equal(expected.begin(), expected.begin() + 4, actual.begin())) {
        return false;
    }
    const std::size_t count = std::min<std::size_t>(expected[4], expected.size() - 8);
    return std::equal(expected.begin() + 8, expected.begin() + 8 + count, actual.begin() + 8);
}

std::string Lines(const Reports& reports) {
    std::string text;
    for (const Bytes& report : reports) {
        text += "\n  " + HexOf(Bytes(report.begin(),
                                     report.begin() + std::min<std::size_t>(report.size(), 16)));
    }
    return text;
}
} // namespace

void Type(HWND edit, const std::wstring& text) {
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    const HWND parent = GetParent(edit);
    for (const wchar_t c : text) {
        SendMessageW(edit, WM_CHAR, c, 1);
        // A key comes after what is posted: the window has taken the change before the next key.
        MSG msg{};
        while (PeekMessageW(&msg, parent, WM_USER, 0x7FFF, PM_REMOVE)) {
            winlayer::MessageLoop::Process(msg);
        }
    }
}

::testing::AssertionResult ReportsMatch(const Reports& actual, const Reports& expected) {
    const bool same =
        actual.size() == expected.size() &&
        std::equal(actual.begin(), actual.end(), expected.begin(), expected.end(), SameReport);
    if (same) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "reports:" << Lines(actual) << "\nexpected:" << Lines(expected);
}

void ConfigEndToEnd::SetUp() {
    ASSERT_TRUE(SharedDataFolder::Prepare());
}

void ConfigEndToEnd::TearDown() {
    // The window goes first: a service that ends tells it to close.
    window_.reset();
    if (harness_.Started() && harness_.Process().Running()) {
        EXPECT_TRUE(harness_.Close());
    }
}

void ConfigEndToEnd::StartService(bool plugged) {
    ASSERT_TRUE(harness_.Start()) << harness_.StartFailure();
    if (!plugged) {
        ASSERT_EQ("ok", harness_.Simulator().Command("unplug").value_or(""));
    }
}

void ConfigEndToEnd::OpenWindow(int subTab, Skin skin) {
    window_ = std::make_unique<MainWindowFixture>(
        skin == Skin::Test ? MainWindowFixture::MakeTestSkin() : BuiltSkinProgramFolder());
    ASSERT_NE(nullptr, Hwnd());
    Click(MainWindowProbe::subTabs(Dialog())[static_cast<std::size_t>(subTab)].Hwnd());
    PumpWatching([] { return true; }, 0);
}

std::array<HWND, 5> ConfigEndToEnd::ProfileButtons() {
    CLucfgDlg& dialog = Dialog();
    return {MainWindowProbe::newProfileBtn(dialog).Hwnd(),
            MainWindowProbe::profileNameBtn(dialog).Hwnd(),
            MainWindowProbe::deleteProfileBtn(dialog).Hwnd(),
            MainWindowProbe::moreProfileBtn(dialog).Hwnd(),
            MainWindowProbe::resetBtn(dialog).Hwnd()};
}

bool ConfigEndToEnd::ProfileButtonsEnabled() {
    const auto buttons = ProfileButtons();
    return std::all_of(buttons.begin(), buttons.end(),
                       [](HWND button) { return IsWindowEnabled(button) != FALSE; });
}

bool ConfigEndToEnd::PumpWatching(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const bool ours = msg.hwnd == nullptr || (window_ && msg.hwnd == Hwnd());
            if (ours && msg.message >= WM_USER && msg.message < 0x8000) {
                seen_.push_back({msg.hwnd, msg.message, msg.wParam, msg.lParam, GetTickCount64()});
                if (onSeen_) {
                    onSeen_(seen_.back());
                }
            }
            winlayer::MessageLoop::Process(msg);
        }
        if (done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(
            0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kRecheckMs)),
            QS_ALLINPUT);
    }
}

Reports ConfigEndToEnd::SentSince(std::uint64_t first) {
    Reports reports = harness_.Simulator().SentFeatureReports(first);
    std::erase_if(reports, [](const Bytes& report) {
        return report.size() > 3 && report[1] == 0xF3 && report[2] == 0xEA && report[3] == 0;
    });
    return reports;
}

Reports ConfigEndToEnd::WaitForBracket(std::uint64_t first) {
    Reports reports;
    PumpWatching(
        [&] {
            reports = SentSince(first);
            return !reports.empty() && IsBracketEnd(reports.back());
        },
        kTimeoutMs);
    return reports;
}
