// The DLL's entry points: the class object, unloading, and self-registration
// per machine (regsvr32) or per user (regsvr32 /n /i:user).
#include "ClassFactory.h"
#include "ComObject.h"
#include "KV90Host.h"
#include "Registration.h"

#include <olectl.h>

namespace {

bool isPerUser(LPCWSTR commandLine) { return commandLine && _wcsicmp(commandLine, L"user") == 0; }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID id, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_FingerHost)) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = kv90com::ClassFactory::create();
    const HRESULT hr = factory->QueryInterface(id, object);
    factory->Release();
    return hr;
}

HRESULT WINAPI DllCanUnloadNow() { return kv90com::ModuleUsage::inUse() ? S_FALSE : S_OK; }

HRESULT WINAPI DllRegisterServer() { return kv90com::registerServer(false); }

HRESULT WINAPI DllUnregisterServer() { return kv90com::unregisterServer(false); }

// regsvr32 /i:user (with /n) registers for the current user only, /u /n /i:user
// removes that; without "user" it does what DllRegisterServer does.
HRESULT WINAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    const bool perUser = isPerUser(commandLine);
    return install ? kv90com::registerServer(perUser) : kv90com::unregisterServer(perUser);
}

}  // extern "C"
