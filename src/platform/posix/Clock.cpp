#include "platform/Clock.h"

#include <ctime>

namespace platform {

bool localTime(LocalTime& out) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) return false;
    out = LocalTime{
        static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint16_t>(local.tm_mon + 1),
        static_cast<uint16_t>(local.tm_mday),        static_cast<uint16_t>(local.tm_hour),
        static_cast<uint16_t>(local.tm_min),         static_cast<uint16_t>(local.tm_sec)};
    return true;
}

}  // namespace platform
