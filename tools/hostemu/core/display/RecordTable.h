#pragma once
#include <cstdint>
#include <string>

#include "i18n/Messages.h"

struct CardInfoRecord;

// Hundredths as a decimal amount: 125050 -> "1250.50".
std::string money(int64_t hundredths);

// The record as the till would show it: field names, values, texts decoded
// from Windows-1251. `brief` leaves out zero amounts and empty texts. The
// field names are the record's own in every language.
std::string recordTable(const CardInfoRecord& record, bool brief, const Catalog& catalog);
