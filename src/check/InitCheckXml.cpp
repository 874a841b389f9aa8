#include "check/CheckXml.h"
#include "http/LastError.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

CheckInit initCheckXml(CheckXml& reader, const char* InpBuf, uint32_t InpLen,
                       const std::string& tag, Logger& log) noexcept {
    try {
        reader.init(InpBuf, InpLen, log);
        log.log(tag, logevent::Event::CheckInitSuccess);
        return CheckInit::Ready;
    } catch (...) {
        // The handler's own line must not turn the result into an escaping exception.
        logQuietly(log, tag, [] {
            return logevent::format(logevent::Event::CheckInitFailed,
                                    {{"code", std::to_string(lastErrorCode)}});
        });
        return CheckInit::Failed;
    }
}
