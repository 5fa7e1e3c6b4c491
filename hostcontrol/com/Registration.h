// The control's registry entries, per machine (HKLM) or per user (HKCU), in
// the registry view of the DLL's own bitness. Unregistration removes exactly
// the keys registration writes, and a parent key only when it is left empty.
#pragma once
#include <windows.h>

namespace kv90com {

HRESULT registerServer(bool perUser);
HRESULT unregisterServer(bool perUser);

}  // namespace kv90com
