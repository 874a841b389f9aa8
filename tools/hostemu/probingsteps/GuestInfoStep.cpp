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
    if (!scratch.ready())
        return StepVerdict::failed("GuestInfo", "", c.text(Msg::check_no_scratch));
    Logger logger;
    HttpClient client;
    if (client.init(c.host, c.secure) != 0) {
        return StepVerdict::failed("GuestInfo",
                                   c.text(Msg::check_wininet_cannot_open,
                                          {{"why", systemText(GetLastError(), *c.catalog)}}),
                                   c.text(Msg::check_wininet_cannot_open_advice));
    }
    GuestInfoExchange x;
    x.sent = "POST v1/GuestInfo/<token> " + body;
    x.place = c.tokenPlace;
    x.bypassAdvice = c.bypassAdvice;
    ExchangeResult result = client.SendRequest("POST", kJsonHeaders, path.c_str(), body.c_str(),
                                               kAcceptAnything, logger);
    client.close();
    x.timedOut = result.outcome == ExchangeOutcome::TimedOut;
    x.status = result.httpStatus;
    c.replyDate = result.date;
    x.errorCode = result.windowsError;
    x.emptyReply = isEmptyReply(result.reply);
    if (!x.emptyReply) x.text = replyText(result.reply);
    return judgeGuestInfo(x, c.token, localTimeText(*c.catalog), *c.catalog);
}
