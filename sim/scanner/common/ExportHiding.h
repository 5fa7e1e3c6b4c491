#pragma once
// Makes named exports of a loaded library invisible to GetProcAddress.
//
// A library's export table is fixed when it is linked, yet a test must be able
// to take any one entry point away.  Lookup by name searches the sorted name
// table of the image in memory, so removing a name from that table (while the
// library is being loaded, before anyone looks it up) makes the entry point
// really absent for every caller, exactly as with a library that never had it.

#include <windows.h>

#include <string>
#include <vector>

namespace kv90sim {

// Removes every listed name that `module` exports; returns how many were removed.
int HideExports(HMODULE module, const std::vector<std::string>& names);

}  // namespace kv90sim
