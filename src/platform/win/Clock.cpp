#include "platform/Clock.h"

#include <windows.h>

namespace platform {

bool localTime(LocalTime& out) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    out = LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    return true;
}

}  // namespace platform
