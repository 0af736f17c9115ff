#include "config/controls/CBitmapBtn.h"
#include "config/controls/CBmpMenuChoice.h"
#include "config/controls/CMirelMacroDisplay.h"
#include "config/dialogs/DPIShift/CDPIShift.h"
#include "config/dialogs/EditDelay/CEditDelay.h"
#include "config/dialogs/KeyEx/CKeyExDlg.h"
#include "config/dialogs/RenameProfile/CRenameProfileDlg.h"
#include "config/dialogs/SingleKey/CSingleKey.h"
#include "config/dialogs/XShoot/CXShoot.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <tuple>

namespace {
using Step = ModalSteps::Step;

constexpr RECT kKeyOk{170, 348, 293, 376};
constexpr RECT kKeyClose{296, 12, 319, 33};
constexpr RECT kKeyShown{36, 189, 294, 328};
constexpr RECT kShiftOk{166, 253, 269, 273};
constexpr RECT kShiftCancel{271, 253, 374, 273};
constexpr RECT kShiftValue{35, 132, 145, 149};
constexpr RECT kXOk{41, 335, 165, 365};
constexpr RECT kXCancel{176, 335, 300, 365};
constexpr RECT kXChoice{267, 97, 303, 125};
constexpr RECT kXKey{44, 98, 265, 123};
constexpr RECT kXFirst{44, 175, 301, 200};
constexpr RECT kXSecond{44, 252, 301, 277};
constexpr RECT kRenameCancel{271, 253, 374, 273};
constexpr RECT kRenameClose{363, 11, 387, 35};

void WriteSkin(const wchar_t* ini, const wchar_t* picture, int width, int height) {
    const std::wstring path = SkinFile(ini);
    SaveSolidPng(SkinFile(picture), width, height, RGB(30, 40, 50));
    SaveSolidPng(SkinFile(std::wstring(L"over_") + picture), width, height, RGB(60, 70, 80));
    WritePrivateProfileStringW(L"Screen", L"Main", picture, path.c_str());
    WritePrivateProfileStringW(L"Screen", L"Over", (std::wstring(L"over_") + picture).c_str(),
                               path.c_str());
    WritePrivateProfileStringW(L"BUTTONPOS", L"1", L"OK", path.c_str());
}

// The test skin; without it every picture is missing.
void MakeTestSkin(bool withPictures) {
    MakeSkinFolder();
    if (!withPictures) {
        return;
    }
    WriteSkin(L"skin_singlekey.ini", L"key.png", 400, 390);
    WriteSkin(L"skin_shift.ini", L"shift.png", 380, 280);
    WriteSkin(L"skin_Xshoot.ini", L"xshoot.png", 330, 370);
    SaveSolidPng(SkinFile(L"1menu_normal.png"), 144, 96, RGB(90, 90, 90));
    SaveSolidPng(SkinFile(L"Menu2_n.png"), 145, 80, RGB(90, 90, 90));
}

HWND Button(const winlayer::Dialog& dialog, const RECT& rect) {
    return ChildAt(dialog.Hwnd(), rect, L"Button");
}

HWND Edit(const winlayer::Dialog& dialog, const RECT& rect) {
    return ChildAt(dialog.Hwnd(), rect, L"Edit");
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}

std::wstring CaptionOf(HWND button) {
    const auto* control = dynamic_cast<CBitmapBtn*>(winlayer::Window::FromHandle(button));
    return control != nullptr ? control->GetCaption() : L"?";
}

void PostKeyMessage(HWND window, UINT message, WPARAM key, UINT flags) {
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    PostMessageW(window, message, key,
                 static_cast<LPARAM>(1u | (flags << 16) | (up ? 0xC0000000u : 0u)));
}

Step Click(const winlayer::Dialog& dialog, RECT rect) {
    return [&dialog, rect] { PostClick(Button(dialog, rect)); };
}

Step Keys(const winlayer::Dialog& dialog, std::vector<std::pair<WPARAM, UINT>> keys) {
    return [&dialog, keys] {
        for (const auto& [key, flags] : keys) {
            PostKeyMessage(dialog.Hwnd(), WM_KEYDOWN, key, flags);
            PostKeyMessage(dialog.Hwnd(), WM_KEYUP, key, flags);
        }
    };
}

Step Type(const winlayer::Dialog& dialog, RECT edit, const wchar_t* text) {
    return [&dialog, edit, text] { SetWindowTextW(Edit(dialog, edit), text); };
}

// Types into the field key by key, as the keyboard does, over all it holds.
Step TypeKeys(const winlayer::Dialog& dialog, RECT edit, const wchar_t* text) {
    return [&dialog, edit, text] {
        const HWND field = Edit(dialog, edit);
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        for (const wchar_t* c = text; *c != 0; ++c) {
            SendMessageW(field, WM_CHAR, *c, 1);
        }
    };
}

// Posts the drop-down's choice of the entry with this value.
Step Choose(const winlayer::Dialog& dialog, int value) {
    return [&dialog, value] {
        PostMessageW(dialog.Hwnd(), CBmpMenuChoice::kMenuChoice, 0, MAKELPARAM(0, value));
    };
}

// A single-key dialog whose key capture is recorded instead of hooking the keyboard.
class RecordedCaptureSingleKey : public CSingleKey {
public:
    using CSingleKey::CSingleKey;
    std::vector<std::string> calls;

protected:
    void StartKeyCapture() override { calls.emplace_back("start"); }
    void StopKeyCapture() override { calls.emplace_back("stop"); }
};

// A dialog to open on button 0 of record.
template <class T> std::unique_ptr<winlayer::Dialog> Make(SettingsRecord& record) {
    auto dialog = std::make_unique<T>(nullptr);
    if constexpr (requires { dialog->SetTarget(record, 0); }) {
        dialog->SetTarget(record, 0);
    }
    return dialog;
}

class SkinnedDialogRuns : public ::testing::Test {
protected:
    void SetUp() override { MakeTestSkin(true); }
};

} // namespace

