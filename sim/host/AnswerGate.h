// How the host answers the collected notification, which the capture program sends
// and waits on: at once, after a pause, or not until told. The hold happens inside
// the window procedure on purpose, as a slow or hung host control would do.
#pragma once
#include "framework/HandleOwners.h"

namespace hostsim {

class AnswerGate {
public:
    enum class Outcome { AtOnce, AfterDelay, Released, Quitting };

    AnswerGate(DWORD delayMs, bool never);

    // Blocks the calling thread as configured. Any thread may end the hold early.
    Outcome hold();
    // Lets the held answer go, or the next one if none is held now.
    void release();
    // Ends every hold from now on, so that the simulator can leave.
    void quit();
    // Forgets a release that found no held answer.
    void forgetRelease();

    DWORD delayMs() const { return delayMs_; }
    bool never() const { return never_; }

private:
    DWORD delayMs_;
    bool never_;
    UniqueHandle releaseEvent_;
    UniqueHandle quitEvent_;
};

const char* outcomeName(AnswerGate::Outcome outcome);

}  // namespace hostsim
