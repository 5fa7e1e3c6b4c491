// The simulated host control: it owns the host's side of the link (its window,
// its shared block, the started capture program) and decides what happens on
// each notification, button and command line.
#pragma once
#include "AnswerGate.h"
#include "CommandInput.h"
#include "Commands.h"
#include "LinkCore.h"
#include "MainWindow.h"
#include "Options.h"

#include <string>

namespace hostsim {

class HostSimulator : private WindowEvents {
public:
    explicit HostSimulator(const Options& options);
    // Runs until told to quit, the window is closed, or (as asked) the capture
    // program closes or ends. Returns the process exit code.
    int run();

private:
    // WindowEvents
    void fingerMessage(WPARAM code, LPARAM value, bool sent) override;
    void commandsWaiting() override;
    void personRequested(const std::wstring& text) override;
    void commandRequested(WPARAM code) override;
    void timerElapsed(UINT_PTR id) override;
    void windowDestroyed() override;

    void report(const std::string& line);
    void refreshStatus();
    void createBlock(const std::string& ansiText, const char* prefix);
    void startChild();
    void childEnded();
    void lookForCaptureWindowAtStart();
    void onReady(LPARAM value);
    void onCollected(LPARAM value);
    // The capture window to talk to, found again from its block if the one known
    // is gone; 0 if there is none.
    HWND captureTarget();
    void adoptCaptureWindow(HWND window, const char* source);
    void sendAutomaticPerson();
    // "text=... cb=... hex=... result=..." or "reason=...", and whether it arrived.
    bool sendPerson(const std::wstring& text, std::string& details);
    bool sendActive(WPARAM code, LPARAM value, bool send, std::string& details);
    void runCommand(const Command& command);
    void quit(int exitCode, const char* reason);

    Options options_;
    MessageIds ids_;
    MainWindow window_;
    HostBlock block_;
    ChildProcess child_;
    AnswerGate gate_;
    CommandInput input_;
    HWND captureWindow_ = nullptr;
    HWND personSentTo_ = nullptr;
    bool quitting_ = false;
    int exitCode_ = 0;
};

}  // namespace hostsim