TEST_F(SkinnedDialogRuns, OpenAtTheirPictureOrTemplateSize) {
    struct Case {
        const char* name;
        std::unique_ptr<winlayer::Dialog> (*make)(SettingsRecord&);
        SIZE picture;
        RECT close;
    };
    const std::vector<Case> cases = {
        {"key assignment", &Make<CKeyExDlg>, {400, 390}, kKeyClose},
        {"single key", &Make<RecordedCaptureSingleKey>, {400, 390}, kKeyClose},
        {"DPI shift", &Make<CDPIShift>, {380, 280}, kShiftCancel},
        {"XSHOOT", &Make<CXShoot>, {330, 370}, kXCancel},
        {"delay", &Make<CEditDelay>, {400, 390}, kKeyClose},
        {"rename", &Make<CRenameProfileDlg>, {400, 390}, kRenameClose},
    };
    for (bool withPictures : {true, false}) {
        MakeTestSkin(withPictures);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(withPictures ? "with pictures" : "without pictures");
            SettingsRecord record{};
            const auto dialog = c.make(record);
            RECT client{};
            RECT template_{0, 0, 200, 150};
            ModalSteps steps(*dialog, {[&] {
                                           GetClientRect(dialog->Hwnd(), &client);
                                           MapDialogRect(dialog->Hwnd(), &template_);
                                       },
                                       Click(*dialog, c.close)});
            EXPECT_EQ(IDCANCEL, steps.Run());
            const SIZE expected =
                withPictures ? c.picture : SIZE{template_.right, template_.bottom};
            EXPECT_EQ(expected.cx, client.right);
            EXPECT_EQ(expected.cy, client.bottom);
        }
    }
}

