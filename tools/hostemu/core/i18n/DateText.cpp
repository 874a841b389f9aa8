#include "i18n/DateText.h"

#include <cstdio>

#include "log/LogFormat.h"

CivilTime civilTime(long long seconds) {
    long long days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Howard Hinnant's days-to-civil.
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    t.year = yoe + era * 400 + (t.month <= 2);
    t.hour = static_cast<unsigned>(rest / 3600);
    t.minute = static_cast<unsigned>(rest % 3600 / 60);
    t.second = static_cast<unsigned>(rest % 60);
    return t;
}

std::string dateText(Language language, const CivilTime& t, DateParts parts, EnglishDate english) {
    char day[40];
    const bool russian = language == Language::Russian;
    if (parts == DateParts::ShortDay) {
        std::snprintf(day, sizeof day, russian ? "%02u.%02u" : "%02u-%02u",
                      russian ? t.day : t.month, russian ? t.month : t.day);
        return day;
    }
    if (russian) {
        std::snprintf(day, sizeof day, "%02u.%02u.%04lld", t.day, t.month, t.year);
    } else if (english == EnglishDate::LogStamp) {
        std::snprintf(day, sizeof day, "%02u-%02u-%04lld", t.month, t.day, t.year);
    } else {
        std::snprintf(day, sizeof day, "%04lld-%02u-%02u", t.year, t.month, t.day);
    }
    char time[16];
    switch (parts) {
        case DateParts::Minute:
            std::snprintf(time, sizeof time, " %02u:%02u", t.hour, t.minute);
            break;
        case DateParts::Second:
            std::snprintf(time, sizeof time, " %02u:%02u:%02u", t.hour, t.minute, t.second);
            break;
        default: time[0] = '\0';
    }
    return std::string(day) + time;
}

std::string shownStamp(Language language, const std::string& stamp) {
    if (language != Language::Russian) return stamp;
    const long long seconds = logformat::stampSeconds(stamp);
    if (seconds == logformat::kNoStamp) return stamp;
    return dateText(language, civilTime(seconds), DateParts::Second, EnglishDate::LogStamp);
}
