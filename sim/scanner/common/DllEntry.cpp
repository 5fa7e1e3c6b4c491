// Shared by both libraries: when a library is loaded, the entry points that the
// control file names as missing are taken out of its export table before the
// program can look them up.

#include <windows.h>

#include "ExportHiding.h"
#include "FileIo.h"
#include "ModuleFolder.h"
#include "Settings.h"
#include "SimFiles.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        const auto text = kv90sim::ReadSmallFile(kv90sim::ModuleFolder(instance) + kv90sim::kControlFileName);
        if (text) kv90sim::HideExports(instance, kv90sim::ParseSettings(*text).missing);
    }
    return TRUE;
}