TEST_F(SkinnedDialogRuns, KeyAssignmentStoresTheLastKeyPressed) {
    // Function code, first and second parameter byte, first two bytes of the key data.
    using Bytes = std::array<std::uint8_t, 5>;
    struct Case {
        const char* name;
        int buttonIndex;
        Bytes opening;
        std::vector<std::pair<WPARAM, UINT>> keys;
        RECT finish;
        std::wstring shown;
        INT_PTR result;
        Bytes stored;
    };
    const Bytes keyA{5, 0, 1, 0x80, 0x04};
    const Bytes leftClick{1, 0, 0, 0, 0};
    // clang-format off
    const std::vector<Case> cases = {
        {"right Ctrl replaces A", 2, leftClick, {{'A', 0x1E}, {VK_CONTROL, 0x1D | KF_EXTENDED}},
         kKeyOk, L"RCtrl ", IDOK, {5, 1, 1, 0x80, 0xE4}},
        {"Enter, Escape and Space record nothing and close nothing", 2, keyA,
         {{VK_RETURN, 0x1C}, {VK_ESCAPE, 0x01}, {VK_SPACE, 0x39}}, kKeyOk, L"a ", IDOK,
         {5, 1, 1, 0x80, 0x04}},
        {"OK without a key turns the button off", 2, leftClick, {}, kKeyOk, L"", IDOK,
         {7, 1, 0, 0, 0}},
        {"close leaves the entry", 2, keyA, {{'B', 0x30}}, kKeyClose, L"b ", IDCANCEL, keyA},
        {"a button index outside 0 to 7 is refused", 8, keyA, {}, kKeyClose, L"?", IDCANCEL,
         keyA},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record{};
        ButtonAssignment& entry = record.ButtonAssigned[2];
        entry.ButtonNumber = 3;
        std::tie(entry.FunctionCode, entry.Param1, entry.Param2, entry.Data[0], entry.Data[1]) =
            std::tuple_cat(c.opening);
        const SettingsRecord before = record;
        CKeyExDlg dialog(nullptr);
        EXPECT_EQ(c.buttonIndex <= 7, dialog.SetTarget(record, c.buttonIndex));
        std::wstring shown = L"?";
        ModalSteps steps(
            dialog, {Keys(dialog, c.keys),
                     [&] {
                         const auto* display =
                             dynamic_cast<CMirelMacroDisplay*>(winlayer::Window::FromHandle(ChildAt(
                                 dialog.Hwnd(), kKeyShown, winlayer::Window::DefaultClass())));
                         shown = display != nullptr ? display->GetText() : L"?";
                     },
                     Click(dialog, c.finish)});
        EXPECT_EQ(c.result, steps.Run());
        EXPECT_EQ(c.shown, shown);
        EXPECT_EQ(c.stored, (Bytes{entry.FunctionCode, entry.Param1, entry.Param2, entry.Data[0],
                                   entry.Data[1]}));
        record.ButtonAssigned[2] = before.ButtonAssigned[2];
        EXPECT_EQ(0, std::memcmp(&before, &record, sizeof(record))) << "only the entry's key";
    }
}

TEST_F(SkinnedDialogRuns, SingleKeyHandsBackTheKeysFromTheHook) {
    using Buffer = SingleKeyCombination::EventBuffer;
    const Buffer ctrlA{0x80, 0xE0, 0x80, 0x04, 0x00, 0x04, 0x00, 0xE0};
    struct Case {
        const char* name;
        std::vector<std::pair<WPARAM, LPARAM>> reports;
        RECT finish;
        INT_PTR result;
        std::wstring shown;
        std::uint8_t mainKey;
        int keyCount;
        Buffer events;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"Ctrl + A released", {{162, 0}, {'A', 0}, {'A', 0x80}, {162, 0x80}}, kKeyOk, IDOK,
         L"LCtrl + a", 255, 2, ctrlA},
        {"OK without a key cancels", {}, kKeyOk, IDCANCEL, L"A", 0x04, 1, Buffer{}},
        {"close", {{'B', 0}}, kKeyClose, IDCANCEL, L"b", 0x05, 1, Buffer{}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedCaptureSingleKey dialog(nullptr);
        dialog.SetKeys(0x04, Buffer{}, 1);
        std::wstring shown;
        ModalSteps steps(dialog, {[&] {
                                      for (const auto& [key, flags] : c.reports) {
                                          PostMessageW(dialog.Hwnd(), HookLibrary::kKeyReport, key,
                                                       flags);
                                      }
                                      // Enter and Escape reach it too: they close nothing.
                                      PostKeyMessage(dialog.Hwnd(), WM_KEYDOWN, VK_RETURN, 0x1C);
                                      PostKeyMessage(dialog.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x01);
                                  },
                                  [&] { shown = CaptionOf(Button(dialog, kKeyShown)); },
                                  Click(dialog, c.finish)});
        EXPECT_EQ(c.result, steps.Run());
        EXPECT_EQ(c.shown, shown);
        EXPECT_EQ((std::vector<std::string>{"start", "stop"}), dialog.calls);
        EXPECT_EQ(c.mainKey, dialog.MainKeyUsage());
        EXPECT_EQ(c.keyCount, dialog.KeyCount());
        EXPECT_EQ(c.events, dialog.Events());
    }
}

