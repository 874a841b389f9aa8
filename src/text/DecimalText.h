#pragma once

// Leading decimal number of a text, as stod reads it but independent of the
// process locale: blanks, sign, digits, point, exponent; the rest is ignored.
// Returns false when the text does not start with a number.
bool parseLeadingDouble(const char* text, double& value);
