#include "config/core/WorkingProfile.h"

#include "config/core/PopupMenus.h"
#include "config/core/ServiceWindow.h"
#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniFile.h"
#include "shared/store/IniRecordFields.h"
#include "shared/store/ServiceIni.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/WholeFile.h"

#include <algorithm>

namespace {

constexpr wchar_t kGroup[] = L"GROUP";
constexpr wchar_t kProfileNameKey[] = L"ProfileName";

template <std::size_t N> void SetTextField(std::array<wchar_t, N>& field, std::wstring_view text) {
    field.fill(L'\0');
    text.substr(0, N - 1).copy(field.data(), N - 1);
}

int ParseTyped(std::wstring_view text) {
    return CIniFile::ParseInt(text, 0);
}

// The lighting slot's entry; null for a slot outside 0 to 3.
std::array<std::int32_t, 5>* LightingEntry(SettingsRecord& record, int lightingSlot) {
    if (lightingSlot < 0 || lightingSlot >= static_cast<int>(record.LED_MODE_INFO.size())) {
        return nullptr;
    }
    return &record.LED_MODE_INFO[static_cast<std::size_t>(lightingSlot)];
}

} // namespace

WorkingProfile::WorkingProfile(ConfigPaths paths)
    : paths_(std::move(paths)), records_(std::make_unique<Records>()) {}

bool WorkingProfile::LoadScratch(const std::wstring& file, int profileArg, SettingsIniNeed need) {
    // A change that waits is the user's: it is stored before anything replaces it.
    if (!StoreWaiting()) {
        return false;
    }
    SettingsRecord& scratch = records_->Scratch;
    SettingsRecord_Reset(scratch);
    // Reading never writes: an imported file stays as the user has it.
    if (!file.empty() &&
        SettingsIni_Load(scratch, file, profileArg, need) != SettingsIniRead::Read) {
        return false;
    }
    SettingsRecord_Assign(records_->Working, scratch);
    loaded_ = true;
    return true;
}

bool WorkingProfile::Load(int profileArg) {
    if (!LoadScratch(paths_.SettingsFile(), profileArg, SettingsIniNeed::Anything)) {
        return false;
    }
    records_->Baseline = records_->Working;
    lastSlider_.reset();
    return true;
}

std::optional<StoreResult> WorkingProfile::LoadProfileAsCurrent(const std::wstring& file,
                                                                std::wstring_view name) {
    // A profile that lacks a setting or a button would bring its unset value to the files and
    // the mouse; the automatic switch refuses it too.
    if (!LoadScratch(file, -1, SettingsIniNeed::WholeRecord)) {
        return std::nullopt;
    }
    // Named before the apply, so the service never reads the previous profile's name with it.
    SetTextField(records_->Working.ProfileName, name);
    records_->Baseline = records_->Working;
    lastSlider_.reset();
    return ApplyToDevice(1);
}

StoreResult WorkingProfile::ApplyToDevice(int flag) {
    if (!Writable()) {
        return {};
    }
    SettingsRecord_Compare(records_->Baseline, records_->Working);
    return Commit(WaitingWrite::Whole, Post{kApplyAll, 0, flag == 0 ? 1 : 0}, false);
}

StoreResult WorkingProfile::StoreAndNotify(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Writable()) {
        return {};
    }
    return Commit(WaitingWrite::Whole, Post{message, wParam, lParam}, true);
}

StoreResult WorkingProfile::Store() {
    if (!Writable()) {
        return {};
    }
    return Commit(WaitingWrite::Whole, std::nullopt, true);
}

StoreResult WorkingProfile::Commit(WaitingWrite write, std::optional<Post> post, bool copy) {
    waitingWrite_ = std::max(waitingWrite_, write);
    if (post) {
        // The service handles a repeated message once, in its last place.
        std::erase(waitingPosts_, *post);
        waitingPosts_.push_back(*post);
    }
    waitingCopy_ = waitingCopy_ || copy;
    StoreResult result;
    result.Waiting = !Flush(result);
    if (result.Waiting && waitNotice_) {
        waitNotice_();
    }
    return result;
}

bool WorkingProfile::Waiting() const {
    return waitingWrite_ != WaitingWrite::None || !waitingPosts_.empty() || waitingCopy_;
}

