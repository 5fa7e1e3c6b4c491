#include "common/RepeatedLog.h"

#include "common/SysOper.h"
#include "framework/SysUtils.h"

#include <windows.h>

TRepeatedLog::TRepeatedLog()
    : TRepeatedLog([](const std::string& line) { TSysOper::WriteLog(line); }, [] { return GetTickCount64(); }) {}

TRepeatedLog::TRepeatedLog(Writer writer, Clock clock) : writer_(std::move(writer)), clock_(std::move(clock)) {}

void TRepeatedLog::Write(const std::string& line) {
    if (line == last_ && !last_.empty()) {
        ++repeats_;
        if (clock_() - lastWritten_ >= kSummaryIntervalMs) WriteSummary();
        return;
    }
    Flush();
    last_ = line;
    lastWritten_ = clock_();
    writer_(line);
}

void TRepeatedLog::Flush() {
    if (repeats_ > 0) WriteSummary();
}

void TRepeatedLog::WriteSummary() {
    writer_("上一条信息又重复出现" + IntToStr(static_cast<long long>(repeats_)) + "次:" + last_);
    repeats_ = 0;
    lastWritten_ = clock_();
}
