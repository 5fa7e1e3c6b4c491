#include "TypeLibrary.h"

#include <vector>

namespace kv90com {

namespace {

// Kept for the life of the process: a type library is small, and releasing it
// while a script host still holds type information from it would be worse.
ITypeLib* library = nullptr;

}  // namespace

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

std::wstring thisModulePath() {
    std::vector<wchar_t> path(MAX_PATH * 4);
    const DWORD length = GetModuleFileNameW(thisModule(), path.data(), static_cast<DWORD>(path.size()));
    return std::wstring(path.data(), length);
}

HRESULT typeInfoOf(REFGUID guid, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (!library) {
        ITypeLib* loaded = nullptr;
        // The library is the DLL's TYPELIB resource 1; nothing is registered by loading it.
        const HRESULT hr = LoadTypeLibEx(thisModulePath().c_str(), REGKIND_NONE, &loaded);
        if (FAILED(hr)) return hr;
        if (InterlockedCompareExchangePointer(reinterpret_cast<void**>(&library), loaded, nullptr) != nullptr)
            loaded->Release();
    }
    return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace kv90com
