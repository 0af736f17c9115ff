// The mail program and the browser start page, read from the registry.

#include "service/CBasicFunction.h"
#include "tests/service/actions/CRecordingActionSystem.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Shell = CRecordingActionSystem::Shell;
using RegistryRead = CRecordingActionSystem::RegistryRead;

const std::wstring kMailKey = L"HKEY_CLASSES_ROOT\\mailto\\shell\\open\\command";
const std::wstring kStartPageKey =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";

TEST(MailProgram, TakesTheQuotedProgramAndDropsTheArguments) {
    struct Case {
        std::wstring Command;
        std::wstring Program;
    };
    const std::vector<Case> cases = {
        {LR"("C:\Program Files\Post\post.exe" /mailurl:"%1")",
         LR"(C:\Program Files\Post\post.exe)"},
        {LR"("C:\Post\post.exe" -compose "%1")", LR"(C:\Post\post.exe)"},
        {LR"("C:\Post\post.exe" %1)", LR"(C:\Post\post.exe)"},
        {LR"("C:\Post\post.exe")", LR"(C:\Post\post.exe)"},
        {LR"("abc")", L"abc"},
        // Not quoted: no program, whether or not the arguments hold quotes.
        {LR"(C:\Post\post.exe %1)", L""},
        {LR"(C:\Post\post.exe "%1")", L""},
        {LR"(post.exe)", L""},
        // Too short, or no closing quote.
        {LR"("a")", L""},
        {LR"("")", L""},
        {L"", L""},
        {LR"("C:\Post\post.exe)", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CBasicFunction::MailProgram(c.Command), c.Program)
            << testing::PrintToString(c.Command);
    }
}

TEST(MailClient, StartsTheRegisteredProgram) {
    CRecordingActionSystem system;
    system.SetRegistryString(kMailKey, L"", LR"("C:\Post\post.exe" /mailurl:"%1")");
    EXPECT_TRUE(CBasicFunction(system).Perform(123));
    EXPECT_EQ(system.RegistryReads(), (std::vector<RegistryRead>{{kMailKey, L""}}));
    EXPECT_EQ(system.Shells(), (std::vector<Shell>{{0, LR"(C:\Post\post.exe)", SW_SHOWDEFAULT}}));
    EXPECT_TRUE(system.Keys().empty());
}

TEST(MailClient, NothingStartsWithoutAProgram) {
    for (const wchar_t* command : {L"", LR"(C:\Post\post.exe "%1")", LR"("")"}) {
        CRecordingActionSystem system;
        system.SetRegistryString(kMailKey, L"", command);
        CBasicFunction(system).OpenMailClient(true);
        EXPECT_TRUE(system.NothingDone()) << testing::PrintToString(std::wstring(command));
    }
    CRecordingActionSystem missing;
    CBasicFunction(missing).OpenMailClient(true);
    EXPECT_TRUE(missing.NothingDone());
}

TEST(BrowserHome, TheDefaultValueWhenSetElseTheStartPage) {
    struct Case {
        std::optional<std::wstring> StartPage;
        std::optional<std::wstring> DefaultValue;
        std::vector<Shell> Opened;
    };
    const std::wstring start = L"http://start.example/a/long/page";
    const std::wstring home = L"http://home.example/";
    const std::vector<Case> cases = {
        {start, std::nullopt, {{0, start, SW_SHOWDEFAULT}}},
        {start, home, {{0, home, SW_SHOWDEFAULT}}},
        {std::nullopt, home, {{0, home, SW_SHOWDEFAULT}}},
        {start, L"", {{0, start, SW_SHOWDEFAULT}}},
        {L"", L"", {}},
        {std::nullopt, std::nullopt, {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        CRecordingActionSystem system;
        if (cases[i].StartPage) {
            system.SetRegistryString(kStartPageKey, L"Start Page", *cases[i].StartPage);
        }
        if (cases[i].DefaultValue) {
            system.SetRegistryString(kStartPageKey, L"", *cases[i].DefaultValue);
        }
        EXPECT_TRUE(CBasicFunction(system).Perform(130));
        EXPECT_EQ(system.Shells(), cases[i].Opened);
        EXPECT_TRUE(system.Keys().empty());
    }
}

} // namespace
