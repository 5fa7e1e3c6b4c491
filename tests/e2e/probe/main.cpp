// kv90probe: a console program that runs beside the capture program under the same
// Wine server and answers a test driver's questions about windows, messages and
// kernel objects. Requests arrive one per line on standard input; each gets exactly
// one JSON line on standard output.
#include "Commands.h"
#include "Text.h"
#include <windows.h>
#include <string>

namespace {

bool readLine(HANDLE in, std::string& pending, std::string& line) {
    for (;;) {
        size_t end = pending.find('\n');
        if (end != std::string::npos) {
            line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(in, buffer, sizeof buffer, &got, nullptr) || got == 0) return false;
        pending.append(buffer, got);
    }
}

void writeLine(HANDLE out, const std::string& text) {
    std::string line = text + "\n";
    size_t done = 0;
    while (done < line.size()) {
        DWORD wrote = 0;
        if (!WriteFile(out, line.data() + done, static_cast<DWORD>(line.size() - done), &wrote, nullptr) || wrote == 0)
            return;
        done += wrote;
    }
    FlushFileBuffers(out);
}

}  // namespace

int main() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    // A message box or crash dialog of the probe itself must never wait for an operator.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    std::string pending;
    std::string line;
    while (readLine(in, pending, line)) {
        bool quit = false;
        writeLine(out, runCommand(splitTabs(line), quit));
        if (quit) break;
    }
    return 0;
}
