#pragma once
#include <cstdint>

// Leading decimal number of a text, as stod reads it but independent of the
// process locale: blanks, sign, digits, point, exponent; the rest is ignored.
// Returns false when the text does not start with a number.
bool parseLeadingDouble(const char* text, double& value);

// atoi with a defined result for out-of-range text: it saturates at the
// 32-bit limits, as the Windows runtime's atoi does.
int32_t atoi32(const char* text);
