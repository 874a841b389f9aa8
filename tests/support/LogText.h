#pragma once
// What the tests know of brisvane.log's layout, written once: the line end,
// the stamp, an entry as the module writes it, a reply dump, the dump of an
// absent record, and where entries start.
#include <cstddef>
#include <regex>
#include <string>
#include <vector>

namespace logtext {

// The log is written in text mode: the Windows runtime stores LF as CR LF.
#ifdef _WIN32
inline const std::string kEol = "\r\n";
#else
inline const std::string kEol = "\n";
#endif

// A stamp as the log writes it: [MM-DD-YYYY HH:MM:SS]
inline const char* kStampPattern =
    R"(\[[0-1][0-9]-[0-3][0-9]-[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9]\])";

// The log with every stamp replaced by "[S]".
inline std::string stampless(const std::string& log) {
    return std::regex_replace(log, std::regex(kStampPattern), "[S]");
}

// One entry as stampless() shows it.
inline std::string entry(const std::string& tag, const std::string& message) {
    return "[S] " + tag + " : " + message + kEol;
}

// The dump of a reply as stampless() shows it.
inline std::string answer(const std::string& path, const std::string& reply) {
    return "[S] ANSWER FROM URL " + path + " " + kEol + reply + kEol;
}

// The dump of an absent card record: no line feed after "NULL", so the next
// entry goes on on the same line.
inline std::string nullDump(const std::string& tag) {
    return "[S] " + tag + " : Info - " + kEol + "NULL";
}

// Where the entries of a log text start: at each "[MM-DD-YYYY HH:MM:SS] ".
inline std::vector<std::size_t> logEntryStarts(const std::string& log) {
    static const char shape[] = "[dd-dd-dddd dd:dd:dd] ";
    const std::size_t n = sizeof shape - 1;
    std::vector<std::size_t> starts;
    for (std::size_t p = log.find('['); p != std::string::npos && p + n <= log.size();
         p = log.find('[', p + 1)) {
        bool match = true;
        for (std::size_t i = 0; i < n && match; ++i)
            match =
                shape[i] == 'd' ? (log[p + i] >= '0' && log[p + i] <= '9') : log[p + i] == shape[i];
        if (match) starts.push_back(p);
    }
    return starts;
}

}  // namespace logtext
