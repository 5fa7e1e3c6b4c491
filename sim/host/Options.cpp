#include "Options.h"

#include "NumberText.h"
#include "LinkCore.h"

#include <shellapi.h>

namespace hostsim {

namespace {

// A day is more than any test waits, and keeps the value within a DWORD of milliseconds.
constexpr std::uint64_t kMaxMilliseconds = 24ull * 3600ull * 1000ull;

bool parseMilliseconds(const std::wstring& text, DWORD& value) {
    std::uint64_t parsed = 0;
    if (!parseUnsigned(toUtf8(text), kMaxMilliseconds, parsed)) return false;
    value = static_cast<DWORD>(parsed);
    return true;
}

}  // namespace

bool parseOptions(const std::vector<std::wstring>& arguments, Options& options, std::wstring& error) {
    Options result;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& name = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        auto takeValue = [&](std::wstring& value) {
            if (!hasValue) {
                error = name + L" needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };
        auto takeMilliseconds = [&](DWORD& value) {
            std::wstring text;
            if (!takeValue(text)) return false;
            if (!parseMilliseconds(text, value)) {
                error = name + L" needs a number of milliseconds, not \"" + text + L"\"";
                return false;
            }
            return true;
        };

        if (name == L"--start") {
            if (!takeValue(result.startPath)) return false;
            if (result.startPath.empty()) {
                error = L"--start needs a program path";
                return false;
            }
        } else if (name == L"--person") {
            if (!takeValue(result.person)) return false;
            result.hasPerson = true;
        } else if (name == L"--answer-delay") {
            if (!takeMilliseconds(result.answerDelayMs)) return false;
        } else if (name == L"--never-answer") {
            result.neverAnswer = true;
        } else if (name == L"--late-block") {
            if (!takeMilliseconds(result.lateBlockMs)) return false;
        } else if (name == L"--garbage-block") {
            if (!takeValue(result.garbageBlock)) return false;
            result.hasGarbageBlock = true;
        } else if (name == L"--no-block") {
            result.noBlock = true;
        } else if (name == L"--quit-on-close") {
            result.quitOnClose = true;
        } else if (name == L"--exit-with-child") {
            result.exitWithChild = true;
        } else if (name == L"--send-timeout") {
            if (!takeMilliseconds(result.sendTimeoutMs)) return false;
        } else if (name == L"--help" || name == L"-h" || name == L"/?") {
            result.help = true;
        } else {
            error = L"unknown argument \"" + name + L"\"";
            return false;
        }
    }
    if (result.noBlock && (result.lateBlockMs != 0 || result.hasGarbageBlock)) {
        error = L"--no-block cannot be combined with --late-block or --garbage-block";
        return false;
    }
    if (result.exitWithChild && result.startPath.empty()) {
        error = L"--exit-with-child needs --start";
        return false;
    }
    options = result;
    return true;
}

std::vector<std::wstring> commandLineArguments() {
    std::vector<std::wstring> result;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list) return result;
    for (int i = 1; i < count; ++i) result.emplace_back(list[i]);
    LocalFree(list);
    return result;
}

const char* usageText() {
    return "usage: KV90HostSim.exe [--start PATH] [--person KEY$NAME] [--answer-delay MS] [--never-answer]\n"
           "                       [--late-block MS] [--garbage-block TEXT] [--no-block] [--quit-on-close]\n"
           "                       [--exit-with-child] [--send-timeout MS]\n"
           "standard input commands: person TEXT | close [send] | active CODE [send] [lparam=N]\n"
           "  | copydata-hex HEX|- [cb=N] [dw=N] | copydata-fill BYTE COUNT [cb=N] [dw=N] | copydata-null [cb=N] "
           "[dw=N]\n"
           "  | block create [TEXT] | block remove | release | status | quit\n";
}

}  // namespace hostsim
