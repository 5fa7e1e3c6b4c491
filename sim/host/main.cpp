// KV90HostSim: plays the host control of the fingerprint capture station, for
// integrators trying the station by hand and for automated tests.
#include "HostSimulator.h"
#include "Options.h"
#include "StandardOutput.h"
#include "LinkCore.h"

#include <windows.h>
#include <string>

namespace {

// Whether a parent gave the simulator somewhere to write; otherwise a person
// started it from the desktop and reads messages in boxes.
bool hasStandardOutput() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return out != nullptr && out != INVALID_HANDLE_VALUE;
}

void tell(const std::string& text, bool failure) {
    if (hasStandardOutput()) {
        hostsim::printLine(text);
        return;
    }
    const std::wstring wide = hostsim::fromUtf8OrAnsi(text);
    MessageBoxW(nullptr, wide.c_str(), L"KV90 主机模拟", MB_OK | (failure ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A failure of the simulator must end it, never wait for someone to click.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    hostsim::Options options;
    std::wstring error;
    if (!hostsim::parseOptions(hostsim::commandLineArguments(), options, error)) {
        tell("error options " + hostsim::toUtf8(error) + "\n" + hostsim::usageText(), true);
        return 2;
    }
    if (options.help) {
        tell(hostsim::usageText(), false);
        return 0;
    }
    hostsim::HostSimulator simulator(options);
    return simulator.run();
}
