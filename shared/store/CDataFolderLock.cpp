#include "shared/store/CDataFolderLock.h"

#include "winlayer/UniqueHandle.h"

namespace {

// Named as the programs name their single-instance mutexes.
constexpr wchar_t kMutexName[] = L"V212DataFolder_Mutex";

// One handle for the life of the process; every holder waits on it.
HANDLE SharedMutex() {
    static const winlayer::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    return mutex.Get();
}

} // namespace

CDataFolderLock::CDataFolderLock() : mutex_(SharedMutex()) {
    if (mutex_ == nullptr) {
        return;
    }
    // An owner that ended without releasing it leaves it abandoned: the lock is ours then.
    const DWORD wait = WaitForSingleObject(mutex_, kWaitMs);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

CDataFolderLock::~CDataFolderLock() {
    if (held_) {
        ReleaseMutex(mutex_);
    }
}
