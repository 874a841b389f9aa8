#pragma once
// The local wall-clock time, taken from the system rather than from the C
// runtime: the runtime's time functions share their locale with the whole
// host process, and its 32-bit time runs out in 2038.
#include <cstdint>

namespace platform {

struct LocalTime {
    uint16_t year;
    uint16_t month;  // 1..12
    uint16_t day;    // 1..31
    uint16_t hour;   // 0..23
    uint16_t minute;
    uint16_t second;
};

// False when the system cannot give the local time.
bool localTime(LocalTime& out);

}  // namespace platform
