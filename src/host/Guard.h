#pragma once
#include <cstdint>
#include <exception>
#include <string>

#include "log/QuietLog.h"

// Runs `body` and turns any exception that escapes it into `failure` after a
// log line under `tag`: nothing may travel into the host's process.
template <typename Body>
int32_t guardedCall(const char* tag, int32_t failure, Body body) noexcept {
    const auto report = [&](const char* what) {
        logQuietly(tag, [&] {
            return logevent::format(logevent::Event::UnexpectedException,
                                    {{"what", what}, {"result", std::to_string(failure)}});
        });
    };
    try {
        return body();
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("unknown exception");
    }
    return failure;
}
