// GuestInfo: one exchange through the module's own transport (the DLL's
// WinInet calls, flags and time-outs) for a card that names nobody. Its log
// goes to a scratch folder, never the till's.
#include <windows.h>

#include "NetProbes.h"
#include "NetworkSteps.h"
#include "ScratchFolder.h"
#include "api/GuestInfo.h"
#include "http/Exchange.h"
#include "http/HttpClient.h"
#include "http/LastError.h"
#include "http/ServicePaths.h"
#include "log/Logger.h"

namespace {

// A card token that no guest has: the exchange shows that the service
// answers without touching anyone's account.
constexpr int64_t kNobody = 0;

}  // namespace

StepVerdict guestInfoStep(CheckContext& c) {
    const std::string path = servicepath::kGuestInfo + c.token;
    const std::string body = buildGuestInfoBody(kNobody);
    ScratchFolder scratch;
    if (!scratch.ready()) return StepVerdict::failed("GuestInfo", "", c.text("check.no-scratch"));
    Logger logger;
    HttpClient client;
    if (client.init(c.host, c.secure) != 0) {
        return StepVerdict::failed(
            "GuestInfo", c.text("check.wininet-cannot-open", {{"why", systemText(GetLastError())}}),
            c.text("check.wininet-cannot-open-advice"));
    }
    GuestInfoExchange x;
    x.sent = "POST v1/GuestInfo/<token> " + body;
    x.place = c.tokenPlace;
    x.bypassAdvice = c.bypassAdvice;
    ByteBuffer reply;
    try {
        reply = client.SendRequest("POST", kJsonHeaders, path.c_str(), body.c_str(),
                                   kAcceptAnything, logger);
    } catch (const TimeoutExceeded&) {
        x.timedOut = true;
    }
    client.close();
    x.status = lastReplyStatus();
    c.replyDate = lastReplyDate();
    x.errorCode = lastErrorCode;
    x.emptyReply = isEmptyReply(reply);
    if (!x.emptyReply) x.text = replyText(reply);
    return judgeGuestInfo(x, c.token, localTimeText(*c.catalog), *c.catalog);
}
