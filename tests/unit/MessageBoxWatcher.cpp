#include "MessageBoxWatcher.h"

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindBox(HWND wnd, LPARAM param) {
    auto search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    char cls[16] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (pid == search->pid && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

std::string Text(HWND wnd) {
    char text[1024] = {};
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() : thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        Search search{GetCurrentProcessId(), nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            SeenBox box{Text(search.found), Text(GetDlgItem(search.found, 0xFFFF))};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.push_back(box);
            }
            SendMessageA(search.found, WM_COMMAND, IDOK, 0);
            while (IsWindow(search.found) && !stop_) Sleep(5);
        }
        Sleep(10);
    }
}
