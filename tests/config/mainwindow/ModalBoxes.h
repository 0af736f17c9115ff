#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Answers the modal boxes a window opens while a test acts on it: a thread timer finds the
// innermost box that holds the window (and any box over it) disabled and hands it to the next
// step, one step a tick, inside whatever modal loop runs then. A box still open well after the
// last step is ended, so a test that forgets one fails instead of hanging.
class ModalBoxes {
public:
    using Step = std::function<void(HWND box)>;

    ModalBoxes(HWND owner, std::vector<Step> steps);
    ~ModalBoxes();
    ModalBoxes(const ModalBoxes&) = delete;
    ModalBoxes& operator=(const ModalBoxes&) = delete;

    // All of them when every box the steps expect has opened.
    size_t StepsRun() const { return m_next; }
    bool TimedOut() const { return m_timedOut; }
    // The labels (Labels) of every box that was handed to a step or ended, in order.
    const std::vector<std::vector<std::wstring>>& Boxes() const { return m_boxes; }

    // Steps that end a box by its OK or Cancel command.
    static Step Ok();
    static Step Cancel();
    // Types the path into a file dialog and confirms it.
    static Step ChooseFile(std::wstring path);

    // The innermost modal box over owner, or null.
    static HWND OpenBox(HWND owner);
    // The texts of the box's labels, top to bottom.
    static std::vector<std::wstring> Labels(HWND box);
    // The same joined by "|".
    static std::wstring Text(HWND box);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Seen(HWND box);

    HWND m_owner;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_idleTicks = 0;
    bool m_timedOut = false;
    HWND m_lastBox = nullptr;
    std::vector<std::vector<std::wstring>> m_boxes;
    UINT_PTR m_timer = 0;
};
