// Bytes as the one array every automation caller takes: a VARIANT holding a
// SAFEARRAY of VT_UI1 (a Byte() in VBA and VBScript, byte[] in .NET).
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <vector>

namespace kv90com {

// E_OUTOFMEMORY when the array cannot be made; `value` is then left empty.
HRESULT byteArrayVariant(const std::vector<uint8_t>& bytes, VARIANT* value);

}  // namespace kv90com
