// Wall-clock stamps for the notification list and the output lines.
#pragma once
#include <windows.h>
#include <string>

namespace hostsim {

// hh:nn:ss.zzz, 24-hour, zero-padded.
std::string formatTimeOfDay(const SYSTEMTIME& time);
std::string timeOfDayNow();

}  // namespace hostsim
