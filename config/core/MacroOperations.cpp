#include "config/core/MacroOperations.h"

#include "config/core/ServiceWindow.h"
#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"

#include <algorithm>
#include <filesystem>

namespace {

// Numbers tried for a copy's name; the file search ends far sooner in practice.
constexpr int kMostCopyNumbers = 100000;

// `name` without its last character and the blanks then left at its end; empty when nothing
// would be left.
std::wstring ShorterName(std::wstring name) {
    if (name.size() >= 2 && IS_LOW_SURROGATE(name.back()) &&
        IS_HIGH_SURROGATE(name[name.size() - 2])) {
        name.pop_back();
    }
    name.pop_back();
    while (!name.empty() && name.back() == L' ') {
        name.pop_back();
    }
    return name;
}

// "<base> copy <n>" with the base cut short until the whole name fits; one character of the base
// stays in any case.
std::wstring CopyName(std::wstring base, int n, const MacroNameFits& fits) {
    const std::wstring suffix = L" copy " + std::to_wstring(n);
    while (fits && !fits(base + suffix)) {
        std::wstring shorter = ShorterName(base);
        if (shorter.empty()) {
            break;
        }
        base = std::move(shorter);
    }
    return base + suffix;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the macro and reads it back: only a file that holds it may replace another.
bool WriteConfirmedFile(const MacroFile& file, const MacroEventBuffer& events, int count,
                        int loopTime) {
    if (!file.Write(events, count, loopTime)) {
        return false;
    }
    MacroEventBuffer readBack{};
    int readCount = 0;
    return file.Read(readBack, readCount) && readCount == count && readBack == events &&
           file.ReadLoopTime() == loopTime;
}

// A macro file as another program or an older export wrote it: the count within 0..60, an
// intact event block and only known kinds among the counted events. Slots behind the count
// are cleared.
bool ReadForeignMacro(const std::wstring& path, MacroEventBuffer& events, int& count) {
    const int storedCount = CIniFile(path).ReadInt(L"Setting", L"Count", -1);
    if (storedCount < 0 || storedCount > MaxMacroEvents) {
        return false;
    }
    if (!MacroFile(path).Read(events, count)) {
        return false;
    }
    for (int i = 0; i < MaxMacroEvents; ++i) {
        const std::uint8_t kind = events[i].EventKind();
        if (i >= count) {
            events[i] = MacroEvent{};
        } else if (kind != MacroEvent::MouseButton && kind != MacroEvent::Key &&
                   kind != MacroEvent::Delay) {
            return false;
        }
    }
    return true;
}

} // namespace

MacroOperations::MacroOperations(std::wstring macroFolder, std::wstring settingsFile,
                                 MacroEventNamer namer)
    : folder_(std::move(macroFolder)), list_(std::move(settingsFile)), editor_(std::move(namer)) {
    list_.Load();
}

std::optional<std::wstring> MacroOperations::ListedSpelling(std::wstring_view name) const {
    return ::ListedSpelling(list_.Names(), name);
}

bool MacroOperations::Announce(MacroSlot slot) {
    // The service ignores slots outside 0..5; -1 says the macro is not listed.
    return ServiceWindow::Post(
        kMacroChanged, static_cast<WPARAM>(static_cast<INT_PTR>(static_cast<int>(slot))), 0);
}

void MacroOperations::LoadMacroEvents(const std::wstring& name) {
    current_ = name;
    MacroEventBuffer events{};
    int count = 0;
    loopCount_ = 0;
    if (const std::optional<MacroFile> file = MacroFile::ForName(folder_, name)) {
        file->Read(events, count);
        loopCount_ = file->ReadLoopTime();
    }
    editor_.Load(events, count);
    loopOn_ = loopCount_ != 0;
}

void MacroOperations::OpenNone() {
    current_.clear();
    editor_.Clear();
    loopCount_ = 0;
    loopOn_ = false;
}

bool MacroOperations::WriteConfirmed(const std::wstring& name) const {
    const std::optional<MacroFile> file = MacroFile::ForName(folder_, name);
    return file && WriteConfirmedFile(*file, editor_.Events(), editor_.Count(), loopCount_);
}

bool MacroOperations::Choose(MacroListPosition position) {
    const std::optional<std::wstring> name = list_.NameAt(position);
    if (!name) {
        return false;
    }
    LoadMacroEvents(*name);
    return true;
}

void MacroOperations::ChooseFirst() {
    if (!Choose(MacroListPosition{0})) {
        OpenNone();
    }
}

void MacroOperations::ReloadEvents() {
    if (current_.empty()) {
        OpenNone();
        return;
    }
    LoadMacroEvents(std::wstring(current_));
}

std::optional<std::wstring> MacroOperations::New(std::wstring_view baseName) {
    if (!CanAdd()) {
        return std::nullopt;
    }
    const std::optional<std::wstring> name = NewMacroName(folder_, baseName);
    if (!name) {
        return std::nullopt;
    }
    const std::optional<MacroFile> file = MacroFile::ForName(folder_, *name);
    const MacroEventBuffer empty{};
    if (!file || !file->Write(empty, 0, 0) || list_.Add(*name) == MacroSlot::None) {
        return std::nullopt;
    }
    LoadMacroEvents(*name);
    return name;
}

MacroRenameResult MacroOperations::Rename(std::wstring_view newName) {
    if (current_.empty()) {
        return MacroRenameResult::NoMacro;
    }
    if (newName.empty() || newName == current_) {
        return MacroRenameResult::Unchanged;
    }
    const std::optional<MacroFile> newFile = MacroFile::ForName(folder_, newName);
    const std::optional<MacroFile> oldFile = MacroFile::ForName(folder_, current_);
    if (!newFile || !oldFile) {
        return MacroRenameResult::Refused;
    }
    // A change of case names the same file: it is renamed in place, never deleted.
    const bool sameFile = SameMacroName(newName, current_);
    if (!sameFile && (ListedSpelling(newName).has_value() || FileExists(newFile->Path()))) {
        return MacroRenameResult::Exists;
    }
    if (sameFile) {
        MoveFileW(oldFile->Path().c_str(), newFile->Path().c_str());
    }
    const std::wstring name(newName);
    if (!WriteConfirmed(name)) {
        if (!sameFile) {
            DeleteFileW(newFile->Path().c_str());
        }
        return MacroRenameResult::WriteFailed;
    }
    list_.Remove(current_);
    list_.Add(name);
    if (!sameFile) {
        DeleteFileW(oldFile->Path().c_str());
    }
    current_ = name;
    return MacroRenameResult::Renamed;
}

std::optional<std::wstring> MacroOperations::Copy(const MacroNameFits& fits) {
    if (current_.empty() || !CanAdd()) {
        return std::nullopt;
    }
    for (int n = 1; n <= kMostCopyNumbers; ++n) {
        std::wstring name = CopyName(current_, n, fits);
        const std::optional<MacroFile> file = MacroFile::ForName(folder_, name);
        if (!file) {
            return std::nullopt;
        }
        if (FileExists(file->Path()) || ListedSpelling(name).has_value()) {
            continue;
        }
        // Written from the current events, so the copy names its own path.
        if (!WriteConfirmed(name)) {
            return std::nullopt;
        }
        const MacroSlot slot = list_.Add(name);
        LoadMacroEvents(name);
        Announce(slot);
        return name;
    }
    return std::nullopt;
}

MacroImportResult
MacroOperations::Import(const std::wstring& sourcePath,
                        const std::function<bool(const std::wstring& title)>& confirmReplace) {
    const std::wstring title = std::filesystem::path(sourcePath).stem().wstring();
    const std::optional<MacroFile> target = MacroFile::ForName(folder_, title);
    if (!target) {
        return MacroImportResult::Refused;
    }
    MacroEventBuffer events{};
    int count = 0;
    if (!ReadForeignMacro(sourcePath, events, count)) {
        return MacroImportResult::NotAMacro;
    }
    const int loopTime = MacroFile(sourcePath).ReadLoopTime();
    const bool listed = ListedSpelling(title).has_value();
    if (!listed && !CanAdd()) {
        return MacroImportResult::Full;
    }
    if ((listed || FileExists(target->Path())) && !(confirmReplace && confirmReplace(title))) {
        return MacroImportResult::Declined;
    }
    if (!WriteConfirmedFile(*target, events, count, loopTime)) {
        return MacroImportResult::WriteFailed;
    }
    const MacroSlot slot = list_.Add(title);
    if (slot == MacroSlot::None) {
        return MacroImportResult::WriteFailed;
    }
    // A title listed in another case keeps the listed spelling.
    LoadMacroEvents(ListedSpelling(title).value_or(title));
    Announce(slot);
    return MacroImportResult::Imported;
}

bool MacroOperations::SaveMacroFile(const std::wstring& path) const {
    return MacroFile(path).Write(editor_.Events(), editor_.Count(), loopCount_);
}

bool MacroOperations::Export(const std::wstring& path) const {
    return !current_.empty() && SaveMacroFile(path);
}

bool MacroOperations::Delete() {
    if (current_.empty()) {
        return false;
    }
    const MacroSlot slot = list_.SlotOf(current_);
    const int position = std::max(0, static_cast<int>(list_.FindMacroName(current_)));
    if (const std::optional<MacroFile> file = MacroFile::ForName(folder_, current_)) {
        DeleteFileW(file->Path().c_str());
    }
    Announce(slot);
    list_.Remove(current_);
    if (list_.Count() == 0) {
        OpenNone();
        return true;
    }
    // The neighbour becomes current before any events are loaded, so nothing of the deleted
    // macro can be saved under its name.
    const int next = std::clamp(position - 1, 0, list_.Count() - 1);
    LoadMacroEvents(*list_.NameAt(MacroListPosition{next}));
    return true;
}

std::optional<bool> MacroOperations::ToggleLoop() {
    const std::optional<MacroFile> file =
        current_.empty() ? std::nullopt : MacroFile::ForName(folder_, current_);
    if (!file) {
        return std::nullopt;
    }
    loopOn_ = !loopOn_;
    loopCount_ = loopOn_ ? 1 : 0;
    file->WriteLoopTime(loopCount_);
    return loopOn_;
}

bool MacroOperations::TypeLoopCount(std::wstring_view boxText) {
    const int typed = CIniFile::ParseInt(boxText, 0);
    const bool number = boxText.find_first_of(L"0123456789") != std::wstring_view::npos;
    if (!number || typed < 0 || typed > kMostLoops || typed == loopCount_) {
        return false;
    }
    loopCount_ = typed;
    return true;
}

std::optional<std::wstring> MacroOperations::SetLoopCount(std::wstring_view boxText) {
    loopCount_ = std::clamp(CIniFile::ParseInt(boxText, 0), 0, kMostLoops);
    std::wstring shown = std::to_wstring(loopCount_);
    if (shown == boxText) {
        return std::nullopt;
    }
    return shown;
}

MacroSaved MacroOperations::SaveAndAnnounce() {
    MacroSaved saved;
    const std::optional<MacroFile> file =
        current_.empty() ? std::nullopt : MacroFile::ForName(folder_, current_);
    if (!file) {
        return saved;
    }
    saved.Written = SaveMacroFile(file->Path());
    if (saved.Written) {
        saved.Slot = list_.SlotOf(current_);
        saved.Posted = Announce(saved.Slot);
    }
    return saved;
}
