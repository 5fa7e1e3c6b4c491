#include "SimProcess.h"

#include <chrono>

#ifndef KV90_HOSTSIM_EXE
#error KV90_HOSTSIM_EXE must name the simulator program
#endif

SimProcess::SimProcess(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childInput = nullptr;
    HANDLE childOutput = nullptr;
    if (!CreatePipe(&childInput, &input_, &inherit, 0)) return;
    if (!CreatePipe(&output_, &childOutput, &inherit, 0)) {
        CloseHandle(childInput);
        return;
    }
    // Only the child's ends are inherited.
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

    const std::wstring program = L"" KV90_HOSTSIM_EXE;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
    CloseHandle(childInput);
    CloseHandle(childOutput);
    reader_ = CreateThread(nullptr, 0, &SimProcess::readerMain, this, 0, nullptr);
}

SimProcess::~SimProcess() {
    if (input_) CloseHandle(input_);
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 10000);
        }
        CloseHandle(process_);
    }
    if (reader_) {
        WaitForSingleObject(reader_, 10000);
        CloseHandle(reader_);
    }
    if (output_) CloseHandle(output_);
}

void SimProcess::send(const std::string& line) {
    const std::string bytes = line + "\n";
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        if (!WriteFile(input_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote, nullptr) ||
            wrote == 0)
            return;
        done += wrote;
    }
}

std::string SimProcess::waitLine(const std::string& prefix, DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    std::string found;
    auto take = [&] {
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (!taken_[i] && lines_[i].compare(0, prefix.size(), prefix) == 0) {
                taken_[i] = true;
                found = lines_[i];
                return true;
            }
        }
        return ended_;
    };
    arrived_.wait_for(guard, std::chrono::milliseconds(timeoutMs), take);
    return found;
}

std::vector<std::string> SimProcess::allLines() {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_;
}

bool SimProcess::waitExit(DWORD timeoutMs, DWORD& exitCode) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_, &exitCode) != FALSE;
}

HWND SimProcess::hostWindow() {
    const std::string line = waitLine("host ");
    const std::string value = field(line, "hwnd");
    if (value.empty()) return nullptr;
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::stoul(value)));
}

DWORD WINAPI SimProcess::readerMain(void* parameter) {
    SimProcess* self = static_cast<SimProcess*>(parameter);
    std::string pending;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(self->output_, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
        pending.append(buffer, got);
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            {
                std::lock_guard<std::mutex> guard(self->lock_);
                self->lines_.push_back(pending.substr(0, end));
                self->taken_.push_back(false);
            }
            self->arrived_.notify_all();
            pending.erase(0, end + 1);
        }
    }
    {
        std::lock_guard<std::mutex> guard(self->lock_);
        self->ended_ = true;
    }
    self->arrived_.notify_all();
    return 0;
}

std::string field(const std::string& line, const std::string& key) {
    const std::string marker = key + "=";
    size_t at = 0;
    while ((at = line.find(marker, at)) != std::string::npos) {
        if (at == 0 || line[at - 1] == ' ') {
            const size_t start = at + marker.size();
            const size_t end = line.find(' ', start);
            return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
        }
        at += marker.size();
    }
    return {};
}
