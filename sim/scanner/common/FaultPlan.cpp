#include "FaultPlan.h"

#include <algorithm>

namespace kv90sim {
namespace {

bool Contains(const std::vector<int>& numbers, int n) {
    return std::find(numbers.begin(), numbers.end(), n) != numbers.end();
}

}  // namespace

void FaultPlan::Restart() {
    used_.fill(0);
    fetches_ = 0;
}

Outcome FaultPlan::Next(const Settings& settings, Entry entry) {
    const int index = static_cast<int>(entry);
    if (entry == Entry::LivescanGetFPRawData) {
        ++fetches_;
        if (Contains(settings.exceptionAt, fetches_)) {
            Outcome raise;
            raise.kind = Outcome::Kind::Raise;
            raise.code = kDefaultRaiseCode;
            return raise;
        }
        if (Contains(settings.failFetchAt, fetches_)) {
            Outcome fail;
            fail.kind = Outcome::Kind::Value;
            fail.value = 0;
            return fail;
        }
    }
    const std::vector<Outcome>& script = settings.results[index];
    if (script.empty()) return Outcome{};
    const size_t at = std::min(used_[index], script.size() - 1);
    if (used_[index] < script.size()) ++used_[index];
    return script[at];
}

}  // namespace kv90sim
