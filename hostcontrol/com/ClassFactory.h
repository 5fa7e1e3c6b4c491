// Makes FingerHost objects for CoCreateInstance.
#pragma once
#include "ComObject.h"

#include <unknwn.h>

namespace kv90com {

class ClassFactory final : private RefCounted, public IClassFactory {
public:
    static IClassFactory* create() { return new ClassFactory; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ClassFactory() = default;
};

}  // namespace kv90com
