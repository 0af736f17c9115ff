// The production calls: registry reads that never create keys and cope with unterminated
// strings, COM on the calling thread, and the program path.

#include "service/CBasicFunction.h"
#include "service/CWin32ActionSystem.h"
#include "tests/service/actions/CRecordingActionSystem.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using Shell = CRecordingActionSystem::Shell;

// A scratch key of the current user, removed with the object.
class ScratchKey {
public:
    ScratchKey()
        : subKey_(L"Software\\V212 Action Test " + std::to_wstring(GetCurrentProcessId())) {
        RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str());
    }
    ~ScratchKey() { RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str()); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    std::wstring Path() const { return L"HKEY_CURRENT_USER\\" + subKey_; }
    bool Exists(const std::wstring& below = L"") const {
        HKEY key = nullptr;
        const std::wstring path = below.empty() ? subKey_ : subKey_ + L"\\" + below;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
    // Stores the text without its terminator, as a careless writer may.
    void SetUnterminated(const std::wstring& below, const std::wstring& name,
                         const std::wstring& text) const {
        HKEY key = nullptr;
        const std::wstring path = subKey_ + L"\\" + below;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.data()),
                       static_cast<DWORD>(text.size() * sizeof(wchar_t)));
        RegCloseKey(key);
    }

private:
    std::wstring subKey_;
};

// Records everything but reads the real registry, with the action's keys moved under the
// scratch key.
class ScratchRegistrySystem : public CRecordingActionSystem {
public:
    explicit ScratchRegistrySystem(const ScratchKey& scratch) : scratch_(scratch) {}
    std::optional<std::wstring> ReadRegistryString(std::wstring_view keyPath,
                                                   std::wstring_view valueName) override {
        CRecordingActionSystem::ReadRegistryString(keyPath, valueName);
        const std::wstring below = keyPath.starts_with(L"HKEY_CLASSES_ROOT") ? L"Mail" : L"Main";
        return CWin32ActionSystem().ReadRegistryString(scratch_.Path() + L"\\" + below, valueName);
    }

private:
    const ScratchKey& scratch_;
};

TEST(Win32ActionSystem, RegistryReadsNeverCreateKeys) {
    ScratchKey scratch;
    CWin32ActionSystem system;
    EXPECT_EQ(system.ReadRegistryString(scratch.Path() + L"\\Missing", L""), std::nullopt);
    EXPECT_FALSE(scratch.Exists());
    ScratchRegistrySystem actions(scratch);
    CBasicFunction(actions).OpenBrowserHome();
    CBasicFunction(actions).OpenMailClient(true);
    EXPECT_TRUE(actions.NothingDone());
    EXPECT_FALSE(scratch.Exists());
}

TEST(Win32ActionSystem, UnterminatedValuesReadWhole) {
    ScratchKey scratch;
    // A long start page first, then a shorter default value: nothing of the first shows in the
    // second.
    scratch.SetUnterminated(L"Main", L"Start Page", L"http://start.example/a/rather/long/page");
    scratch.SetUnterminated(L"Main", L"", L"http://home.example/");
    scratch.SetUnterminated(L"Mail", L"", LR"("C:\Post\post.exe" "%1")");
    ScratchRegistrySystem actions(scratch);
    CBasicFunction(actions).OpenBrowserHome();
    CBasicFunction(actions).OpenMailClient(true);
    EXPECT_EQ(actions.Shells(), (std::vector<Shell>{{0, L"http://home.example/", SW_SHOWDEFAULT},
                                                    {0, LR"(C:\Post\post.exe)", SW_SHOWDEFAULT}}));
}

TEST(Win32ActionSystem, ShellCallsEnterAnApartmentAndLeaveIt) {
    std::thread reader([] {
        {
            const CWin32ActionSystem::ShellApartment apartment;
            EXPECT_TRUE(apartment.Entered());
            // The thread is in a single-threaded apartment meanwhile.
            const HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            EXPECT_EQ(again, S_FALSE);
            if (SUCCEEDED(again)) {
                CoUninitialize();
            }
        }
        // And left it again: a thread that ends has nothing to undo.
        const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(after, S_OK);
        if (SUCCEEDED(after)) {
            CoUninitialize();
        }
    });
    reader.join();
    std::thread multithreaded([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_TRUE(CWin32ActionSystem::ShellApartment().Entered());
        CoUninitialize();
    });
    multithreaded.join();
}

TEST(Win32ActionSystem, ModuleFileNameIsThisProgram) {
    const std::wstring path = CWin32ActionSystem().ModuleFileName();
    EXPECT_TRUE(path.ends_with(L"\\action_tests.exe")) << testing::PrintToString(path);
}

} // namespace
