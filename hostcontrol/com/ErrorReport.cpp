#include "ErrorReport.h"

#include <oaidl.h>
#include <oleauto.h>

namespace kv90com {

HRESULT reportFailure(HRESULT result, REFIID interfaceId, const std::wstring& description) {
    ICreateErrorInfo* creator = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&creator))) {
        creator->SetGUID(interfaceId);
        creator->SetSource(const_cast<LPOLESTR>(L"KV90.FingerHost"));
        creator->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        creator->Release();
    }
    return result;
}

}  // namespace kv90com
