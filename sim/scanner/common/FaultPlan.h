#pragma once
// Decides, call by call, what each entry point does under the control file:
// its real result, a forced result or a structured exception.  The position in
// every script starts again whenever the control file is read again, so that a
// test that rewrites the file knows where it stands.

#include <array>

#include "Settings.h"

namespace kv90sim {

class FaultPlan {
public:
    void Restart();

    // The outcome of the next call of `entry`; a fetch also counts towards
    // FailFetchAt and ExceptionAt, which take precedence over its script.
    Outcome Next(const Settings& settings, Entry entry);

    int fetchCount() const { return fetches_; }

private:
    std::array<size_t, kEntryCount> used_{};
    int fetches_ = 0;
};

}  // namespace kv90sim
