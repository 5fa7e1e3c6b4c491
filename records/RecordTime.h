// The moment a record is written, in UTC, as the records' date fields take it.
#pragma once

namespace kv90rec {

struct RecordTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The system's clock now, in UTC.
RecordTime RecordTimeNow();

}  // namespace kv90rec
