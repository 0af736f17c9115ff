#include "fwupdate/CFlashToolWindow.h"
#include "fwupdate/FlashSequences.h"
#include "winlayer/MessageLoop.h"

#include <shellapi.h>

#include <string>

namespace {
// Exit code for an argument that names no sequence: nothing is posted.
constexpr int kUnknownArgument = 2;

std::wstring FirstArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring first = (arguments != nullptr && count > 1) ? arguments[1] : L"";
    LocalFree(arguments);
    return first;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto stages = SequenceFor(FirstArgument());
    if (!stages) {
        return kUnknownArgument;
    }
    CFlashToolWindow window(*stages);
    if (!window.CreateAndShow()) {
        return 1;
    }
    return winlayer::MessageLoop::Run();
}
