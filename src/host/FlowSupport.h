#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "api/ReplyAccess.h"
#include "check/XmlErrors.h"
#include "http/Exchange.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

// What a step of a flow gives back: a result when the step ends the call with
// it, none when the call goes on to its common end.
using EarlyResult = std::optional<int32_t>;

// The connection a flow opened never outlives the flow: whatever path ends it,
// the handles are closed on the way out (closing twice is harmless).
class ConnectionCloser {
  public:
    explicit ConnectionCloser(HttpClient& client) : client_(client) {}
    ~ConnectionCloser() { client_.close(); }
    ConnectionCloser(const ConnectionCloser&) = delete;
    ConnectionCloser& operator=(const ConnectionCloser&) = delete;

  private:
    HttpClient& client_;
};

// Closes the flow's connection once the service has answered, with the lines
// both flows write for it.
inline void closeConnection(const char* tag, HttpClient& client, Logger& log) {
    try {
        log.log(tag, logevent::Event::ClosingConnection);
        client.close();
        log.log(tag, logevent::Event::ConnectionClosed);
    } catch (...) {
        logQuietly(log, tag, [] {
            return logevent::format(logevent::Event::CloseFailed,
                                    {{"code", std::to_string(lastErrorCode)}});
        });
    }
}

// Runs a flow and turns every failure it did not anticipate (missing check
// content, a reply member missing or of another type, anything else) into
// result 1 after a log line under `tag`.
template <typename Flow>
int runFlowGuarded(const char* tag, Logger& log, Flow flow) noexcept {
    const auto fail = [&](logevent::Event event, const char* what) {
        logQuietly(log, tag, [&] { return logevent::format(event, {{"what", what}}); });
        return 1;
    };
    try {
        return flow();
    } catch (const ReplyFormatError& e) {
        return fail(logevent::Event::ReplyNotUsable, e.message.c_str());
    } catch (const XmlElementNotFound& e) {
        return fail(logevent::Event::CheckNotUsable, e.message.c_str());
    } catch (const std::exception& e) {
        return fail(logevent::Event::UnexpectedFailureWhat, e.what());
    } catch (...) {
        return fail(logevent::Event::UnexpectedFailure, "");
    }
}
