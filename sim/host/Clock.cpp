#include "Clock.h"

#include <cstdio>

namespace hostsim {

std::string formatTimeOfDay(const SYSTEMTIME& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", static_cast<unsigned>(time.wHour) % 100u,
                  static_cast<unsigned>(time.wMinute) % 100u, static_cast<unsigned>(time.wSecond) % 100u,
                  static_cast<unsigned>(time.wMilliseconds) % 1000u);
    return text;
}

std::string timeOfDayNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return formatTimeOfDay(now);
}

}  // namespace hostsim
