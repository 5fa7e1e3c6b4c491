// A stand-in for the capture program's side of the host link: a window on its own
// thread that records what the host sends it, and the block that names it.
#pragma once
#include <windows.h>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

struct ReceivedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool sent = false;
    // WM_COPYDATA only.
    ULONG_PTR tag = 0;
    DWORD byteCount = 0;
    bool nullData = false;
    std::string bytes;
};

class CaptureStandIn {
public:
    CaptureStandIn();
    ~CaptureStandIn();
    CaptureStandIn(const CaptureStandIn&) = delete;
    CaptureStandIn& operator=(const CaptureStandIn&) = delete;

    HWND window() const { return window_; }
    // Writes the window handle as the capture program does; held until destruction.
    bool publishBlock();
    // Waits for the next message the host sent or posted; false after the timeout.
    bool waitMessage(ReceivedMessage& message, DWORD timeoutMs);
    size_t pendingCount();

private:
    static DWORD WINAPI threadMain(void* self);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void record(const ReceivedMessage& message);

    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
    HANDLE block_ = nullptr;
    void* view_ = nullptr;
    std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<ReceivedMessage> messages_;
};
