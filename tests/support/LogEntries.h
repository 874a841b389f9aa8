#pragma once
// Where the entries of a brisvane.log text start: at each "[MM-DD-YYYY HH:MM:SS] ".
// Shared by the soak test and the call benchmark, which both cut a call's log apart.
#include <cstddef>
#include <string>
#include <vector>

inline std::vector<std::size_t> logEntryStarts(const std::string& log) {
    static const char shape[] = "[dd-dd-dddd dd:dd:dd] ";
    const std::size_t n = sizeof shape - 1;
    std::vector<std::size_t> starts;
    for (std::size_t p = log.find('['); p != std::string::npos && p + n <= log.size();
         p = log.find('[', p + 1)) {
        bool match = true;
        for (std::size_t i = 0; i < n && match; ++i)
            match = shape[i] == 'd' ? (log[p + i] >= '0' && log[p + i] <= '9')
                                    : log[p + i] == shape[i];
        if (match) starts.push_back(p);
    }
    return starts;
}
