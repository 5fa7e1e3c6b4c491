// Failures integrators can show: a failing HRESULT whose description, source
// and interface are set through SetErrorInfo before returning.
#pragma once
#include <windows.h>

#include <string>

namespace kv90com {

// Sets the thread's error information for the interface and returns result.
HRESULT reportFailure(HRESULT result, REFIID interfaceId, const std::wstring& description);

// The control's own failure codes: FACILITY_ITF, 0x0200 + the failure's number.
inline HRESULT controlFailure(int number) { return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0200 + number); }

}  // namespace kv90com
