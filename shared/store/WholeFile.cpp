#include "shared/store/WholeFile.h"

#include "shared/store/CDataFolderLock.h"
#include "winlayer/UniqueHandle.h"

#include <windows.h>

namespace {

bool WriteAndFlush(const std::wstring& path, std::string_view bytes) {
    const winlayer::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.Get());
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, bool* missing) {
    if (missing != nullptr) {
        *missing = false;
    }
    const winlayer::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        if (missing != nullptr) {
            *missing = true;
        }
        return std::string();
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXLONG) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes, bool replaceExisting) {
    const std::wstring between = path + std::wstring(kTemporarySuffix);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!WriteAndFlush(between, bytes) || !MoveFileExW(between.c_str(), path.c_str(), flags)) {
        DeleteFileW(between.c_str());
        return false;
    }
    // The platform's copy of the old file must not answer the next read in this process.
    CDataFolderLock::Forget(path);
    return true;
}

bool CopyWholeFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
    bool missing = false;
    const std::optional<std::string> bytes = ReadWholeFile(from, &missing);
    return bytes && !missing && ReplaceWholeFile(to, *bytes, replaceExisting);
}

void RemoveLeftoverTemporaries(const std::wstring& folder) {
    const std::wstring pattern = folder + L"*" + std::wstring(kTemporarySuffix);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring_view name(found.cFileName);
        // The pattern also matches longer endings through short file names.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            name.ends_with(kTemporarySuffix)) {
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
