// What the simulator was asked to do on its command line.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace hostsim {

struct Options {
    // The capture program to start, with its own folder as working directory.
    std::wstring startPath;
    // The person text to send as soon as the capture window is known.
    bool hasPerson = false;
    std::wstring person;
    // How the collected notification is answered: after a pause, or not at all.
    DWORD answerDelayMs = 0;
    bool neverAnswer = false;
    // How the host block appears: later, with other text, or not at all.
    DWORD lateBlockMs = 0;
    bool hasGarbageBlock = false;
    std::wstring garbageBlock;
    bool noBlock = false;
    bool quitOnClose = false;
    bool exitWithChild = false;
    // How long a message to the capture window may take before it counts as lost.
    DWORD sendTimeoutMs = 30000;
    bool help = false;
};

// The arguments after the program name. Returns false with a reason on the first
// argument it does not understand.
bool parseOptions(const std::vector<std::wstring>& arguments, Options& options, std::wstring& error);

// The program's own arguments, split as the C runtime would but in UTF-16, so
// that texts in any language survive whatever the ANSI code page is.
std::vector<std::wstring> commandLineArguments();

const char* usageText();

}  // namespace hostsim