TEST_F(SkinnedDialogRuns, DpiShiftReturnsTheChosenValue) {
    struct Case {
        const char* name;
        int preset;
        std::vector<LPARAM> choices;
        RECT finish;
        INT_PTR result;
        int choice;
        std::wstring caption;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"750 chosen, then a value the menu does not offer", 1,
         {MAKELPARAM(0, 3), MAKELPARAM(0, 5)}, kShiftOk, IDOK, 3, L"750"},
        {"confirmed without a choice", 0, {}, kShiftOk, IDOK, 1, L"250"},
        {"cancelled with the drop-down open", 2, {}, kShiftCancel, IDCANCEL, 2, L"500"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDPIShift dialog(nullptr);
        dialog.SetChoice(c.preset);
        HWND menu = nullptr;
        HWND menuAfterChoice = nullptr;
        std::wstring caption;
        ModalSteps steps(dialog, {Click(dialog, kShiftValue),
                                  [&] {
                                      menu = OpenBoxOf(dialog.Hwnd());
                                      for (LPARAM choice : c.choices) {
                                          PostMessageW(dialog.Hwnd(), CDPIShift::kChoiceMessage, 0,
                                                       choice);
                                      }
                                  },
                                  [&] {
                                      menuAfterChoice = OpenBoxOf(dialog.Hwnd());
                                      caption = CaptionOf(Button(dialog, kShiftValue));
                                  },
                                  Click(dialog, c.finish)});
        EXPECT_EQ(c.result, steps.Run());
        EXPECT_NE(nullptr, menu) << "the value button opens the drop-down";
        EXPECT_EQ(!c.choices.empty(), menuAfterChoice == nullptr) << "a choice closes it";
        EXPECT_FALSE(IsWindow(menu)) << "the drop-down goes with the dialog";
        EXPECT_EQ(c.choice, dialog.Choice());
        EXPECT_EQ(c.caption, caption);
    }

    CDPIShift dialog(nullptr);
    HWND reopened = reinterpret_cast<HWND>(1);
    ModalSteps steps(dialog,
                     {Click(dialog, kShiftValue), Click(dialog, kShiftValue),
                      [&] { reopened = OpenBoxOf(dialog.Hwnd()); }, Click(dialog, kShiftCancel)});
    EXPECT_EQ(IDCANCEL, steps.Run());
    EXPECT_EQ(nullptr, reopened) << "a second click closes the drop-down";
}

