#include "shared/store/RegKey.h"
#include "shared/store/ShellAccess.h"

#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kTestKey[] = L"Software\\V212 Store Test";

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    static bool Exists(const std::wstring& subKey) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
};

} // namespace

TEST_F(RegKeyTest, OpenSplitsTheRootNameOff) {
    RegKey key;
    ASSERT_TRUE(key.Open(std::wstring(L"hkey_Current_User\\") + kTestKey, KEY_ALL_ACCESS, true));
    EXPECT_EQ(HKEY_CURRENT_USER, key.Root());
    EXPECT_EQ(kTestKey, key.SubKey());
    EXPECT_TRUE(Exists(kTestKey));

    RegKey other;
    EXPECT_FALSE(other.Open(L"Software\\V212 Store Test\\Nowhere", KEY_READ, false));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, other.Root());
    EXPECT_EQ(L"Software\\V212 Store Test\\Nowhere", other.SubKey());

    EXPECT_TRUE(other.Open(L"HKEY_CURRENT_CONFIG\\Software", KEY_READ, false));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, other.Root());
    EXPECT_EQ(L"Software", other.SubKey());

    EXPECT_FALSE(other.Open(L"HKEY_CURRENT_USER", KEY_READ, false));
    EXPECT_FALSE(other.IsOpen());
    EXPECT_EQ(nullptr, other.Root());
}

TEST_F(RegKeyTest, LookUpsNeverCreateKeys) {
    const std::wstring missing = std::wstring(kTestKey) + L"\\Missing";
    RegKey key;
    EXPECT_FALSE(key.Open(L"HKEY_CURRENT_USER\\" + missing, KEY_READ, false));
    EXPECT_FALSE(Exists(kTestKey));
    EXPECT_FALSE(key.ReadString(L"").has_value());
    std::uint8_t buffer[4];
    DWORD size = 0;
    EXPECT_FALSE(key.ReadValue(L"", buffer, size));

    EXPECT_EQ(ERROR_SUCCESS, OpenOrCreateRegKey(HKEY_CURRENT_USER, missing, key));
    EXPECT_TRUE(key.IsOpen());
    EXPECT_TRUE(Exists(missing));
    key.Close();
    EXPECT_FALSE(key.IsOpen());
}

TEST_F(RegKeyTest, StringsWithoutTerminatorOrLongerThanABufferReadWhole) {
    RegKey key;
    ASSERT_TRUE(key.Open(std::wstring(L"HKEY_CURRENT_USER\\") + kTestKey, KEY_ALL_ACCESS, true));
    const wchar_t raw[] = {L'a', L'b', L'c'};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Handle(), L"Bare", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(raw), sizeof raw));
    EXPECT_EQ(L"abc", key.ReadString(L"Bare"));

    const std::wstring longText(1000, L'x');
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key.Handle(), L"", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(longText.c_str()),
                             static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t))));
    EXPECT_EQ(longText, key.ReadString(L""));

    const DWORD number = 0x01020304;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Handle(), L"Number", 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&number), sizeof number));
    EXPECT_FALSE(key.ReadString(L"Number").has_value());
    std::uint8_t bytes[8] = {};
    DWORD size = 0;
    ASSERT_TRUE(key.ReadValue(L"Number", bytes, size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(4, bytes[0]);
    std::uint8_t small[2] = {};
    EXPECT_FALSE(key.ReadValue(L"Number", small, size));
}

namespace {

// Gives the ".htm" class a program of the test's own while no association exists (as in a
// fresh Wine prefix) and removes the keys again at the end. A machine with an association of
// its own is left alone.
class BrowserTest : public ::testing::Test {
protected:
    static constexpr wchar_t kHtm[] = L".htm";
    static constexpr wchar_t kClass[] = L"V212StoreTest.html";

    void SetUp() override {
        if (ClassesRootHas(kHtm)) {
            GTEST_SKIP() << "the machine has its own .htm association";
        }
        owned_ = true;
    }
    void TearDown() override {
        if (owned_) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, kHtm);
            RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
        }
    }

    static void SetDefault(const std::wstring& subKey, const std::wstring& value) {
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetKeyValueW(HKEY_CLASSES_ROOT, subKey.c_str(), nullptr, REG_SZ, value.c_str(),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
    }

    static bool ClassesRootHas(const std::wstring& subKey) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

private:
    bool owned_ = false;
};

} // namespace

