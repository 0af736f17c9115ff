#pragma once

#include "service/CMouseConnection.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

// The mouse's three feature reports on the control handle: the register report (id 2: write,
// read request, commit, update bracket), the block read (id 3) and the block write (id 4). Each
// buffer is cleared before it is filled. Every call sends nothing and returns false while the
// control handle is closed; a failed transfer is not retried.
class CFeatureReports {
public:
    explicit CFeatureReports(CMouseConnection& connection) : connection_(connection) {}

    bool IsOpen() const { return connection_.IsControlOpen(); }
    // How many transfers the open mouse has refused so far: a sequence compares it before and
    // after to learn whether all of it arrived.
    unsigned Refusals() const { return refusals_.load(); }
    // Hold it around a sequence that must reach the mouse unbroken; each call below takes it
    // for its own transfers as well.
    std::unique_lock<std::recursive_mutex> Lock() const { return connection_.LockTransfers(); }

    // Writes 1 to 8 bytes at `address`.
    bool WriteRegister(std::uint16_t address, std::span<const std::uint8_t> data);
    // Reads 1 to 8 bytes at `address`: the request, then the reply. `data` is zero-filled first
    // and keeps zeros unless the reply arrived whole, which is what the result says.
    bool ReadRegister(std::uint16_t address, std::span<std::uint8_t> data);
    bool Commit(std::uint8_t groupMask);
    // The update bracket report alone (0 opens a group of writes, 1 closes it).
    bool Bracket(std::uint8_t value);
    // 50 bytes at `address`, by a block-read request and its reply; as ReadRegister.
    bool BlockRead(std::uint16_t address, std::span<std::uint8_t, 50> data);
    // 200 bytes at `address` in one 1024-byte block-write report.
    bool BlockWrite(std::uint16_t address, std::span<const std::uint8_t, 200> data);

private:
    bool SendRegister(std::uint8_t command, std::uint8_t byte2, std::uint8_t byte3,
                      std::span<const std::uint8_t> data, std::uint8_t count);
    bool Request(std::uint8_t reportId, std::size_t length, std::uint16_t address,
                 std::span<std::uint8_t> data);

    // Counts a failed transfer on an open handle; returns `sent`.
    bool Counted(bool sent);

    CMouseConnection& connection_;
    std::atomic<unsigned> refusals_{0};
};