bool WorkingProfile::StoreWaiting() {
    StoreResult ignored;
    return Flush(ignored);
}

bool WorkingProfile::Flush(StoreResult& result) {
    const std::wstring& settings = paths_.SettingsFile();
    if (waitingWrite_ == WaitingWrite::Whole &&
        SettingsIni_WriteAll(records_->Working, settings) == 0) {
        return false;
    }
    if (waitingWrite_ == WaitingWrite::PollingRate &&
        ServiceIni_WritePollingRate(records_->Working.PollingRate, settings) == 0) {
        return false;
    }
    result.Saved = result.Saved || waitingWrite_ != WaitingWrite::None;
    waitingWrite_ = WaitingWrite::None;
    // Posted after the write: the service reads the file when it handles the message.
    for (const Post& post : waitingPosts_) {
        if (post.Message == kPollingRateChanged && ServiceWindow::Find() != nullptr) {
            rateChangePosted_ = true;
        }
        result.Posted = ServiceWindow::Post(post.Message, post.WParam, post.LParam);
    }
    waitingPosts_.clear();
    if (waitingCopy_) {
        // The profile's own file follows "Mouse.ini", or the change is lost at the next switch:
        // the copy waits for the lock like the write.
        const CDataFolderLock lock;
        if (!lock) {
            return false;
        }
        result.Copied = CopyProfileFile();
    }
    waitingCopy_ = false;
    return true;
}

bool WorkingProfile::CopyProfileFile() const {
    if (!nameSource_) {
        return false;
    }
    const std::optional<std::wstring> target = paths_.ProfileFile(nameSource_());
    // The service may be reading the profile file, or writing "Mouse.ini".
    const CDataFolderLock lock;
    return lock && target && CopyWholeFile(paths_.SettingsFile(), *target);
}

std::wstring WorkingProfile::Name() const {
    return std::wstring(FieldText(records_->Working.ProfileName));
}

bool WorkingProfile::SetName(std::wstring_view name) {
    SetTextField(records_->Working.ProfileName, name);
    return paths_.Valid() &&
           CIniFile(paths_.SettingsFile()).WriteString(kGroup, kProfileNameKey, name);
}

StoreResult WorkingProfile::SetLedColor(COLORREF colour) {
    records_->Working.LedColor = static_cast<std::int32_t>(colour);
    return StoreAndNotify(kLightingChanged, 0, 0);
}

StoreResult WorkingProfile::SetSlotColour(int lightingSlot, COLORREF colour) {
    SettingsRecord& working = records_->Working;
    working.LedColor = static_cast<std::int32_t>(colour);
    if (auto* entry = LightingEntry(working, lightingSlot)) {
        (*entry)[0] = 0;
    }
    return StoreAndNotify(kLightingChanged, static_cast<WPARAM>(lightingSlot), 0);
}

ColourEdit WorkingProfile::CommitColourTexts(int lightingSlot, std::wstring_view red,
                                             std::wstring_view green, std::wstring_view blue) {
    ColourEdit edit;
    const std::array<std::wstring_view, 3> texts = {red, green, blue};
    std::array<int, 3> components{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int typed = ParseTyped(texts[i]);
        components[i] = ProfileEdits::ColourComponentInput(typed);
        if (components[i] != typed) {
            edit.Corrected[i] = std::to_wstring(components[i]);
        }
    }
    edit.Colour = RGB(components[0], components[1], components[2]);
    // The profile file is updated too, or the colour is lost at the next profile switch.
    edit.Store = SetSlotColour(lightingSlot, edit.Colour);
    return edit;
}

TextEdit WorkingProfile::StoreWheelLines(int typed, UINT message) {
    TextEdit edit;
    edit.Value = ProfileEdits::WheelLinesInput(typed);
    edit.Text = std::to_wstring(edit.Value);
    edit.TextCorrected = edit.Value != typed;
    records_->Working.WheelScrollLines = edit.Value;
    edit.Store = StoreAndNotify(message, 0, 0);
    return edit;
}

