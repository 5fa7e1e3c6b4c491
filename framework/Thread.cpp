#include "framework/Thread.h"

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"

#include <exception>

std::atomic<int> TThread::liveThreads_{0};

namespace {

DWORD g_guiThreadId = GetCurrentThreadId();  // the thread that starts the program runs its windows

struct SyncRequest {
    const std::function<void()>* fn;
    std::exception_ptr error;
    HANDLE done;
};

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
    if (!PostMessageA(Application->Handle(), CM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&request))) return;
    WaitForSingleObject(request.done, INFINITE);
    if (request.error) std::rethrow_exception(request.error);
}

void TThread::HandleSynchronize(LPARAM lParam) {
    auto request = reinterpret_cast<SyncRequest*>(lParam);
    try {
        (*request->fn)();
    } catch (...) {
        request->error = std::current_exception();
    }
    SetEvent(request->done);
}
