#include "Registration.h"

#include "KV90Host.h"
#include "TypeLibrary.h"

#include <olectl.h>

#include <string>
#include <vector>

namespace kv90com {

namespace {

constexpr wchar_t kProgId[] = L"KV90.FingerHost";
constexpr wchar_t kVersionedProgId[] = L"KV90.FingerHost.1";
constexpr wchar_t kDescription[] = L"KV90 FingerHost";
// The standard marshaller of type-library-described interfaces.
constexpr wchar_t kTypeLibMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";
#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

std::wstring text(REFGUID guid) {
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}

struct Value {
    std::wstring key;   // below Software\Classes
    std::wstring name;  // empty: the key's default value
    std::wstring data;
};

std::wstring typeLibKey() { return L"TypeLib\\" + text(LIBID_KV90HostLib) + L"\\1.0"; }

std::vector<Value> entries() {
    const std::wstring path = thisModulePath();
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    const std::wstring clsid = L"CLSID\\" + text(CLSID_FingerHost);
    const std::wstring libid = text(LIBID_KV90HostLib);
    std::vector<Value> values = {
        {clsid, L"", kDescription},
        {clsid + L"\\InprocServer32", L"", path},
        {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsid + L"\\ProgID", L"", kVersionedProgId},
        {clsid + L"\\VersionIndependentProgID", L"", kProgId},
        {clsid + L"\\TypeLib", L"", libid},
        {clsid + L"\\Version", L"", L"1.0"},
        {kProgId, L"", kDescription},
        {std::wstring(kProgId) + L"\\CLSID", L"", text(CLSID_FingerHost)},
        {std::wstring(kProgId) + L"\\CurVer", L"", kVersionedProgId},
        {kVersionedProgId, L"", kDescription},
        {std::wstring(kVersionedProgId) + L"\\CLSID", L"", text(CLSID_FingerHost)},
        {typeLibKey(), L"", L"KV90 fingerprint capture station host control"},
        {typeLibKey() + L"\\0\\" + kPlatform, L"", path},
        {typeLibKey() + L"\\FLAGS", L"", L"0"},
        {typeLibKey() + L"\\HELPDIR", L"", folder},
    };
    const std::pair<const GUID*, const wchar_t*> interfaces[] = {
        {&IID_IFingerHost, L"IFingerHost"},
        {&IID_IFingerEvent, L"IFingerEvent"},
        {&DIID__IFingerHostEvents, L"_IFingerHostEvents"},
    };
    for (const auto& item : interfaces) {
        const std::wstring key = L"Interface\\" + text(*item.first);
        values.push_back({key, L"", item.second});
        values.push_back({key + L"\\ProxyStubClsid32", L"", kTypeLibMarshaller});
        values.push_back({key + L"\\TypeLib", L"", libid});
        values.push_back({key + L"\\TypeLib", L"Version", L"1.0"});
    }
    return values;
}

// The keys of this bitness's view that are the control's alone, removed whole.
std::vector<std::wstring> ownKeys() {
    return {L"CLSID\\" + text(CLSID_FingerHost), L"Interface\\" + text(IID_IFingerHost),
            L"Interface\\" + text(IID_IFingerEvent), L"Interface\\" + text(DIID__IFingerHostEvents)};
}

// The ProgIDs lie in a part of the classes that both bitnesses share.
std::vector<std::wstring> sharedKeys() { return {kProgId, kVersionedProgId}; }

HKEY rootOf(bool perUser) { return perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::wstring classesKey(const std::wstring& key) { return L"Software\\Classes\\" + key; }

// Deletes key and then each parent up to (not including) stop while it is empty.
void deleteUpward(HKEY root, std::wstring key, const std::wstring& stop) {
    while (key.size() > stop.size()) {
        if (RegDeleteKeyW(root, classesKey(key).c_str()) != ERROR_SUCCESS) return;
        key.erase(key.find_last_of(L'\\'));
    }
}

std::wstring defaultValue(HKEY root, const std::wstring& key) {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(root, classesKey(key).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::wstring();
    return value;
}

bool keyExists(HKEY root, const std::wstring& key, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, classesKey(key).c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

bool isThisFile(const std::wstring& path) { return _wcsicmp(path.c_str(), thisModulePath().c_str()) == 0; }

HRESULT resultOf(LONG status) {
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return S_OK;
    return status == ERROR_ACCESS_DENIED ? E_ACCESSDENIED : HRESULT_FROM_WIN32(status);
}

// Keeps the first failure.
void note(HRESULT& result, LONG status) {
    if (SUCCEEDED(result)) result = resultOf(status);
}

LONG write(HKEY root, const Value& value, REGSAM view) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, classesKey(value.key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                                  &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.data.c_str()),
                            static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

bool isProgIdValue(const Value& value) {
    for (const std::wstring& key : sharedKeys())
        if (value.key == key || value.key.rfind(key + L"\\", 0) == 0) return true;
    return false;
}

#ifdef _WIN64
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

}  // namespace

HRESULT registerServer(bool perUser) {
    const HKEY root = rootOf(perUser);
    for (const Value& value : entries()) {
        const LONG status = write(root, value, 0);
        if (status != ERROR_SUCCESS) {
            unregisterServer(perUser);
            return resultOf(status);
        }
    }
    return S_OK;
}

HRESULT unregisterServer(bool perUser) {
    const HKEY root = rootOf(perUser);
    // Another copy of the control registered since: its registration is not this file's to remove.
    const std::wstring server = defaultValue(root, L"CLSID\\" + text(CLSID_FingerHost) + L"\\InprocServer32");
    if (!server.empty() && !isThisFile(server)) return S_OK;
    HRESULT result = S_OK;
    for (const std::wstring& key : ownKeys()) note(result, RegDeleteTreeW(root, classesKey(key).c_str()));
    for (const std::wstring& key : sharedKeys()) note(result, RegDeleteTreeW(root, classesKey(key).c_str()));
    // Where the two views share the ProgIDs (Windows does), that removed the other bitness's
    // too: it gets them back while it still registers the class.
    if (keyExists(root, L"CLSID\\" + text(CLSID_FingerHost), kOtherView))
        for (const Value& value : entries())
            if (isProgIdValue(value)) note(result, write(root, value, kOtherView));
    // The type library's key is shared by the two bitnesses: each removes its own platform.
    const std::wstring library = typeLibKey();
    const std::wstring platform = library + L"\\0\\" + kPlatform;
    const std::wstring libraryFile = defaultValue(root, platform);
    if (!libraryFile.empty() && !isThisFile(libraryFile)) return result;
    note(result, RegDeleteTreeW(root, classesKey(platform).c_str()));
    deleteUpward(root, library + L"\\0", library);
    HKEY key = nullptr;
    DWORD subkeys = 1;
    if (RegOpenKeyExW(root, classesKey(library).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(key);
        // FLAGS and HELPDIR are left alone while the other bitness still has its platform key.
        if (subkeys <= 2) {
            note(result, RegDeleteTreeW(root, classesKey(library).c_str()));
            deleteUpward(root, L"TypeLib\\" + text(LIBID_KV90HostLib), L"TypeLib");
        }
    }
    return result;
}

}  // namespace kv90com
