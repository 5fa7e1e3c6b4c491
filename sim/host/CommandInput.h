// Standard input as a stream of command lines for the window thread. A thread of
// its own does the blocking reads, so that the window keeps answering while no
// command comes.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hostsim {

class CommandInput {
public:
    using UrgentHandler = std::function<void(const std::string& line)>;

    // Starts reading if the process has a standard input. Every complete line is
    // queued and `message` is posted to `window`; a line that isUrgentCommand()
    // also goes to `urgent` at once, on the reader thread.
    void start(HWND window, UINT message, UrgentHandler urgent);
    // The lines queued since the last call, oldest first.
    std::vector<std::string> take();

private:
    struct Shared;
    // Shared with the reader thread, which may still sit in a read when the
    // simulator ends.
    std::shared_ptr<Shared> shared_;
};

}  // namespace hostsim
