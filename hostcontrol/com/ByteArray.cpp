#include "ByteArray.h"

#include <oleauto.h>

#include <cstring>

namespace kv90com {

HRESULT byteArrayVariant(const std::vector<uint8_t>& bytes, VARIANT* value) {
    VariantInit(value);
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return E_OUTOFMEMORY;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) {
        SafeArrayDestroy(array);
        return E_OUTOFMEMORY;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    V_VT(value) = VT_ARRAY | VT_UI1;
    V_ARRAY(value) = array;
    return S_OK;
}

}  // namespace kv90com
