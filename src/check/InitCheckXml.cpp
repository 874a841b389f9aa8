#include <exception>

#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/LastError.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

namespace {
using logevent::Event;

// A handler's own line must not turn its result into an escaping exception.
int logAndReturn(Logger& log, const std::string& tag, Event event, const char* name,
                 const std::string& value, int result) noexcept {
    logQuietly(log, tag, [&] { return logevent::format(event, {{name, value}}); });
    return result;
}

int logOtherFailure(Logger& log, const std::string& tag) noexcept {
    return logAndReturn(log, tag, Event::CheckInitFailed, "code", std::to_string(lastErrorCode), 1);
}
}  // namespace

int runCheckInit(const std::function<void()>& initStep, const std::string& tag,
                 Logger& log) noexcept {
    try {
        initStep();
        log.log(tag, Event::CheckInitSuccess);
        return 0;
    } catch (const CheckdataNotFound&) {
        return logAndReturn(log, tag, Event::CheckDataMissing, "", {}, 2);
    } catch (const XmlElementNotFound& e) {
        return logAndReturn(log, tag, Event::CheckInitMissing, "missing", e.message, 1);
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
