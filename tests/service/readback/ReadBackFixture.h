#pragma once

// The service's pieces that reading back touches, over a scratch data folder and the simulated
// mouse.

#include "service/CFeatureReports.h"
#include "service/CMouseConnection.h"
#include "service/CMouseReadBack.h"
#include "service/CSettingsSender.h"
#include "shared/codes/MacroEvent.h"
#include "tests/service/HidTestSupport.h"

#include <map>
#include <string>
#include <vector>

struct Post {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    bool operator==(const Post&) const = default;
};

class ReadBackTest : public SimulatedMouseTest {
protected:
    void SetUp() override;

    std::wstring StringsFile() const { return folder_.Path() + L"Strings.xml"; }
    std::wstring MacroPath(const std::wstring& name) const;

    void ListMacro(int position, const std::wstring& name) const;
    std::wstring ListedMacro(int position) const;
    void WriteMacro(const std::wstring& name, const std::vector<MacroEvent>& events,
                    int loopTime) const;
    // Count and events of a macro file; the events before the count only.
    std::vector<MacroEvent> MacroEvents(const std::wstring& name) const;
    int MacroInt(const std::wstring& name, const wchar_t* key) const;

    // Replaces the record from "Mouse.ini", as the service window does.
    void ReloadSettings();
    // Everything the configuration program can send: the whole upload, the lighting and the
    // six macros, in one update bracket.
    void UploadAll();
    // Every file of the data folder with its bytes.
    std::map<std::wstring, std::string> Files() const;

    ScratchFolder folder_;
    CMouseConnection connection_;
    CFeatureReports reports_{connection_};
    SettingsRecord settings_{};
    CSettingsGuard guard_{settings_};
    CSettingsSender sender_{reports_, settings_, folder_.SettingsFile(), folder_.MacroFolder()};
    CMouseReadBack readBack_{reports_, sender_, settings_, guard_};
    std::vector<Post> posts_;
};
