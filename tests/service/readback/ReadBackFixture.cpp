#include "tests/service/readback/ReadBackFixture.h"

#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"
#include "shared/store/SettingsIni.h"

#include <filesystem>
#include <fstream>
#include <iterator>

void ReadBackTest::SetUp() {
    SimulatedMouseTest::SetUp();
    connection_.SetupDeviceTable();
    connection_.EnumerateMouse();
    connection_.OpenMouse(CMouseConnection::kVendorId, CMouseConnection::kProductId);
    ASSERT_TRUE(connection_.IsControlOpen());
    sender_.SetSystemParameters([](UINT, UINT, PVOID, UINT) { return TRUE; });
    readBack_.SetPaths(folder_.SettingsFile(), folder_.MacroFolder(), StringsFile());
    readBack_.SetConfigPoster([this](UINT message, WPARAM wParam, LPARAM lParam) {
        posts_.push_back({message, wParam, lParam});
        return true;
    });
    SettingsRecord_FillDefaults(settings_, 0);
    settings_.Profile = 0;
    settings_.MouseButtons = 8;
    settings_.TrayEnabled = 1;
    SettingsIni_Write(settings_, folder_.SettingsFile());
}

std::wstring ReadBackTest::MacroPath(const std::wstring& name) const {
    return folder_.MacroFolder() + name + L".MACRO";
}

void ReadBackTest::ListMacro(int position, const std::wstring& name) const {
    CIniFile(folder_.SettingsFile()).WriteString(L"MACRO_LIST", std::to_wstring(position), name);
}

std::wstring ReadBackTest::ListedMacro(int position) const {
    return CIniFile(folder_.SettingsFile())
        .ReadString(L"MACRO_LIST", std::to_wstring(position), L"");
}

void ReadBackTest::WriteMacro(const std::wstring& name, const std::vector<MacroEvent>& events,
                              int loopTime) const {
    MacroEventBuffer buffer{};
    std::copy(events.begin(), events.end(), buffer.begin());
    ASSERT_TRUE(
        MacroFile(MacroPath(name)).Write(buffer, static_cast<int>(events.size()), loopTime));
}

std::vector<MacroEvent> ReadBackTest::MacroEvents(const std::wstring& name) const {
    MacroEventBuffer buffer{};
    int count = 0;
    EXPECT_TRUE(MacroFile(MacroPath(name)).Read(buffer, count));
    return {buffer.begin(), buffer.begin() + count};
}

int ReadBackTest::MacroInt(const std::wstring& name, const wchar_t* key) const {
    return CIniFile(MacroPath(name)).ReadInt(L"Setting", key, -99);
}

void ReadBackTest::ReloadSettings() {
    SettingsRecord loaded = settings_;
    SettingsRecord_Reset(loaded);
    SettingsIni_Read(loaded, folder_.SettingsFile(), -1);
    SettingsRecord_Assign(settings_, loaded);
}

void ReadBackTest::UploadAll() {
    sender_.SendUpdateBracket(0);
    sender_.SendAll2Mouse();
    sender_.SendLighting(0, 0);
    for (int position = 0; position < MaxMacros; ++position) {
        sender_.SendMacro(position, false);
    }
    sender_.CommitAll();
    sender_.SendUpdateBracket(1);
}

std::map<std::wstring, std::string> ReadBackTest::Files() const {
    std::map<std::wstring, std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder_.Path())) {
        if (item.is_regular_file()) {
            std::ifstream file(item.path(), std::ios::binary);
            files[item.path().wstring()] = {std::istreambuf_iterator<char>(file),
                                            std::istreambuf_iterator<char>()};
        }
    }
    return files;
}
