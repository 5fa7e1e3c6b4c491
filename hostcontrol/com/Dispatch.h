// The one IDispatch of the control's objects: names, types and calls all come
// from the embedded type library, through ITypeInfo::Invoke, so a dual
// interface needs nothing but its vtable.
#pragma once
#include "TypeLibrary.h"

namespace kv90com {

template <typename Interface>
class Dispatch : public Interface {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (index != 0) return DISP_E_BADINDEX;
        return typeInfoOf(__uuidof(Interface), info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ITypeInfo* info = nullptr;
        HRESULT hr = typeInfoOf(__uuidof(Interface), &info);
        if (FAILED(hr)) return hr;
        hr = info->GetIDsOfNames(names, count, ids);
        info->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override {
        ITypeInfo* info = nullptr;
        HRESULT hr = typeInfoOf(__uuidof(Interface), &info);
        if (FAILED(hr)) return hr;
        // A failing method's description (set with SetErrorInfo) reaches the
        // caller through EXCEPINFO.
        hr = info->Invoke(static_cast<Interface*>(this), id, flags, parameters, result, exception, argumentError);
        info->Release();
        return hr;
    }
};

}  // namespace kv90com