std::optional<StoreResult> WorkingProfile::TypeWheelLines(std::wstring_view text) {
    const int typed = ParseTyped(text);
    if (ProfileEdits::WheelLinesInput(typed) != typed ||
        typed == records_->Working.WheelScrollLines) {
        return std::nullopt;
    }
    return StoreWheelLines(typed, kWheelChanged).Store;
}

TextEdit WorkingProfile::CommitWheelLines(std::wstring_view text) {
    const int lines = ProfileEdits::WheelLinesInput(ParseTyped(text));
    TextEdit edit;
    if (lines != records_->Working.WheelScrollLines) {
        edit = StoreWheelLines(lines, kWheelChanged);
    }
    edit.Value = lines;
    edit.Text = std::to_wstring(lines);
    edit.TextCorrected = text != edit.Text;
    return edit;
}

std::optional<TextEdit> WorkingProfile::CommitDpiStage(std::wstring_view text) {
    const std::optional<int> stage = CurrentDpiStage();
    if (!stage) {
        return std::nullopt;
    }
    const int dpi = ProfileEdits::DpiStageInput(ParseTyped(text));
    TextEdit edit;
    edit.Value = dpi / 100;
    edit.Text = std::to_wstring(dpi);
    edit.TextCorrected = true;
    records_->Working.DPI_INFO[static_cast<std::size_t>(*stage)][1] = edit.Value;
    edit.Store = StoreAndNotify(kStageValueChanged, static_cast<WPARAM>(*stage), 0);
    return edit;
}

void WorkingProfile::ReloadDpiStages() {
    if (paths_.Valid()) {
        ServiceIni_ReadDpiInfo(records_->Working, paths_.SettingsFile());
    }
}

std::optional<StoreResult> WorkingProfile::SetPollingRateFromMenu(int menuId) {
    const std::optional<int> interval = PopupMenus::PollingIntervalOfId(menuId);
    const std::optional<LPARAM> param =
        interval ? ProfileEdits::PollingRateParam(*interval) : std::nullopt;
    if (!param) {
        return std::nullopt;
    }
    records_->Working.PollingRate = *interval;
    if (!paths_.Valid()) {
        return StoreResult{};
    }
    // Only the one key: the other edits wait for their own store.
    return Commit(WaitingWrite::PollingRate, Post{kPollingRateChanged, 0, *param}, true);
}

StoreResult WorkingProfile::SelectDpiStage(int stage) {
    if (!ProfileEdits::IsDpiStage(stage)) {
        return {};
    }
    records_->Working.DPI = stage;
    return StoreAndNotify(kStageOrPointerSpeed, 0, 0);
}

std::optional<int> WorkingProfile::CurrentDpiStage() const {
    const int stage = records_->Working.DPI;
    return ProfileEdits::IsDpiStage(stage) ? std::optional<int>(stage) : std::nullopt;
}

TextEdit WorkingProfile::SetUniversalScroll(bool on, std::wstring_view wheelText) {
    records_->Working.UniversalScrollEnabled = on ? 1 : 0;
    // Kept within 1 to 100 as the box's own commit does.
    return StoreWheelLines(ParseTyped(wheelText), kWheelChanged);
}

TextEdit WorkingProfile::StepWheelLines(int step) {
    TextEdit edit;
    edit.Value = ProfileEdits::StepWheelLines(records_->Working.WheelScrollLines, step);
    edit.Text = std::to_wstring(edit.Value);
    edit.TextCorrected = true;
    records_->Working.WheelScrollLines = edit.Value;
    edit.Store = StoreAndNotify(kWheelChanged, 0, 0);
    return edit;
}

StoreResult WorkingProfile::SetDoubleClick(ProfileEdits::DoubleClickButton button) {
    SettingsRecord& working = records_->Working;
    working.DoubleClickSpeed = ProfileEdits::DoubleClickSpeed(button, working.DoubleClickSpeed);
    return StoreAndNotify(kDoubleClickChanged, 0, 0);
}

