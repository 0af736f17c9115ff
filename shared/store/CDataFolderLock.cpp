#include "shared/store/CDataFolderLock.h"

#include "winlayer/UniqueHandle.h"

#include <algorithm>
#include <vector>

namespace {

// Named as the programs name their single-instance mutexes.
constexpr wchar_t kMutexName[] = L"V212DataFolder_Mutex";

// One handle for the life of the process; every holder waits on it.
HANDLE SharedMutex() {
    static const winlayer::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    return mutex.Get();
}

// The lock's depth on this thread and the files touched under it.
thread_local int t_depth = 0;
thread_local std::vector<std::wstring> t_touched;

} // namespace

void CDataFolderLock::Touched(const std::wstring& path) {
    if (t_depth > 0 && std::ranges::find(t_touched, path) == t_touched.end()) {
        t_touched.push_back(path);
    }
}

CDataFolderLock::CDataFolderLock() : mutex_(SharedMutex()) {
    if (mutex_ == nullptr) {
        return;
    }
    // An owner that ended without releasing it leaves it abandoned: the lock is ours then.
    const DWORD wait = WaitForSingleObject(mutex_, kWaitMs);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (held_) {
        ++t_depth;
    }
}

CDataFolderLock::~CDataFolderLock() {
    if (!held_) {
        return;
    }
    if (--t_depth == 0) {
        // The documented flush: all three names null drops the file's copy.
        for (const std::wstring& path : t_touched) {
            WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
        }
        t_touched.clear();
    }
    ReleaseMutex(mutex_);
}
