#include "shared/codes/MacroFile.h"

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"
#include "shared/store/CIniText.h"
#include "shared/store/DataPaths.h"

#include <algorithm>
#include <span>

namespace {

constexpr wchar_t Section[] = L"Setting";
constexpr wchar_t PathKey[] = L"MacroFilePath";
constexpr wchar_t CountKey[] = L"Count";
constexpr wchar_t LoopTimeKey[] = L"LoopTime";
constexpr wchar_t IsDefaultKey[] = L"IsDef";
// The event block is stored in 180-byte values "MacroSetting_%d"; 60 events fill only the
// first.
constexpr wchar_t EventsKey[] = L"MacroSetting_0";

// A count from a file or a caller never reaches past the event buffer.
int ClampedCount(int count) {
    return std::clamp(count, 0, MaxMacroEvents);
}

// The events as the 180 bytes they are stored as.
std::span<std::uint8_t> EventBytes(MacroEventBuffer& events) {
    return {reinterpret_cast<std::uint8_t*>(events.data()), sizeof(MacroEventBuffer)};
}

std::span<const std::uint8_t> EventBytes(const MacroEventBuffer& events) {
    return {reinterpret_cast<const std::uint8_t*>(events.data()), sizeof(MacroEventBuffer)};
}

} // namespace

MacroFile::MacroFile(std::wstring path) : path_(std::move(path)) {}

std::optional<MacroFile> MacroFile::ForName(std::wstring_view macroFolder, std::wstring_view name) {
    std::optional<std::wstring> path = JoinNamedPath(macroFolder, name, Extension);
    if (!path) {
        return std::nullopt;
    }
    return MacroFile(std::move(*path));
}

bool MacroFile::Write(const MacroEventBuffer& events, int count, int loopTime,
                      std::optional<bool> isDefault) const {
    // One write of the whole file: a reader never sees the new count with the old events.
    return CIniFile(path_).Change([&](CIniText& text) {
        text.Set(Section, PathKey, path_);
        text.Set(Section, CountKey, std::to_wstring(ClampedCount(count)));
        text.Set(Section, LoopTimeKey, std::to_wstring(loopTime));
        if (isDefault) {
            text.Set(Section, IsDefaultKey, *isDefault ? L"1" : L"0");
        }
        text.Set(Section, EventsKey, CIniFile::EncodeStruct(EventBytes(events)));
    });
}

MacroFile::ReadResult MacroFile::ReadEvents(MacroEventBuffer& events, int& count) const {
    events.fill(MacroEvent{});
    count = 0;
    const CIniSection setting(CIniFile(path_), Section);
    if (!setting.Readable()) {
        return ReadResult::Unreadable;
    }
    // Keeping the previous events would let them be saved under this macro's name.
    if (!setting.ReadStruct(EventsKey, EventBytes(events))) {
        return ReadResult::NoEvents;
    }
    count = ClampedCount(setting.ReadInt(CountKey, 0));
    return ReadResult::Read;
}

bool MacroFile::Read(MacroEventBuffer& events, int& count) const {
    return ReadEvents(events, count) == ReadResult::Read;
}

int MacroFile::ReadLoopTime() const {
    return CIniFile(path_).ReadInt(Section, LoopTimeKey, 0);
}

bool MacroFile::WriteLoopTime(int loopTime) const {
    return CIniFile(path_).WriteInt(Section, LoopTimeKey, loopTime);
}
