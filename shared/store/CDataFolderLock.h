#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The lock on the data folder's files ("Mouse.ini", the profile files, the macro files), shared
// by the configuration program and the service through its name. Every read of such a file and
// every read-modify-write of it holds the lock for the milliseconds the file operation takes:
// never across a device transfer, a box, a sleep or a post to the other program. A thread may
// take it again while it holds it.
class CDataFolderLock {
public:
    // A holder takes milliseconds; a lock not had by then belongs to a program that hangs.
    static constexpr DWORD kWaitMs = 2000;
    // What a thread that runs windows waits: it leaves a lock it cannot have to its timers, so
    // that its windows answer while another program holds the lock.
    static constexpr DWORD kWindowThreadWaitMs = 50;

    CDataFolderLock();
    ~CDataFolderLock();
    CDataFolderLock(const CDataFolderLock&) = delete;
    CDataFolderLock& operator=(const CDataFolderLock&) = delete;

    // False when the lock could not be had in time: the operation fails, writing nothing.
    explicit operator bool() const { return held_; }

    // How long the calling thread waits for the lock from now on (kWaitMs at first); returns
    // the wait it had.
    static DWORD SetThreadWait(DWORD waitMs);

    // Notes a file that the platform's profile functions read under the lock. The platform
    // keeps a copy of such a file in each process and takes it again while the file's write
    // time stays the same; that time moves in steps of milliseconds, so a write of the other
    // program within the same step would go unseen. The copy is dropped when the thread releases
    // its outermost lock.
    static void Touched(const std::wstring& path);
    // Drops the platform's copy of the file now.
    static void Forget(const std::wstring& path);

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
    // Kept by the thread's outermost holder, which drops their copies when it ends.
    std::vector<std::wstring> touched_;
};
