#pragma once
// Where the library that contains this code was loaded from, so that its
// control file is found beside it wherever the program keeps its KV90DLL folder.

#include <windows.h>

#include <string>

namespace kv90sim {

HMODULE ThisModule();

// The folder of `module`, with a trailing backslash.
std::wstring ModuleFolder(HMODULE module);

}  // namespace kv90sim
