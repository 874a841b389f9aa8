#include "check/CheckXml.h"
#include "http/LastError.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

CheckInit initCheckXml(CheckXml& reader, const char* InpBuf, uint32_t InpLen,
                       const std::string& tag, Logger& log) noexcept {
    try {
        reader.init(InpBuf, InpLen, log);
        log.logMessage(tag, "checkXml.init(InpBuf) success");
        return CheckInit::Ready;
    } catch (...) {
        // The handler's own line must not turn the result into an escaping exception.
        logQuietly(log, tag, [] {
            return "Error: checkXml.init(InpBuf), Error code AFTER 25.07 " +
                   std::to_string(lastErrorCode);
        });
        return CheckInit::Failed;
    }
}
