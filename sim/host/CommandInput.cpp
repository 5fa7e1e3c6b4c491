#include "CommandInput.h"

#include "Commands.h"

#include <deque>
#include <mutex>
#include <thread>

namespace hostsim {

struct CommandInput::Shared {
    std::mutex lock;
    std::deque<std::string> lines;
    HANDLE input = nullptr;
    HWND window = nullptr;
    UINT message = 0;
    UrgentHandler urgent;
};

namespace {

void deliver(CommandInput::UrgentHandler& urgent, std::mutex& lock, std::deque<std::string>& lines, HWND window,
             UINT message, std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (isUrgentCommand(line) && urgent) urgent(line);
    {
        std::lock_guard<std::mutex> guard(lock);
        lines.push_back(line);
    }
    PostMessageW(window, message, 0, 0);
}

}  // namespace

void CommandInput::start(HWND window, UINT message, UrgentHandler urgent) {
    if (shared_) return;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) return;
    shared_ = std::make_shared<Shared>();
    shared_->input = input;
    shared_->window = window;
    shared_->message = message;
    shared_->urgent = std::move(urgent);

    std::shared_ptr<Shared> shared = shared_;
    // Detached: a read on a pipe cannot be interrupted portably, and the process
    // ending takes the thread with it.
    std::thread([shared]() {
        std::string pending;
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(shared->input, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
            pending.append(buffer, got);
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                deliver(shared->urgent, shared->lock, shared->lines, shared->window, shared->message,
                        pending.substr(0, end));
                pending.erase(0, end + 1);
            }
        }
        if (!pending.empty())
            deliver(shared->urgent, shared->lock, shared->lines, shared->window, shared->message, pending);
    }).detach();
}

std::vector<std::string> CommandInput::take() {
    std::vector<std::string> result;
    if (!shared_) return result;
    std::lock_guard<std::mutex> guard(shared_->lock);
    result.assign(shared_->lines.begin(), shared_->lines.end());
    shared_->lines.clear();
    return result;
}

}  // namespace hostsim
