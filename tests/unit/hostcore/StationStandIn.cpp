// Stand-ins for the station as a process, built three times as Finger_KV90.exe
// in folders of their own: one that ends at once with 5 (as when another capture
// program of the family runs), one that never says READY and ends after a while,
// and one that plays the link: its block, READY, the person, one stored finger
// in slot 3 (its two files written first), and the close.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#if KV90_STAND_IN == 3
namespace {

UINT activeMessage = 0;
UINT fingerMessage = 0;
HWND hostWindow = nullptr;
constexpr UINT kStoreFinger = WM_APP + 1;

HWND readHostWindow() {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, L"FINGER_ACTIVEX_FILE");
    if (!mapping) return nullptr;
    const char* text = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    HWND window = nullptr;
    if (text) window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoul(text, nullptr, 10)));
    if (text) UnmapViewOfFile(text);
    CloseHandle(mapping);
    return window;
}

std::string folder() {
    char module[MAX_PATH];
    std::string path(module, GetModuleFileNameA(nullptr, module, MAX_PATH));
    return path.substr(0, path.find_last_of('\\') + 1);
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string person;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        person.assign(static_cast<const char*>(data->lpData),
                      strnlen(static_cast<const char*>(data->lpData), data->cbData));
        PostMessageW(window, kStoreFinger, 0, 0);
        return 0;
    }
    if (message == kStoreFinger) {
        const std::string temp = folder() + "Temp\\";
        writeFile(temp + "3.bmp", "finger three");
        writeFile(temp + person + "_3.bmp", "finger three");
        SendMessageW(hostWindow ? hostWindow : readHostWindow(), fingerMessage, 3224, 3);
        return 0;
    }
    if (message == activeMessage && wParam == 3324) {
        PostMessageW(hostWindow ? hostWindow : readHostWindow(), fingerMessage, 3324, 0);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#if KV90_STAND_IN == 1
    (void)instance;
    return 5;
#elif KV90_STAND_IN == 2
    (void)instance;
    Sleep(4000);
    return 0;
#else
    activeMessage = RegisterWindowMessageW(L"ACTIVEMSG");
    fingerMessage = RegisterWindowMessageW(L"FINGERMSG");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"KV90StationStandIn";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"KV90StationStandIn", L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 20, L"FINGER_COLLECT_FILE");
    char* text = static_cast<char*>(MapViewOfFile(block, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    lstrcpyA(text, std::to_string(reinterpret_cast<ULONG_PTR>(window)).c_str());
    hostWindow = readHostWindow();
    PostMessageW(hostWindow, fingerMessage, 3124, reinterpret_cast<LPARAM>(window));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    UnmapViewOfFile(text);
    CloseHandle(block);
    return 0;
#endif
}
