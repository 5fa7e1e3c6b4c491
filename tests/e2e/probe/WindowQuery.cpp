#include "WindowQuery.h"
#include "Json.h"
#include "Text.h"
#include <vector>

namespace {

const UINT kAnswerTimeoutMs = 3000;

std::string rectJson(const RECT& r) {
    JsonArray a;
    a.add(r.left).add(r.top).add(r.right).add(r.bottom);
    return a.str();
}

BOOL CALLBACK collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::string describeAll(const std::vector<HWND>& handles) {
    JsonArray a;
    for (HWND h : handles)
        if (IsWindow(h)) a.addRaw(describeWindow(h));
    return a.str();
}

}  // namespace

HWND handleFrom(const std::string& text) { return reinterpret_cast<HWND>(static_cast<intptr_t>(parseNumber(text))); }

std::wstring windowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &length))
        return std::wstring();
    std::vector<wchar_t> buffer(length + 64, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &copied))
        return std::wstring();
    return std::wstring(buffer.data());
}

std::string describeWindow(HWND hwnd) {
    JsonObject o;
    wchar_t className[256] = L"";
    GetClassNameW(hwnd, className, 256);
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    RECT window{};
    GetWindowRect(hwnd, &window);
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    JsonArray clientJson;
    clientJson.add(origin.x).add(origin.y).add(client.right - client.left).add(client.bottom - client.top);
    o.add("hwnd", static_cast<long long>(reinterpret_cast<intptr_t>(hwnd)))
        .add("class", std::wstring(className))
        .add("text", windowText(hwnd))
        .add("pid", pid)
        .add("tid", tid)
        .addRaw("rect", rectJson(window))
        .addRaw("client", clientJson.str())
        .addBool("visible", IsWindowVisible(hwnd) != FALSE)
        .addBool("enabled", IsWindowEnabled(hwnd) != FALSE)
        .add("style", static_cast<long long>(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE))))
        .add("exstyle", static_cast<long long>(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE))))
        .add("id", static_cast<long long>(GetWindowLongPtrW(hwnd, GWLP_ID)))
        .add("parent",
             static_cast<long long>(reinterpret_cast<intptr_t>(
                 GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow() ? nullptr : GetAncestor(hwnd, GA_PARENT))))
        .add("owner", static_cast<long long>(reinterpret_cast<intptr_t>(GetWindow(hwnd, GW_OWNER))));
    return o.str();
}

std::string describeTopLevelWindows() {
    std::vector<HWND> handles;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&handles));
    return describeAll(handles);
}

std::string describeMessageOnlyWindows() {
    std::vector<HWND> handles;
    for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr))
        handles.push_back(h);
    return describeAll(handles);
}

std::string describeChildWindows(HWND parent) {
    std::vector<HWND> handles;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&handles));
    return describeAll(handles);
}
