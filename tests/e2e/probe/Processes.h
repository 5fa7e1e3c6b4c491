// The Windows processes of the shared Wine server, so that a test can find the
// program that it started by its full path and end one that it left behind.
#pragma once
#include <windows.h>
#include <string>

// A JSON array of {pid, exe, path} for every process.
std::string describeProcesses();
bool terminateProcess(DWORD pid, UINT exitCode);
