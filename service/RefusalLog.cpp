// Logging refusals without letting callers choose how much is written.
#include "service/RefusalLog.h"

namespace {

// The caller's text is the caller's choice: cut short and kept printable.
std::string Printable(const std::string& text) {
    std::string shown;
    for (char c : text.substr(0, 120)) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
    return shown;
}

}  // namespace

void RefusalLog::Refused(const std::string& caller, const std::string& reason) {
    const std::string from = caller.empty() ? std::string("(无Origin)") : Printable(caller);
    const std::string line = "网页采集服务拒绝请求,来源" + from + ",原因:" + reason;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (seen_.count(line)) return;
        if (seen_.size() >= kMaxKinds) {
            if (full_) return;
            full_ = true;
            writer_("网页采集服务拒绝的请求过多,此后的拒绝不再记录");
            return;
        }
        seen_.insert(line);
    }
    writer_(line);
}
