#include "CaptureStandIn.h"

#include <chrono>
#include <cstring>

namespace {

const wchar_t kClassName[] = L"KV90HostSimTestCapture";
UINT activeMessage() { return RegisterWindowMessageW(L"ACTIVEMSG"); }

}  // namespace

CaptureStandIn::CaptureStandIn() {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &CaptureStandIn::threadMain, this, 0, nullptr);
    if (thread_) WaitForSingleObject(ready_, 10000);
}

CaptureStandIn::~CaptureStandIn() {
    if (view_) UnmapViewOfFile(view_);
    if (block_) CloseHandle(block_);
    if (thread_) {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    if (ready_) CloseHandle(ready_);
}

bool CaptureStandIn::publishBlock() {
    block_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 20, L"FINGER_COLLECT_FILE");
    if (!block_) return false;
    view_ = MapViewOfFile(block_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!view_) return false;
    const std::string text = std::to_string(reinterpret_cast<ULONG_PTR>(window_));
    std::memcpy(view_, text.c_str(), text.size() + 1);
    return true;
}

bool CaptureStandIn::waitMessage(ReceivedMessage& message, DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    if (!arrived_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return !messages_.empty(); }))
        return false;
    message = messages_.front();
    messages_.erase(messages_.begin());
    return true;
}

size_t CaptureStandIn::pendingCount() {
    std::lock_guard<std::mutex> guard(lock_);
    return messages_.size();
}

void CaptureStandIn::record(const ReceivedMessage& message) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        messages_.push_back(message);
    }
    arrived_.notify_all();
}

DWORD WINAPI CaptureStandIn::threadMain(void* parameter) {
    CaptureStandIn* self = static_cast<CaptureStandIn*>(parameter);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &CaptureStandIn::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    self->window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"capture stand-in", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, windowClass.hInstance, self);
    SetEvent(self->ready_);
    if (!self->window_) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

LRESULT CALLBACK CaptureStandIn::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    CaptureStandIn* self = reinterpret_cast<CaptureStandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        ReceivedMessage received;
        received.message = message;
        received.wParam = wParam;
        received.sent = InSendMessage() != FALSE;
        received.tag = data->dwData;
        received.byteCount = data->cbData;
        received.nullData = data->lpData == nullptr;
        if (data->lpData) received.bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
        self->record(received);
        return 0;
    }
    if (self && message == activeMessage()) {
        ReceivedMessage received;
        received.message = message;
        received.wParam = wParam;
        received.lParam = lParam;
        received.sent = InSendMessage() != FALSE;
        self->record(received);
        return 77;
    }
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
