#include "ClassFactory.h"

#include "FingerHost.h"

namespace kv90com {

HRESULT ClassFactory::QueryInterface(REFIID id, void** object) {
    return answerQuery(static_cast<IClassFactory*>(this), id, object, {&IID_IUnknown, &IID_IClassFactory});
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID id, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    FingerHost* host = new (std::nothrow) FingerHost;
    if (!host) return E_OUTOFMEMORY;
    const HRESULT hr = host->QueryInterface(id, object);
    host->Release();
    return hr;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock)
        ModuleUsage::add();
    else
        ModuleUsage::remove();
    return S_OK;
}

}  // namespace kv90com
