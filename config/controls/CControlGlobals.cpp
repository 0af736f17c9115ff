#include "config/controls/CControlGlobals.h"
#include "shared/store/DataPaths.h"

#include <windows.h>

namespace {
struct State {
    std::wstring programFolder;
    std::wstring faceName;
    bool editInProgress = false;
    bool secondEditFlag = false;
};

State& Globals() {
    static State state;
    return state;
}

std::wstring ModuleFolder() {
    std::wstring folder = ProgramFilePath();
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder;
}
} // namespace

const std::wstring& CControlGlobals::ProgramFolder() {
    auto& g = Globals();
    if (g.programFolder.empty()) {
        g.programFolder = ModuleFolder();
    }
    return g.programFolder;
}

void CControlGlobals::SetProgramFolder(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    Globals().programFolder = std::move(folder);
}

std::wstring CControlGlobals::SkinPath(const std::wstring& fileName) {
    return ProgramFolder() + L"skins\\" + fileName;
}

const std::wstring& CControlGlobals::FaceName() {
    return Globals().faceName;
}
void CControlGlobals::SetFaceName(std::wstring face) {
    Globals().faceName = std::move(face);
}

bool CControlGlobals::EditInProgress() {
    return Globals().editInProgress;
}
void CControlGlobals::SetEditInProgress(bool on) {
    Globals().editInProgress = on;
}
bool CControlGlobals::SecondEditFlag() {
    return Globals().secondEditFlag;
}
void CControlGlobals::SetSecondEditFlag(bool on) {
    Globals().secondEditFlag = on;
}