SliderResult WorkingProfile::OnSliderChanged(int value, int sliderId, int lightingSlot) {
    SettingsRecord& working = records_->Working;
    std::int32_t* field = nullptr;
    int stored = value;
    UINT message = kLightingChanged;
    WPARAM wParam = static_cast<WPARAM>(lightingSlot);
    LPARAM lParam = 0;
    switch (sliderId) {
    case kDpiSlider: {
        const std::optional<int> stage = CurrentDpiStage();
        if (!stage) {
            return {};
        }
        stored = ProfileEdits::DpiSliderValue(value);
        field = &working.DPI_INFO[static_cast<std::size_t>(*stage)][1];
        message = kStageValueChanged;
        wParam = static_cast<WPARAM>(*stage);
        break;
    }
    case kLightingSpeedSlider:
    case kLightingLevelSlider: {
        auto* entry = LightingEntry(working, lightingSlot);
        if (entry == nullptr) {
            return {};
        }
        field = &(*entry)[sliderId == kLightingSpeedSlider ? 2 : 1];
        break;
    }
    case kPointerSpeedSlider:
        field = &working.Acceleration;
        message = kStageOrPointerSpeed;
        wParam = 255;
        lParam = 255;
        break;
    default:
        return {};
    }
    const bool moves = sliderId == kDpiSlider || sliderId == kLightingSpeedSlider;
    const std::pair<int, int> pair(value, sliderId);
    if (lastSlider_ == pair && *field == stored) {
        SliderResult repeated;
        repeated.MoveSlider = sliderId == kLightingSpeedSlider;
        repeated.Position = value;
        return repeated;
    }
    lastSlider_ = pair;
    *field = stored;
    SliderResult result;
    result.Stored = true;
    result.MoveSlider = moves;
    result.Position = stored;
    result.Store = StoreAndNotify(message, wParam, lParam);
    return result;
}

StoreResult WorkingProfile::ResetLighting(int lightingSlot) {
    SettingsRecord& defaults = records_->Scratch;
    SettingsRecord& working = records_->Working;
    defaults = working;
    SettingsRecord_FillDefaults(defaults, 0);
    working.LedStateOn = defaults.LedStateOn;
    working.LedColor = defaults.LedColor;
    working.LedMode = defaults.LedMode;
    working.LedMode2 = defaults.LedMode2;
    working.LedMode3 = defaults.LedMode3;
    working.LedMode4 = defaults.LedMode4;
    working.LED_MODE_INFO = defaults.LED_MODE_INFO;
    working.MULTIPOS = defaults.MULTIPOS;
    working.SHOWSLIDER = defaults.SHOWSLIDER;
    working.SELSLODER = defaults.SELSLODER;
    working.MULTILED_INFO = defaults.MULTILED_INFO;
    return StoreAndNotify(kLightingChanged, static_cast<WPARAM>(lightingSlot), 0);
}

void WorkingProfile::ResetToDefaults() {
    SettingsRecord_FillDefaults(records_->Working, records_->Working.Profile);
}

LightingFileResult WorkingProfile::ImportLighting(const std::wstring& path, int lightingSlot) {
    SettingsRecord& working = records_->Working;
    const LightingFileResult result = LightingFile::Read(working, path);
    if (result != LightingFileResult::Read) {
        return result;
    }
    SettingsRecord_Assign(working, working);
    if (auto* entry = LightingEntry(working, lightingSlot)) {
        (*entry)[0] = 0;
    }
    StoreAndNotify(kLightingChanged, static_cast<WPARAM>(lightingSlot), 0);
    return result;
}

bool WorkingProfile::ExportLighting(const std::wstring& path) const {
    return LightingFile::Write(records_->Working, path);
}

DeviceEventResult WorkingProfile::ApplyDeviceEvent(WPARAM code, LPARAM value) {
    // Storing a value into a record the file did not fill would replace the user's settings.
    if (!Load(-1)) {
        return DeviceEventResult::Later;
    }
    SettingsRecord& working = records_->Working;
    bool taken = false;
    switch (code) {
    case 8:
        taken = ProfileEdits::ApplyReportedDpiStage(working, value);
        break;
    case 9:
        taken = ProfileEdits::ApplyReportedProfile(working, value);
        break;
    case 10:
        ProfileEdits::ApplyReportedLightingMode(working, value);
        taken = true;
        break;
    default:
        break;
    }
    if (!taken) {
        return DeviceEventResult::Ignored;
    }
    Store();
    return DeviceEventResult::Stored;
}
