#include "shared/store/CDataFolderLock.h"

#include "winlayer/UniqueHandle.h"

#include <algorithm>
#include <utility>

namespace {

// Named as the programs name their single-instance mutexes.
constexpr wchar_t kMutexName[] = L"V212DataFolder_Mutex";

// One handle for the life of the process; every holder waits on it.
HANDLE SharedMutex() {
    static const winlayer::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    return mutex.Get();
}

// Plain values only: the runtime may free a thread's objects before their destructors run at
// the thread's end.
thread_local CDataFolderLock* t_outermost = nullptr;
thread_local DWORD t_waitMs = CDataFolderLock::kWaitMs;

} // namespace

DWORD CDataFolderLock::SetThreadWait(DWORD waitMs) {
    return std::exchange(t_waitMs, waitMs);
}

void CDataFolderLock::Touched(const std::wstring& path) {
    if (t_outermost != nullptr &&
        std::ranges::find(t_outermost->touched_, path) == t_outermost->touched_.end()) {
        t_outermost->touched_.push_back(path);
    }
}

void CDataFolderLock::Forget(const std::wstring& path) {
    // The documented flush: all three names null drops the file's copy.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

CDataFolderLock::CDataFolderLock() : mutex_(SharedMutex()) {
    if (mutex_ == nullptr) {
        return;
    }
    // A thread that holds it already has it at once.
    const DWORD waitMs = t_outermost != nullptr ? INFINITE : t_waitMs;
    // An owner that ended without releasing it leaves it abandoned: the lock is ours then.
    const DWORD wait = WaitForSingleObject(mutex_, waitMs);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (held_ && t_outermost == nullptr) {
        t_outermost = this;
    }
}

CDataFolderLock::~CDataFolderLock() {
    if (!held_) {
        return;
    }
    if (t_outermost == this) {
        for (const std::wstring& path : touched_) {
            Forget(path);
        }
        t_outermost = nullptr;
    }
    ReleaseMutex(mutex_);
}
