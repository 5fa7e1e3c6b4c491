// A worker thread whose end is announced on the GUI thread, and the means
// for a worker to have work done there (Synchronize).
#pragma once

#include "framework/Classes.h"
#include "framework/Handles.h"

#include <atomic>
#include <functional>

class TThread : public TObject {
    KV90_CLASS(TThread, TObject)
public:
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Lets a thread created suspended run; raises when no thread was created.
    void Start();
    // Only asks: the worker sees the request the next time it looks.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Freed by its own thread once OnTerminate has run.
    bool FreeOnTerminate = false;
    // Runs on the GUI thread after Execute has returned.
    TNotifyEvent OnTerminate;

    // Runs fn on the GUI thread and waits for it; an exception it raises is
    // raised again in the caller. On the GUI thread itself fn runs at once.
    static void Synchronize(const std::function<void()>& fn);
    // Called by the application's window when woken: runs every waiting request.
    static void HandleSynchronize();
    // Threads started and not yet through their OnTerminate: the program
    // must not end before they are.
    static int LiveThreads() { return liveThreads_; }

protected:
    TThread() = default;
    // Makes the operating-system thread, suspended; raises on failure.
    void CreateSuspended();
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(void* self);
    void Finish();
    UniqueHandle handle_;
    std::atomic<bool> terminated_{false};
    bool started_ = false;
    static std::atomic<int> liveThreads_;
};

// Posted to the application window: Synchronize requests are waiting in the queue.
constexpr UINT CM_SYNCHRONIZE = WM_APP + 0x3F01;
