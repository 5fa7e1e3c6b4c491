// The control's registry entries, per machine (HKLM) or per user (HKCU), in
// the registry view of the DLL's own bitness. Unregistration removes exactly
// the keys registration writes, and a parent key only when it is left empty;
// nothing while another copy of the control is registered in this file's place,
// and the ProgIDs (shared by both views) only once neither view has the class.
// Failures come back as HRESULTs: access denied as E_ACCESSDENIED.
#pragma once
#include <windows.h>

namespace kv90com {

HRESULT registerServer(bool perUser);
HRESULT unregisterServer(bool perUser);

}  // namespace kv90com
