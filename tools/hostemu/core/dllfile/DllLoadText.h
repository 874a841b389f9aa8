#pragma once
// What a failed load of brisvane.dll means to the person at the till, and
// what to do about it.
#include <string>

#include "i18n/Messages.h"

// "cannot load PATH (error N: meaning)" and, for the errors an installation
// meets, the next step; one or more lines, each ending in a line feed. The
// first line is a complaint (complaintText), the caller's to prefix.
std::string dllLoadFailure(const std::string& path, unsigned long error, const Catalog& catalog);
