#pragma once
// Dates in hostemu's own sentences, in the reader's language: English keeps
// the forms each report has always printed; Russian reads the day first with
// dots ("07.12.2026 18:23:30", chart labels "07.12"). Log lines, request
// bodies and JSON never come through here: they keep the log's and the
// machines' forms.
#include <string>

#include "i18n/Messages.h"

struct CivilTime {
    long long year = 1970;
    unsigned month = 1, day = 1;
    unsigned hour = 0, minute = 0, second = 0;
};

// The calendar time `seconds` after 1970-01-01 00:00:00 (before it when
// negative), in whatever zone the seconds count.
CivilTime civilTime(long long seconds);

// How much of the time is shown.
enum class DateParts { ShortDay, Day, Minute, Second };
// The English form a report keeps: the log's stamp ("12-07-2026 18:23:30",
// month first) or ISO ("2026-12-07 18:23").
enum class EnglishDate { LogStamp, Iso };

// The one place a date for people is formatted.
std::string dateText(Language language, const CivilTime& time, DateParts parts,
                     EnglishDate english);

// A log's stamp in a sentence: English as the log writes it; Russian day
// first, 24-hour. A stamp hostemu cannot read stays as written.
std::string shownStamp(Language language, const std::string& stamp);
