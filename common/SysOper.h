// System operations shared by every part of the program: where the program
// lives and the daily log through which every part reports its failures.
#pragma once

#include <windows.h>

#include <string>

class TSysOper {
public:
    TSysOper() = delete;

    // The folder of the running program file, ending with its separator
    // (C:\Capture\ for C:\Capture\Finger_KV90.exe); "" if it cannot be had.
    static std::string GetAppPath();

    // Appends "yyyy-mm-dd hh:nn:ss : <message>" and CR LF to
    // LogFiles\FINGERyyyymmdd.txt under the program folder, opening and closing
    // the file for this one line; bytes that make no GBK character (from a text
    // the host sent) are written as \xNN, so the file stays GBK. Never fails
    // towards its caller: a line that cannot be written is lost.
    static void WriteLog(const std::string& message) noexcept;

    // The text of the host's shared block FINGER_ACTIVEX_FILE; false when there is none.
    // Touches nothing of the program's own state, so a fault report can use it.
    static bool ReadHostBlock(std::string& text);

    // The host's window as its shared block FINGER_ACTIVEX_FILE names it,
    // stored into the data module's HostWnd; 0 when there is none.
    static HWND GetNetAPIHandle();

    // The same, into an explicit program folder (the tests' seam).
    static void WriteLogTo(const std::string& appPath, const std::string& message) noexcept;
};
