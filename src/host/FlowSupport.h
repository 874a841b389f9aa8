#pragma once
#include <string>

#include "api/ReplyAccess.h"
#include "check/XmlErrors.h"
#include "http/Exchange.h"
#include "log/Logger.h"

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

// Runs a flow and turns every failure it did not anticipate (missing check
// content, a reply member missing or of another type, anything else) into
// result 1 after a log line under `tag`.
template <typename Flow>
int runFlowGuarded(const char* tag, Logger& log, Flow flow) {
    std::string reason;
    try {
        return flow();
    } catch (const ReplyFormatError& e) {
        reason = "ERROR service reply not usable: " + e.message;
    } catch (const XmlElementNotFound& e) {
        reason = "ERROR check not usable: " + e.message;
    } catch (const std::exception& e) {
        reason = std::string("ERROR unexpected failure: ") + e.what();
    } catch (...) {
        reason = "ERROR unexpected failure";
    }
    log.logMessage(tag, reason + " RETURN 1");
    return 1;
}