TEST_F(SkinnedDialogRuns, XShootWritesTheEntryOnlyOnOk) {
    ButtonAssignment xshoot{};
    xshoot.FunctionCode = 9;
    xshoot.Param1 = 10;
    xshoot.Param2 = 20;
    xshoot.Data[1] = 0x82;
    xshoot.Data[7] = 0x33;
    struct Case {
        const char* name;
        int buttonIndex;
        std::vector<Step> changes;
        RECT finish;
        INT_PTR result;
        // Key field text and state after opening.
        std::wstring keyText;
        bool keyEnabled;
        std::array<std::uint8_t, 4> written;
        // Key field text before the finish; null: not looked at.
        const wchar_t* keyTextAtEnd = nullptr;
    };
    CXShoot dialog(nullptr);
    // clang-format off
    const std::vector<Case> cases = {
        {"values clamped at OK, then a keyboard key", 1,
         {Type(dialog, kXFirst, L"300"), Type(dialog, kXSecond, L""), Choose(dialog, 4),
          Type(dialog, kXKey, L"a")},
         kXOk, IDOK, L"Right", false, {9, 255, 1, 0x04}},
        {"emptied and typed again: what is typed stays", 1,
         {TypeKeys(dialog, kXFirst, L"\b7")}, kXOk, IDOK, L"Right", false, {9, 7, 20, 0x82}},
        {"the left button chosen, then an entry the menu does not have", 1,
         {Choose(dialog, 1), Choose(dialog, 9)}, kXOk, IDOK, L"Right", false, {9, 10, 20, 0x81}},
        {"cancel after changes, the drop-down open", 1,
         {Type(dialog, kXFirst, L"7"), Click(dialog, kXChoice)}, kXCancel, IDCANCEL, L"Right",
         false, {9, 10, 20, 0x82}},
        {"a button index outside 0 to 7 is refused", -1, {}, kXCancel, IDCANCEL, L"", false,
         {9, 10, 20, 0x82}},
        {"a typed key reads as the macro rows name it", 1,
         {Choose(dialog, 4), TypeKeys(dialog, kXKey, L"b")}, kXOk, IDOK, L"Right", false,
         {9, 10, 20, 0x05}, L"B"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record{};
        record.ButtonAssigned[1] = xshoot;
        EXPECT_EQ(c.buttonIndex >= 0, dialog.SetTarget(record, c.buttonIndex));
        std::wstring keyText;
        std::wstring firstText;
        bool keyEnabled = false;
        std::wstring keyTextAtEnd;
        HWND menu = nullptr;
        std::vector<Step> all = {[&] {
            keyText = TextOf(Edit(dialog, kXKey));
            firstText = TextOf(Edit(dialog, kXFirst));
            keyEnabled = IsWindowEnabled(Edit(dialog, kXKey)) != FALSE;
        }};
        all.insert(all.end(), c.changes.begin(), c.changes.end());
        all.push_back([&] {
            menu = OpenBoxOf(dialog.Hwnd());
            keyTextAtEnd = TextOf(Edit(dialog, kXKey));
        });
        all.push_back(Click(dialog, c.finish));
        ModalSteps steps(dialog, all);
        EXPECT_EQ(c.result, steps.Run());
        EXPECT_EQ(c.keyText, keyText);
        if (c.keyTextAtEnd != nullptr) {
            EXPECT_EQ(c.keyTextAtEnd, keyTextAtEnd);
        }
        EXPECT_EQ(c.buttonIndex >= 0 ? L"10" : L"", firstText) << "the stored value shown";
        EXPECT_EQ(c.keyEnabled, keyEnabled);
        const ButtonAssignment& entry = record.ButtonAssigned[1];
        EXPECT_EQ(c.written, (std::array<std::uint8_t, 4>{entry.FunctionCode, entry.Param1,
                                                          entry.Param2, entry.Data[1]}));
        if (c.result == IDCANCEL) {
            EXPECT_EQ(0, std::memcmp(&xshoot, &entry, sizeof(entry))) << "byte for byte";
        } else {
            EXPECT_EQ(0, entry.Data[7]) << "the rest of the key data is cleared";
        }
        EXPECT_FALSE(menu != nullptr && IsWindow(menu)) << "the drop-down goes with the dialog";
    }
}

TEST_F(SkinnedDialogRuns, DelayAndNameComeBackOnlyOnOk) {
    struct Case {
        const char* name;
        bool rename;
        std::vector<const wchar_t*> typed;
        bool ok;
        // What the field shows after each text typed.
        std::vector<std::wstring> shown;
        std::wstring returned;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"delay emptied, then too long: left as typed, held in range at OK", false,
         {L"", L"999999"}, true, {L"", L"999999"}, L"131070"},
        {"delay closed", false, {L"25"}, false, {L"25"}, L"500"},
        {"name changed", true, {L"Beta"}, true, {L"Beta"}, L"Beta"},
        {"name cancelled", true, {L"Beta"}, false, {L"Beta"}, L"Alpha"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CEditDelay delay(nullptr);
        CRenameProfileDlg rename(nullptr);
        delay.SetDelay(500);
        rename.SetName(L"Alpha");
        winlayer::Dialog& dialog = c.rename ? static_cast<winlayer::Dialog&>(rename) : delay;
        const auto field = [&] {
            return ChildAt(dialog.Hwnd(), c.rename ? RECT{69, 126, 177, 145} : kKeyShown, L"Edit");
        };
        std::wstring opened;
        LRESULT limit = 0;
        std::vector<std::wstring> shown;
        std::vector<Step> all = {[&] {
            opened = TextOf(field());
            limit = SendMessageW(field(), EM_GETLIMITTEXT, 0, 0);
            PostKeyMessage(field(), WM_KEYDOWN, VK_RETURN, 0x1C);
            PostKeyMessage(field(), WM_KEYDOWN, VK_ESCAPE, 0x01);
        }};
        for (const wchar_t* text : c.typed) {
            all.push_back([&, text] {
                SetWindowTextW(field(), text);
                shown.push_back(TextOf(field()));
            });
        }
        all.push_back(Click(dialog, c.ok ? (c.rename ? RECT{166, 253, 269, 273} : kKeyOk)
                                         : (c.rename ? kRenameCancel : kKeyClose)));
        ModalSteps steps(dialog, all);
        EXPECT_EQ(c.ok ? IDOK : IDCANCEL, steps.Run());
        EXPECT_EQ(c.rename ? L"Alpha" : L"500", opened);
        EXPECT_EQ(c.rename ? 519 : 6, limit);
        EXPECT_EQ(c.shown, shown);
        EXPECT_EQ(c.returned, c.rename ? rename.Name() : std::to_wstring(delay.Delay()));
    }
}
