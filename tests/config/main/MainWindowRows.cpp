#include "tests/config/main/MainWindowRows.h"

#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/main/MainWindowData.h"

namespace {
// The service's "read-back done": the window reads the data folder again.
constexpr UINT kServiceEvent = 0x505;
} // namespace

MainWindowRows::MainWindowRows(bool withHooks) : m_hooks(withHooks) {
    const std::wstring folder = MainWindowFixture::MakeTestSkin();
    MainWindowData::WriteLanguage(folder);
    if (m_hooks) {
        MainWindowData::AddHookLibrary(folder);
    }
    m_window = std::make_unique<MainWindowFixture>(folder);
}

void MainWindowRows::Start(const SettingsRecord& record, const std::vector<Macro>& macros) {
    MainWindowData::Clean();
    MainWindowData::WriteSettings(record);
    for (const Macro& macro : macros) {
        MainWindowData::WriteMacro(macro.slot, macro.name, macro.events, macro.loopTime);
    }
    SendMessageW(Hwnd(), kServiceEvent, 0, 0);
    Pump();
    m_service.Clear();
}

std::vector<WPARAM> MainWindowRows::Posts(UINT message) const {
    std::vector<WPARAM> posts;
    for (const RecorderWindow::Message& posted : m_service.Messages()) {
        if (posted.message == message) {
            posts.push_back(posted.wParam);
        }
    }
    return posts;
}
