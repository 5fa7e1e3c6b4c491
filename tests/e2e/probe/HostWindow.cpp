#include "HostWindow.h"
#include "Json.h"
#include "Text.h"
#include <vector>

namespace {

const wchar_t kClassName[] = L"KV90ProbeHost";

struct State {
    CRITICAL_SECTION lock;
    std::vector<std::string> events;
    HWND window = nullptr;
    HANDLE thread = nullptr;
    HANDLE ready = nullptr;
    std::wstring caption;
    State() { InitializeCriticalSection(&lock); }
};

State& state() {
    static State s;
    return s;
}

void record(const std::string& event) {
    EnterCriticalSection(&state().lock);
    state().events.push_back(event);
    LeaveCriticalSection(&state().lock);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        JsonObject o;
        o.add("msg", msg)
            .add("wparam", static_cast<long long>(wParam))
            .add("dwdata", static_cast<long long>(cds->dwData))
            .add("hex", toHex(static_cast<const unsigned char*>(cds->lpData), cds->cbData))
            .add("tick", GetTickCount());
        record(o.str());
        return TRUE;
    }
    if (msg >= WM_USER && msg != WM_USER + 0x7FFF) {
        JsonObject o;
        o.add("msg", msg)
            .add("wparam", static_cast<long long>(wParam))
            .add("lparam", static_cast<long long>(lParam))
            .addBool("sent", InSendMessage() != FALSE)
            .add("tick", GetTickCount());
        record(o.str());
        return 0;
    }
    if (msg == WM_CLOSE) return 0;  // only stopHostWindow ends the host
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI hostThread(LPVOID) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    state().window = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, state().caption.c_str(), WS_POPUP, 0, 0, 1, 1,
                                     nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(state().ready);
    if (!state().window) return 1;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}

}  // namespace

HWND startHostWindow(const std::wstring& caption) {
    State& s = state();
    if (s.window) return s.window;
    s.caption = caption;
    s.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD tid = 0;
    s.thread = CreateThread(nullptr, 0, hostThread, nullptr, 0, &tid);
    if (!s.thread) return nullptr;
    WaitForSingleObject(s.ready, INFINITE);
    return s.window;
}

std::string takeHostEvents() {
    JsonArray list;
    EnterCriticalSection(&state().lock);
    for (const std::string& e : state().events) list.addRaw(e);
    state().events.clear();
    LeaveCriticalSection(&state().lock);
    return list.str();
}

void stopHostWindow() {
    State& s = state();
    if (!s.window) return;
    DWORD tid = GetThreadId(s.thread);
    // A window belongs to its thread: ending the thread destroys it.
    PostThreadMessageW(tid, WM_QUIT, 0, 0);
    WaitForSingleObject(s.thread, 5000);
    CloseHandle(s.thread);
    CloseHandle(s.ready);
    s.window = nullptr;
    s.thread = nullptr;
    EnterCriticalSection(&s.lock);
    s.events.clear();
    LeaveCriticalSection(&s.lock);
}
