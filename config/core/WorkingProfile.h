#pragma once

#include "config/core/ConfigPaths.h"
#include "config/core/LightingFile.h"
#include "config/core/ProfileEdits.h"
#include "shared/store/SettingsIni.h"
#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What one store did. A post is made only when the service window exists.
struct StoreResult {
    bool Saved = false;   // "Mouse.ini" written
    bool Posted = false;  // the message reached the service window's queue
    bool Copied = false;  // "Mouse.ini" copied onto the current profile's file
    bool Waiting = false; // the file could not be written now: StoreWaiting does it later
};

// What a service event did to the working profile.
enum class DeviceEventResult {
    Stored,  // the value was taken and stored
    Ignored, // another code, or a value out of range
    Later,   // "Mouse.ini" cannot be read now, or a change of ours waits to be stored first
};

// An edit whose box may have to show a corrected text.
struct TextEdit {
    int Value = 0;              // what was stored (for a DPI stage: the slider position)
    std::wstring Text;          // what the box shows now
    bool TextCorrected = false; // the box must be given Text
    StoreResult Store;
};

// The three colour boxes after a typed value was taken.
struct ColourEdit {
    COLORREF Colour = 0;
    // The boxes (red, green, blue) whose typed value was out of range, with their new text.
    std::array<std::optional<std::wstring>, 3> Corrected;
    StoreResult Store;
};

struct SliderResult {
    bool Stored = false;     // the value went into the record and was stored
    bool MoveSlider = false; // the slider must be moved to Position
    int Position = 0;
    StoreResult Store;
};

// The profile the main dialog edits: the scratch record a file is loaded into, the working record
// every control writes, and the baseline of the last load or apply (7136 bytes each, kept off the
// dialog's stack). Every change ends in the one store: write "Mouse.ini", post the change's
// message to the service window when it exists, copy "Mouse.ini" onto the current profile's file.
// With invalid paths (no data folder) nothing is written or posted. A store that cannot happen
// now (another program holds the lock or the file) keeps the change in the working record,
// posts nothing and copies nothing; StoreWaiting does all of it, in order, once the file is free,
// and no load replaces the working record meanwhile.
class WorkingProfile {
public:
    // Messages to the service window "V212Hid".
    static constexpr UINT kLightingChanged = 0x4CB;
    static constexpr UINT kPollingRateChanged = 0x4FD;
    static constexpr UINT kApplyAll = 0x4FF;
    static constexpr UINT kWheelChanged = 0x50F;
    static constexpr UINT kDoubleClickChanged = 0x510;
    static constexpr UINT kStageOrPointerSpeed = 0x511;
    static constexpr UINT kStageValueChanged = 0x516;

    // Sliders that report 0x446 (value, id).
    static constexpr int kDpiSlider = 10001;
    static constexpr int kLightingSpeedSlider = 10008; // third value of the slot's lighting entry
    static constexpr int kLightingLevelSlider = 10009; // second value
    static constexpr int kPointerSpeedSlider = 10010;

    explicit WorkingProfile(ConfigPaths paths);

    const ConfigPaths& Paths() const { return paths_; }
    // The current profile's name as shown (the profile-name button): its file is the one every
    // store copies onto.
    void SetNameSource(std::function<std::wstring()> source) { nameSource_ = std::move(source); }
    // That name; empty without a source.
    std::wstring ShownName() const { return nameSource_ ? nameSource_() : std::wstring(); }

    SettingsRecord& Working() { return records_->Working; }
    const SettingsRecord& Working() const { return records_->Working; }
    const SettingsRecord& Baseline() const { return records_->Baseline; }

    // LoadWorkingProfile: "Mouse.ini" read with profileArg into the reset scratch record,
    // assigned (clamped) to the working record, copied to the baseline. False, with the records
    // as they were, when the file could not be read or a change waits that cannot be stored.
    bool Load(int profileArg);
    // Until a load succeeded the records hold nothing of the user's: no store writes them.
    bool Loaded() const { return loaded_; }
    // A profile file (or an imported one) becomes current under `name`: loaded as above and
    // applied with flag 1. Nothing, with nothing changed, when the file could not be read or
    // lacks a setting or button of the record.
    std::optional<StoreResult> LoadProfileAsCurrent(const std::wstring& file,
                                                    std::wstring_view name);
    // The baseline takes the working record's changes; "Mouse.ini" is written; 0x4FF is posted
    // with lParam 1 for flag 0, else 0. No copy onto the profile file.
    StoreResult ApplyToDevice(int flag);
    StoreResult StoreAndNotify(UINT message, WPARAM wParam, LPARAM lParam);
    // The store without a message (the service told us; it needs no answer).
    StoreResult Store();
    // Whether a store waits for the file.
    bool Waiting() const;
    // Stores, posts and copies what waits; true when nothing waits any more.
    bool StoreWaiting();
    // Called whenever a store starts to wait, so that the owner tries StoreWaiting later.
    void SetWaitNotice(std::function<void()> notice) { waitNotice_ = std::move(notice); }
    bool CopyProfileFile() const;

