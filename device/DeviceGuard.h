// Calls into the scanner's libraries may fault (an access violation inside
// the vendor's code). The guard turns such a system exception into an
// Exception with a message, so that the caller's own handler logs it and
// goes on, instead of the process ending.
#pragma once

#include "framework/Exception.h"

// A system exception raised inside a guarded call.
class EExternalException : public Exception {
public:
    using Exception::Exception;
};

// Runs call(context) and raises EExternalException when it faults.
void RunGuarded(void (*call)(void* context), void* context);

// True while the calling thread is inside RunGuarded: a fault there is the guard's to handle.
bool InsideGuardedCall();

// A device entry point: empty when its library lacks the name. An empty
// entry is never called; the call counts as one that did not succeed and
// yields the entry's failure value.
template <typename Fn>
class TDeviceEntry {
public:
    explicit TDeviceEntry(int failureValue = 0) : failure_(failureValue) {}
    TDeviceEntry& operator=(Fn fn) {
        fn_ = fn;
        return *this;
    }
    bool Assigned() const { return fn_ != nullptr; }
    Fn Get() const { return fn_; }

    template <typename... Args>
    int operator()(Args... args) const {
        if (!fn_) return failure_;
        int result = failure_;
        auto invoke = [&] { result = fn_(args...); };
        RunGuarded([](void* c) { (*static_cast<decltype(invoke)*>(c))(); }, &invoke);
        return result;
    }

private:
    Fn fn_ = nullptr;
    int failure_;
};
