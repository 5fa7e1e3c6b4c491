#pragma once
// Every entry point runs through here: the control file may replace its result
// or make it raise a structured exception, and the journal records the call.
// Exceptions are raised with no lock held, because the caller's handler
// unwinds past this code without running destructors.

#include <cstdint>
#include <string>

#include "Control.h"

namespace kv90sim {

// Returned when a caller's exception handler resumes after a raised fault.
inline constexpr int kResultAfterFault = -9;

void RaiseFault(std::uint32_t code);

std::string JournalLine(Entry entry, const std::string& arguments, const std::string& outcome);

// `work` does what the device really does and returns its own result;
// `describe` renders the arguments, only when the journal wants them.
template <typename Work, typename Describe>
int Conclude(const CallPlan& plan, Entry entry, Work&& work, Describe&& describe) {
    if (plan.outcome.kind == Outcome::Kind::Raise) {
        if (plan.journal) Control::Instance().Journal(JournalLine(entry, describe(), "raise"));
        RaiseFault(plan.outcome.code);
        return kResultAfterFault;
    }
    const int real = work();
    const int result = plan.outcome.kind == Outcome::Kind::Value ? plan.outcome.value : real;
    if (plan.journal) Control::Instance().Journal(JournalLine(entry, describe(), "= " + std::to_string(result)));
    return result;
}

template <typename Work, typename Describe>
int CallThrough(Entry entry, Work&& work, Describe&& describe) {
    const CallPlan plan = Control::Instance().Begin(entry);
    return Conclude(plan, entry, work, describe);
}

}  // namespace kv90sim
