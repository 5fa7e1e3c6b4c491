// Refused requests in the log: each kind of refusal once per caller, so that a
// hostile page sending thousands of requests cannot fill the disk, and a
// bounded number of callers in all.
#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>

class RefusalLog {
public:
    using Writer = std::function<void(const std::string&)>;
    static constexpr size_t kMaxKinds = 200;

    explicit RefusalLog(Writer writer) : writer_(std::move(writer)) {}

    // caller: the Origin, "" for none; reason: the refusal's fixed text.
    void Refused(const std::string& caller, const std::string& reason);

private:
    Writer writer_;
    std::mutex mutex_;
    std::set<std::string> seen_;
    bool full_ = false;
};
