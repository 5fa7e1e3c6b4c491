#include "ForeignControls.h"
#include "Json.h"
#include <commctrl.h>
#include <stdexcept>
#include <vector>

namespace {

const UINT kAnswerTimeoutMs = 5000;

long long handleNumber(HWND h) { return static_cast<long long>(reinterpret_cast<intptr_t>(h)); }

// A block of memory inside another process for the tool bar messages that write through a pointer.
class RemoteBlock {
public:
    RemoteBlock(DWORD pid, SIZE_T size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) throw std::runtime_error("OpenProcess failed, error " + std::to_string(GetLastError()));
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_) {
            CloseHandle(process_);
            throw std::runtime_error("VirtualAllocEx failed, error " + std::to_string(GetLastError()));
        }
    }
    ~RemoteBlock() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    LPARAM param() const { return reinterpret_cast<LPARAM>(address_); }
    void clear() {
        std::vector<char> zeros(size_, 0);
        WriteProcessMemory(process_, address_, zeros.data(), size_, nullptr);
    }
    void read(void* target, SIZE_T count) const {
        SIZE_T got = 0;
        if (!ReadProcessMemory(process_, address_, target, count, &got) || got != count)
            throw std::runtime_error("ReadProcessMemory failed, error " + std::to_string(GetLastError()));
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_;
};

LRESULT ask(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result))
        throw std::runtime_error("the tool bar did not answer message " + std::to_string(msg));
    return static_cast<LRESULT>(result);
}

}  // namespace

std::string describeToolbarButtons(HWND toolbar) {
    DWORD pid = 0;
    GetWindowThreadProcessId(toolbar, &pid);
    const SIZE_T kTextChars = 256;
    RemoteBlock block(pid, sizeof(TBBUTTON) + sizeof(RECT) + kTextChars * sizeof(wchar_t));
    int count = static_cast<int>(ask(toolbar, TB_BUTTONCOUNT, 0, 0));
    JsonArray list;
    for (int i = 0; i < count; ++i) {
        block.clear();
        TBBUTTON button{};
        if (!ask(toolbar, TB_GETBUTTON, i, block.param())) continue;
        block.read(&button, sizeof button);
        block.clear();
        RECT rect{};
        bool hasRect = ask(toolbar, TB_GETITEMRECT, i, block.param()) != 0;
        if (hasRect) block.read(&rect, sizeof rect);
        MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        std::wstring text;
        if (!(button.fsStyle & BTNS_SEP)) {
            block.clear();
            LRESULT length = ask(toolbar, TB_GETBUTTONTEXTW, button.idCommand, block.param());
            if (length > 0 && static_cast<SIZE_T>(length) < kTextChars) {
                std::vector<wchar_t> buffer(length + 1, L'\0');
                block.read(buffer.data(), length * sizeof(wchar_t));
                text.assign(buffer.data(), length);
            }
        }
        JsonArray r;
        r.add(rect.left).add(rect.top).add(rect.right).add(rect.bottom);
        list.addRaw(JsonObject()
                        .add("index", i)
                        .add("id", button.idCommand)
                        .add("state", static_cast<int>(button.fsState))
                        .add("style", static_cast<int>(button.fsStyle))
                        .add("image", button.iBitmap)
                        .add("text", text)
                        .addBool("has_rect", hasRect)
                        .addRaw("rect", r.str())
                        .str());
    }
    return list.str();
}

std::string describeGuiThread(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD tid = GetWindowThreadProcessId(hwnd, nullptr);
    if (!tid || !GetGUIThreadInfo(tid, &info))
        throw std::runtime_error("GetGUIThreadInfo failed, error " + std::to_string(GetLastError()));
    return JsonObject()
        .add("focus", handleNumber(info.hwndFocus))
        .add("active", handleNumber(info.hwndActive))
        .add("capture", handleNumber(info.hwndCapture))
        .str();
}

bool setTextOf(HWND hwnd, const std::wstring& text, UINT timeoutMs, DWORD_PTR& result) {
    result = 0;
    return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, timeoutMs,
                               &result) != 0;
}
