#include "shared/store/ShellAccess.h"

#include "shared/store/RegKey.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<wchar_t> DoubleZeroTerminated(std::wstring_view path) {
    std::vector<wchar_t> buffer(path.begin(), path.end());
    buffer.push_back(L'\0');
    buffer.push_back(L'\0');
    return buffer;
}

} // namespace

std::wstring ProgramFromOpenCommand(std::wstring_view command) {
    std::wstring text;
    for (wchar_t c : command) {
        if (c != L'"') {
            text.push_back(c);
        }
    }
    const auto isSpace = [](wchar_t c) { return std::iswspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    text = first < last ? std::wstring(first, last) : std::wstring();

    for (std::size_t space = text.find(L' '); space != std::wstring::npos;
         space = text.find(L' ', space + 1)) {
        std::wstring candidate = text.substr(0, space);
        if (IsExistingFile(candidate)) {
            return candidate;
        }
    }
    return text;
}

std::wstring ProgramCommandLine(std::wstring_view program, std::wstring_view argument) {
    std::wstring line = L"\"";
    line.append(program);
    line.append(L"\" ");
    line.append(argument);
    return line;
}

int OpenHtmlWithDefaultBrowser(std::wstring_view argument) {
    RegKey key;
    if (!key.Open(L"HKEY_CLASSES_ROOT\\.htm", KEY_READ, false)) {
        return -1;
    }
    const std::optional<std::wstring> fileClass = key.ReadString(L"");
    if (!fileClass || fileClass->empty()) {
        return -1;
    }
    if (!key.Open(L"HKEY_CLASSES_ROOT\\" + *fileClass + L"\\shell\\open\\command", KEY_READ,
                  false)) {
        return -1;
    }
    const std::optional<std::wstring> command = key.ReadString(L"");
    key.Close();
    if (!command) {
        return -1;
    }
    const std::wstring program = ProgramFromOpenCommand(*command);
    if (program.empty()) {
        return -1;
    }
    std::wstring line = ProgramCommandLine(program, argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

int CopyFileWithShell(std::wstring_view from, std::wstring_view to, FILEOP_FLAGS flags) {
    if (from.empty() || to.empty() || from.size() > kMaxShellPath || to.size() > kMaxShellPath) {
        return 0;
    }
    std::vector<wchar_t> source = DoubleZeroTerminated(from);
    std::vector<wchar_t> target = DoubleZeroTerminated(to);
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = nullptr;
    operation.wFunc = FO_RENAME;
    operation.pFrom = source.data();
    operation.pTo = target.data();
    operation.fFlags = flags;
    if (SHFileOperationW(&operation) != 0 || operation.fAnyOperationsAborted) {
        return 0;
    }
    return 1;
}
