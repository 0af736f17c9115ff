#include "config/core/ProgramFolder.h"

#include "shared/store/DataPaths.h"

namespace {

std::wstring& Folder() {
    static std::wstring folder;
    return folder;
}

} // namespace

const std::wstring& ProgramFolder::Path() {
    std::wstring& folder = Folder();
    if (folder.empty()) {
        folder = ProgramFilePath();
        folder.erase(folder.find_last_of(L"\\/") + 1);
    }
    return folder;
}

void ProgramFolder::Set(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    Folder() = std::move(folder);
}
