#include "config/dialogs/LaunchTarget/CTargetChooser.h"

#include "winlayer/FileDialog.h"

#include <shlobj.h>

#include <array>
#include <memory>
#include <vector>

namespace {
constexpr size_t kFolderCapacity = 260;
// Longer than any target may be, so that an over-long choice comes back whole and is refused
// by the dialog instead of being cut here.
constexpr size_t kChosenCapacity = 4096;

struct ItemListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
} // namespace

std::optional<std::wstring> CTargetChooser::ProgramFile(HWND owner) {
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Open, L".exe", L"*.exe",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                L"Execute File(*.exe)|*.exe|", owner);
    std::array<wchar_t, kFolderCapacity> folder{};
    const DWORD length = ExpandEnvironmentStringsW(L"%ProgramFiles%", folder.data(),
                                                   static_cast<DWORD>(folder.size()));
    if (length > 0 && length <= folder.size()) {
        dialog.SetInitialFolder(folder.data());
    }
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return dialog.Path();
}

std::optional<std::wstring> CTargetChooser::Folder(HWND owner) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"Selection";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const std::unique_ptr<ITEMIDLIST, ItemListFree> chosen(SHBrowseForFolderW(&info));
    if (!chosen) {
        return std::nullopt;
    }
    std::vector<wchar_t> path(kChosenCapacity, L'\0');
    if (!SHGetPathFromIDListEx(chosen.get(), path.data(), static_cast<DWORD>(path.size()),
                               GPFIDL_DEFAULT)) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}
