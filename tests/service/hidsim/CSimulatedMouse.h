#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The mouse's side of the feature-report protocol: a 64 KiB configuration memory that register
// writes (report 2) and block writes (report 4) change, read requests (reports 2 and 3) that the
// next get answers from memory, commits by group, and the update bracket. Not thread-safe; the
// simulator serialises access.
class CSimulatedMouse {
public:
    static constexpr std::size_t MemorySize = 0x10000;

    CSimulatedMouse();

    // Length of a feature report as the mouse declares it; 0 for an id it does not know.
    static std::size_t ReportLength(std::uint8_t reportId);

    // Applies a sent feature report (already padded to its length); false when the mouse
    // rejects it (unknown report or command, bad count, address past the end of memory).
    bool Receive(std::span<const std::uint8_t> report);
    // One line a person can read: what a sent report asks of the mouse, or what a reply carries
    // (`reply` true), with the settings the written addresses belong to and, for one whole
    // setting, its values (SettingValues, with the language file named).
    static std::string Describe(std::span<const std::uint8_t> report, bool reply,
                                const std::wstring& languageFile);
    // The full-length reply to a get of `reportId`: the last read request of that report
    // answered from memory, or only the id when none was made.
    std::vector<std::uint8_t> Reply(std::uint8_t reportId) const;

    void Blank();
    void Load(std::size_t address, std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Read(std::size_t address, std::size_t count) const;

    unsigned PendingGroups() const { return pendingGroups_; }
    const std::vector<unsigned>& Commits() const { return commits_; }
    bool InBracket() const { return inBracket_; }

private:
    struct ReadRequest {
        bool Made = false;
        std::uint16_t Address = 0;
        std::uint8_t Count = 0;
    };

    bool Write(std::size_t address, std::span<const std::uint8_t> bytes);
    static unsigned GroupOf(std::size_t address);

    std::vector<std::uint8_t> memory_;
    std::array<ReadRequest, 4> requests_{};
    unsigned pendingGroups_ = 0;
    std::vector<unsigned> commits_;
    bool inBracket_ = false;
};
