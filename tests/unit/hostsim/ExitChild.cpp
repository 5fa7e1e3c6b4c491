// A stand-in for the capture program as a process: it lives briefly and ends with
// 7 when it was started in its own folder, 3 otherwise.
#include <windows.h>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(300);
    wchar_t module[MAX_PATH];
    wchar_t current[MAX_PATH];
    const DWORD moduleLength = GetModuleFileNameW(nullptr, module, MAX_PATH);
    const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring folder(module, moduleLength);
    folder.erase(folder.find_last_of(L"\\/"));
    const std::wstring here(current, currentLength);
    return CompareStringOrdinal(folder.c_str(), -1, here.c_str(), -1, TRUE) == CSTR_EQUAL ? 7 : 3;
}
