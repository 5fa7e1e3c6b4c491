#include "AnswerGate.h"

namespace hostsim {

AnswerGate::AnswerGate(DWORD delayMs, bool never)
    : delayMs_(delayMs),
      never_(never),
      releaseEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      quitEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

AnswerGate::Outcome AnswerGate::hold() {
    if (!never_ && delayMs_ == 0) return Outcome::AtOnce;
    const HANDLE events[] = {quitEvent_.Get(), releaseEvent_.Get()};
    // A plain wait, not a message wait: the host is busy, so messages to its
    // window queue up meanwhile, as they would behind a hung control.
    const DWORD result = WaitForMultipleObjects(2, events, FALSE, never_ ? INFINITE : delayMs_);
    if (result == WAIT_OBJECT_0) return Outcome::Quitting;
    if (result == WAIT_OBJECT_0 + 1) return Outcome::Released;
    return Outcome::AfterDelay;
}

void AnswerGate::release() { SetEvent(releaseEvent_.Get()); }

void AnswerGate::quit() { SetEvent(quitEvent_.Get()); }

void AnswerGate::forgetRelease() { ResetEvent(releaseEvent_.Get()); }

const char* outcomeName(AnswerGate::Outcome outcome) {
    switch (outcome) {
    case AnswerGate::Outcome::AtOnce:
        return "at-once";
    case AnswerGate::Outcome::AfterDelay:
        return "after-delay";
    case AnswerGate::Outcome::Released:
        return "released";
    case AnswerGate::Outcome::Quitting:
        return "quitting";
    }
    return "?";
}

}  // namespace hostsim
