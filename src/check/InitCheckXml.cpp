#include <exception>

#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/LastError.h"
#include "log/LogPhrases.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

namespace {
// A handler's own line must not turn its result into an escaping exception.
int logAndReturn(Logger& log, const std::string& tag, const char* head, const std::string& tail,
                 int result) noexcept {
    logQuietly(log, tag, [&] { return head + tail; });
    return result;
}

int logOtherFailure(Logger& log, const std::string& tag) noexcept {
    logQuietly(log, tag, [] {
        return "Error: checkXml.init(InpBuf), Error code AFTER 25.07 " +
               std::to_string(lastErrorCode);
    });
    return 1;
}
}  // namespace

int runCheckInit(const std::function<void()>& initStep, const std::string& tag,
                 Logger& log) noexcept {
    try {
        initStep();
        log.logMessage(tag, "checkXml.init(InpBuf) success");
        return 0;
    } catch (const CheckdataNotFound&) {
        return logAndReturn(log, tag, logphrase::kCheckDataMissing, {}, 2);
    } catch (const XmlElementNotFound& e) {
        return logAndReturn(log, tag, "ERROR XmlElementNotFound& e AFTER 25.07 ", e.message, 1);
    } catch (...) {
        return logOtherFailure(log, tag);
    }
}

int initCheckXml(CheckXml& reader, const char* InpBuf, uint32_t InpLen, const std::string& tag,
                 Logger& log) noexcept {
    try {
        return runCheckInit([&] { reader.init(InpBuf, InpLen, log); }, tag, log);
    } catch (...) {
        return logOtherFailure(log, tag);  // the step itself could not be set up
    }
}
