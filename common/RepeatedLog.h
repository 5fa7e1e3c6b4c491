// A log for a loop that may fail the same way on every pass (a scanner that
// faults on every frame fails 25 times a second). A line is written when it
// first comes; while it keeps repeating, only a count of its repeats is
// written, at most once a minute, and once more when another line comes or
// the loop ends. A day's log stays small and says the same.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TRepeatedLog {
public:
    using Writer = std::function<void(const std::string&)>;
    using Clock = std::function<uint64_t()>;  // milliseconds

    // The log writer and the clock by default; others for tests.
    TRepeatedLog();
    TRepeatedLog(Writer writer, Clock clock);
    ~TRepeatedLog() { Flush(); }
    TRepeatedLog(const TRepeatedLog&) = delete;
    TRepeatedLog& operator=(const TRepeatedLog&) = delete;

    void Write(const std::string& line);
    // Writes the count of repeats not yet written.
    void Flush();

    static constexpr uint64_t kSummaryIntervalMs = 60000;

private:
    void WriteSummary();

    Writer writer_;
    Clock clock_;
    std::string last_;
    uint64_t repeats_ = 0;
    uint64_t lastWritten_ = 0;
};
