#pragma once
#include <cstdint>
#include <exception>
#include <string>

#include "log/Logger.h"

// Runs `body` and turns any exception that escapes it into `failure` after a
// log line under `tag`: nothing may travel into the host's process.
template <typename Body>
int32_t guardedCall(const char* tag, int32_t failure, Body body) noexcept {
    std::string what;
    try {
        return body();
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "unknown exception";
    }
    try {
        Logger().logMessage(tag, "ERROR unexpected exception (" + what + ") RETURN " +
                                     std::to_string(failure));
    } catch (...) {
        // Out of memory while reporting: the result alone must do.
    }
    return failure;
}
