#pragma once
#include <string>

#include "log/Logger.h"

// Writes one entry whose message `build()` returns, and swallows any failure to
// build or write it. For the lines of failure paths: the result they report
// must reach the host even when the report itself cannot be made (out of
// memory, say).
template <typename Build>
void logQuietly(Logger& log, const std::string& tag, Build build) noexcept {
    try {
        log.logMessage(tag, build());
    } catch (...) {
    }
}

// The same with a Logger of its own, for callers that have none at hand.
template <typename Build>
void logQuietly(const char* tag, Build build) noexcept {
    try {
        Logger log;
        log.logMessage(tag, build());
    } catch (...) {
    }
}
