// The Windows processes of the shared Wine server, so that a test can find the
// program that it started by its full path and end one that it left behind.
#pragma once
#include <windows.h>
#include <string>

// A JSON array of {pid, exe, path} for every process.
std::string describeProcesses();
bool terminateProcess(DWORD pid, UINT exitCode);
// Starts a thread in the process at an address where nothing is mapped: a fault that
// nothing in the process handles, as a wild pointer would make.
bool injectFault(DWORD pid);
// A JSON object {private, gdi, user}: the process's private bytes and its GDI and USER
// object counts (0 where the system does not count them); empty when it cannot be opened.
std::string describeMemory(DWORD pid);
// Starts a process with exactly this command line, as a deployment tool does (no quoting
// is added), and watches it; false when it could not be started.
bool startWatchedProcess(const std::wstring& commandLine, DWORD& pid);
// Keeps a handle to the process so that its exit code stays readable after it has ended.
bool watchProcess(DWORD pid);
// The exit code of a watched process: false while it runs (or when it is not watched).
bool watchedExitCode(DWORD pid, DWORD& code);
