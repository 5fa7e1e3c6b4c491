// The type library embedded in this DLL, loaded once: the descriptions that
// IDispatch, IProvideClassInfo and the script hosts read.
#pragma once
#include <oaidl.h>

#include <string>

namespace kv90com {

// This DLL's module handle and full path.
HINSTANCE thisModule();
std::wstring thisModulePath();

// The type information of one interface or class of the library (AddRef'd).
HRESULT typeInfoOf(REFGUID guid, ITypeInfo** info);

}  // namespace kv90com