    // The working record's profile name.
    std::wstring Name() const;
    // Sets the working record's name and "ProfileName" of "Mouse.ini".
    bool SetName(std::wstring_view name);

    // 0x518: a colour chosen in the colour selector.
    StoreResult SetLedColor(COLORREF colour);
    // A preset colour or the colour boxes: the slot's colour, its mode value cleared.
    StoreResult SetSlotColour(int lightingSlot, COLORREF colour);
    // 0x1402 from the three colour boxes: each typed value kept within 0 to 255.
    ColourEdit CommitColourTexts(int lightingSlot, std::wstring_view red, std::wstring_view green,
                                 std::wstring_view blue);
    // 0x1404: wheel lines as they are typed. Lines within 1 to 100 are stored at once when the
    // record holds others; any other text waits, as typed, for the commit.
    std::optional<StoreResult> TypeWheelLines(std::wstring_view text);
    // The end of the typing (Enter, leaving the box, a click elsewhere): the typed lines kept
    // within 1 to 100, stored when the record holds others; Text is what the box must show.
    TextEdit CommitWheelLines(std::wstring_view text);
    // 0x1403 (and a pending edit committed before a command): the typed DPI of the current
    // stage. Nothing when the record names no stage 0 to 3.
    std::optional<TextEdit> CommitDpiStage(std::wstring_view text);
    // 0x4C8: the four DPI stages read again from "Mouse.ini".
    void ReloadDpiStages();
    // A polling-rate menu choice (40024 to 40027); nothing for another id.
    std::optional<StoreResult> SetPollingRateFromMenu(int menuId);
    // Set once a polling-rate change has been posted.
    bool RateChangePosted() const { return rateChangePosted_; }
    // The active DPI stage buttons; a stage outside 0 to 3 changes nothing.
    StoreResult SelectDpiStage(int stage);
    std::optional<int> CurrentDpiStage() const;
    // The two universal-scroll buttons, with the wheel-lines box's text.
    TextEdit SetUniversalScroll(bool on, std::wstring_view wheelText);
    // Wheel lines up (+1) or down (-1).
    TextEdit StepWheelLines(int step);
    StoreResult SetDoubleClick(ProfileEdits::DoubleClickButton button);
    // 0x446. A value repeated for the same slider stores nothing (the DPI slider's and the
    // lighting speed slider's position is still given back to be shown) unless the record no
    // longer holds it, as after a stage switch or a load.
    SliderResult OnSliderChanged(int value, int sliderId, int lightingSlot);
    // Every lighting value back to its default.
    StoreResult ResetLighting(int lightingSlot);
    // The current profile of the working record back to its defaults (memory only).
    void ResetToDefaults();

    // A lighting file into the working record: only a whole, in-range file changes it; then the
    // slot's mode value is cleared and the change stored with 0x4CB.
    LightingFileResult ImportLighting(const std::wstring& path, int lightingSlot);
    bool ExportLighting(const std::wstring& path) const;

    // 0x505 from the service: the working profile is loaded again, then codes 8 (DPI stage),
    // 9 (profile) and 10 (lighting mode) take the value and store it. False when nothing was
    // stored (another code, a value out of range); Later when the file cannot be read now or a
    // change of ours waits: the event is to be applied again after StoreWaiting.
    DeviceEventResult ApplyDeviceEvent(WPARAM code, LPARAM value);

private:
    struct Records {
        SettingsRecord Scratch;
        SettingsRecord Working;
        SettingsRecord Baseline;
    };

    // What waits to be written: nothing, the polling rate alone, or the whole record.
    enum class WaitingWrite { None, PollingRate, Whole };
    struct Post {
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        bool operator==(const Post&) const = default;
    };

    // Adds a store to what waits and tries all of it now.
    StoreResult Commit(WaitingWrite write, std::optional<Post> post, bool copy);
    // Writes, posts and copies what waits, noting each step done in result; false when a write
    // or the copy could not be made (what remains keeps waiting).
    bool Flush(StoreResult& result);
    bool LoadScratch(const std::wstring& file, int profileArg, SettingsIniNeed need);
    // The whole record goes to the files only once a load has filled it.
    bool Writable() const { return paths_.Valid() && loaded_; }
    TextEdit StoreWheelLines(int typed, UINT message);

    ConfigPaths paths_;
    std::unique_ptr<Records> records_;
    std::function<std::wstring()> nameSource_;
    bool loaded_ = false;
    bool rateChangePosted_ = false;
    std::optional<std::pair<int, int>> lastSlider_;
    WaitingWrite waitingWrite_ = WaitingWrite::None;
    std::vector<Post> waitingPosts_;
    bool waitingCopy_ = false;
    std::function<void()> waitNotice_;
};
