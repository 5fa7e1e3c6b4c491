#include "records/RecordTime.h"

#include <ctime>

namespace kv90rec {

RecordTime RecordTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_s(&utc, &now);
    RecordTime time;
    time.year = utc.tm_year + 1900;
    time.month = utc.tm_mon + 1;
    time.day = utc.tm_mday;
    time.hour = utc.tm_hour;
    time.minute = utc.tm_min;
    time.second = utc.tm_sec;
    return time;
}

}  // namespace kv90rec