TEST_F(BrowserTest, StartsTheHtmProgramWithTheArgument) {
    TempFolder folder(L"V212 Browser Test");
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::wstring program = folder.File(L"Web Browser.exe");
    ASSERT_TRUE(CopyFileW(self, program.c_str(), FALSE));
    SetDefault(kHtm, kClass);
    SetDefault(std::wstring(kClass) + L"\\shell\\open\\command", L" \"" + program + L"\" \"%1\" ");

    // The started copy runs no test and only writes its report, which shows its argument.
    const std::wstring report = folder.File(L"started.xml");
    ASSERT_EQ(0, OpenHtmlWithDefaultBrowser(L"--gtest_filter=None \"--gtest_output=xml:" + report +
                                            L"\""));
    for (int i = 0; i < 200 && GetFileAttributesW(report.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(50);
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(report.c_str()));
    // The copy can be removed once it has ended.
    for (int i = 0; i < 200 && !DeleteFileW(program.c_str()); ++i) {
        Sleep(50);
    }
}

TEST_F(BrowserTest, UnreadableClassOrCommandFailsWithoutCreatingKeys) {
    EXPECT_EQ(-1, OpenHtmlWithDefaultBrowser(L"x"));
    EXPECT_FALSE(ClassesRootHas(kHtm));

    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CLASSES_ROOT, kHtm, L"Other", REG_SZ, L"", 2));
    EXPECT_EQ(-1, OpenHtmlWithDefaultBrowser(L"x"));

    SetDefault(kHtm, kClass);
    EXPECT_EQ(-1, OpenHtmlWithDefaultBrowser(L"x"));
    EXPECT_FALSE(ClassesRootHas(kClass));
}

TEST(ShellAccess, ProgramIsTheLongestExistingFileBeforeASpace) {
    TempFolder folder(L"V212 Shell Test");
    CreateDirectoryW(folder.File(L"My").c_str(), nullptr);
    const std::wstring program = folder.File(L"My Browser.exe");
    WriteFileBytes(program, "MZ");

    EXPECT_EQ(program, ProgramFromOpenCommand(L"\"" + program + L"\" \"%1\""));
    EXPECT_EQ(program, ProgramFromOpenCommand(L"  " + program + L" -nohome %1  "));
    EXPECT_EQ(program, ProgramFromOpenCommand(L"\t\"" + program + L"\""));
    EXPECT_EQ(L"C:\\No Such\\browser.exe %1",
              ProgramFromOpenCommand(L" \"C:\\No Such\\browser.exe\" %1 "));
    EXPECT_EQ(L"", ProgramFromOpenCommand(L"  \"\"  "));

    EXPECT_EQ(L"\"C:\\Program Files\\b.exe\" http://example.invalid/",
              ProgramCommandLine(L"C:\\Program Files\\b.exe", L"http://example.invalid/"));
}

TEST(ShellAccess, RenamesWithTheShellAndRefusesPathsThatDoNotFit) {
    TempFolder folder(L"V212 Shell Test");
    const std::wstring from = folder.File(L"Old.ini");
    const std::wstring to = folder.File(L"New.ini");
    WriteFileBytes(from, "x");
    const FILEOP_FLAGS quiet = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    EXPECT_EQ(1, CopyFileWithShell(from, to, quiet));
    EXPECT_EQ("x", ReadFileBytes(to));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(from.c_str()));

    EXPECT_EQ(0, CopyFileWithShell(from, folder.File(L"Other.ini"), quiet));
    EXPECT_EQ(0, CopyFileWithShell(L"", to, quiet));

    // The longest path a file may have, one character beyond what the operation takes.
    const std::wstring longest =
        folder.File(std::wstring(MAX_PATH - 1 - folder.Path().size(), L'n'));
    ASSERT_EQ(kMaxShellPath + 1, longest.size());
    WriteFileBytes(longest, "y");
    ASSERT_EQ("y", ReadFileBytes(longest));
    EXPECT_EQ(0, CopyFileWithShell(longest, folder.File(L"Short.ini"), quiet));
    EXPECT_EQ(0, CopyFileWithShell(to, longest + L"x", quiet));
    EXPECT_EQ("y", ReadFileBytes(longest));
    EXPECT_EQ("x", ReadFileBytes(to));

    const std::wstring fits = longest.substr(0, longest.size() - 1);
    EXPECT_EQ(1, CopyFileWithShell(to, fits, quiet));
    EXPECT_EQ("x", ReadFileBytes(fits));
}
