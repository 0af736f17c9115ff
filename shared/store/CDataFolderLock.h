#pragma once

#include <windows.h>

// The lock on the data folder's files ("Mouse.ini", the profile files, the macro files), shared
// by the configuration program and the service through its name. The platform rewrites an ini
// file in place for every write, emptying it first: without the lock a reader in the other
// program finds the file empty or cut short, and two writers each write back what the other had
// half written. Every read of such a file and every read-modify-write of it holds the lock for
// the milliseconds the file operation takes: never across a device transfer, a box, a sleep or a
// post to the other program. A thread may take it again while it holds it.
class CDataFolderLock {
public:
    // A holder takes milliseconds; a lock not had by then belongs to a program that hangs.
    static constexpr DWORD kWaitMs = 2000;

    CDataFolderLock();
    ~CDataFolderLock();
    CDataFolderLock(const CDataFolderLock&) = delete;
    CDataFolderLock& operator=(const CDataFolderLock&) = delete;

    // False when the lock could not be had in time: the operation fails, writing nothing.
    bool Held() const { return held_; }
    explicit operator bool() const { return held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
