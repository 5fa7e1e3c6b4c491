// KV90HostSim.exe run as a test driver runs it: its standard input and output are
// pipes, one command line in, event lines out.
#pragma once
#include <windows.h>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

class SimProcess {
public:
    explicit SimProcess(const std::wstring& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    void send(const std::string& line);
    // The first line not yet taken that starts with the prefix; lines before it
    // stay for later calls. Empty after the timeout.
    std::string waitLine(const std::string& prefix, DWORD timeoutMs = 10000);
    // Every line seen so far, taken or not.
    std::vector<std::string> allLines();
    bool waitExit(DWORD timeoutMs, DWORD& exitCode);
    // The host's window, from its first line.
    HWND hostWindow();

private:
    static DWORD WINAPI readerMain(void* self);

    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    HANDLE reader_ = nullptr;
    std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<std::string> lines_;
    std::vector<bool> taken_;
    bool ended_ = false;
};

// The value of "key=" in an event line, or empty.
std::string field(const std::string& line, const std::string& key);
