#include "framework/Thread.h"

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <mutex>

std::atomic<int> TThread::liveThreads_{0};

namespace {

DWORD g_guiThreadId = GetCurrentThreadId();  // the thread that starts the program runs its windows

struct SyncRequest {
    const std::function<void()>* fn;
    std::exception_ptr error;
    HANDLE done;
};

// The requests waiting for the GUI thread. The message that announces them carries
// nothing, so a stray one from another program finds the queue as it is.
std::mutex g_syncLock;
std::deque<SyncRequest*> g_syncQueue;

// One event per worker, made once, so that a Synchronize per frame allocates nothing.
HANDLE SyncEvent() {
    thread_local UniqueHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    return event.Get();
}

}  // namespace

TThread::~TThread() = default;

void TThread::CreateSuspended() {
    DWORD id = 0;
    handle_.Reset(CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id));
    if (!handle_) throw Exception("Thread creation error: " + SysErrorMessage(GetLastError()));
}

void TThread::Start() {
    if (started_) return;
    if (!handle_ || ResumeThread(handle_.Get()) == static_cast<DWORD>(-1))
        throw Exception("Thread Error: " + SysErrorMessage(handle_ ? GetLastError() : ERROR_INVALID_HANDLE));
    started_ = true;
    ++liveThreads_;
}

DWORD WINAPI TThread::ThreadProc(void* self) {
    auto thread = static_cast<TThread*>(self);
    try {
        thread->Execute();
    } catch (...) {
        // Execute reports its own failures; nothing may escape the thread.
    }
    thread->Finish();
    return 0;
}

void TThread::Finish() {
    try {
        if (OnTerminate) Synchronize([this] { OnTerminate(this); });
    } catch (...) {
    }
    const bool freeSelf = FreeOnTerminate;
    HWND app = Application ? Application->Handle() : nullptr;
    if (freeSelf) delete this;
    --liveThreads_;
    if (app) PostMessageA(app, WM_NULL, 0, 0);  // wakes a GUI thread waiting for the last worker
}

void TThread::Synchronize(const std::function<void()>& fn) {
    if (GetCurrentThreadId() == g_guiThreadId || !Application) {
        fn();
        return;
    }
    SyncRequest request{&fn, nullptr, SyncEvent()};
    {
        std::lock_guard<std::mutex> lock(g_syncLock);
        g_syncQueue.push_back(&request);
    }
    if (!PostMessageA(Application->Handle(), CM_SYNCHRONIZE, 0, 0)) {
        // No window to wake: take the request back, unless the GUI thread already took it.
        std::lock_guard<std::mutex> lock(g_syncLock);
        const auto queued = std::find(g_syncQueue.begin(), g_syncQueue.end(), &request);
        if (queued != g_syncQueue.end()) {
            g_syncQueue.erase(queued);
            return;
        }
    }
    WaitForSingleObject(request.done, INFINITE);
    if (request.error) std::rethrow_exception(request.error);
}

void TThread::HandleSynchronize() {
    for (;;) {
        SyncRequest* request = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_syncLock);
            if (g_syncQueue.empty()) return;
            request = g_syncQueue.front();
            g_syncQueue.pop_front();
        }
        try {
            (*request->fn)();
        } catch (...) {
            request->error = std::current_exception();
        }
        SetEvent(request->done);
    }
}
