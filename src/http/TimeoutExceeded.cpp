#include "http/TimeoutExceeded.h"

namespace {
// "Время ожидания ответа истекло. Попробуйте повторить запрос позже." in
// Windows-1251 (65 bytes), shown to the cashier.
constexpr char kTimeoutText[] =
    "\xc2\xf0\xe5\xec\xff \xee\xe6\xe8\xe4\xe0\xed\xe8\xff \xee\xf2\xe2\xe5\xf2\xe0 "
    "\xe8\xf1\xf2\xe5\xea\xeb\xee. \xcf\xee\xef\xf0\xee\xe1\xf3\xe9\xf2\xe5 "
    "\xef\xee\xe2\xf2\xee\xf0\xe8\xf2\xfc \xe7\xe0\xef\xf0\xee\xf1 \xef\xee\xe7\xe6\xe5.";
static_assert(sizeof kTimeoutText == 66, "65 bytes of text and the zero byte");
}  // namespace

TimeoutExceeded::TimeoutExceeded() : message(kTimeoutText, sizeof kTimeoutText - 1) {}
