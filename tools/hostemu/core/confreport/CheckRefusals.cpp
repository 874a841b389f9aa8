#include "confreport/CheckRefusals.h"

#include <optional>
#include <sstream>

#include "api/Discount.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "files/FileBytes.h"
#include "host/PostingBody.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"
#include "log/Logger.h"
#include "text/TextCodec.h"

namespace {

std::size_t logSize() {
    std::string log;
    readWholeFile(kLogFileName, log);
    return log.size();
}

// The failure lines the DLL logged since `from`, without their stamps.
std::vector<std::string> failureLinesSince(std::size_t from) {
    std::string log;
    readWholeFile(kLogFileName, log);
    std::istringstream in(log.size() > from ? log.substr(from) : std::string());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find(logevent::kErrorWord) == std::string::npos &&
            line.find(logevent::kErrorWordMixed) == std::string::npos)
            continue;
        lines.push_back(cp1251ToUtf8(line.substr(logformat::framedStampLength(line, 0))));
    }
    return lines;
}

// The discount request a lookup (modes 1 to 7, 9) or a close sends first; the
// call ends with kDiscountFailed when its body cannot be built.
std::optional<CheckRefusal> discountRefusal(CheckXml& reader, const std::string& clientId, Msg call,
                                            const char* tag) {
    const std::size_t from = logSize();
    Logger log;
    if (buildGetDiscountRequest(reader, clientId, log)) return std::nullopt;
    CheckRefusal refusal{call, failureLinesSince(from)};
    refusal.lines.push_back(std::string(tag) + logformat::kTagSeparator +
                            logevent::format(logevent::Event::DiscountNotDone,
                                             {{"result", std::to_string(kDiscountFailedResult)}}));
    return refusal;
}

// What the service answers about a card holder, taken as known: the close's
// body is the same whoever it names.
std::optional<std::string> holderKnown(int64_t cardCode) { return std::to_string(cardCode); }

}  // namespace

std::vector<CheckRefusal> checkRefusals(CheckXml& reader, const pugi::xml_node& configuration) {
    std::vector<CheckRefusal> refusals;
    if (!reader.check || !reader.check.attribute("chmode")) return refusals;
    const int32_t mode = getAttributeInt(reader.check, "chmode");
    // A guest's client id comes from the service's GuestInfo reply; any will do here.
    if (lookupPathFor(mode) == LookupPath::GuestThenDiscount) {
        if (auto refusal =
                discountRefusal(reader, "0", Msg::config_refused_lookup, logtag::kGetCardInfoEx))
            refusals.push_back(*refusal);
    }
    const std::size_t from = logSize();
    Logger log;
    switch (postingPathFor(mode)) {
        case PostingPath::Close:
            if (auto request = closeOrderRequest(reader, configuration, holderKnown, log)) {
                if (auto refusal =
                        discountRefusal(reader, request->clientId, Msg::config_refused_transaction,
                                        logtag::kTransactionsEx))
                    refusals.push_back(*refusal);
            } else {
                refusals.push_back({Msg::config_refused_transaction, failureLinesSince(from)});
            }
            break;
        case PostingPath::Return:
            if (!returnOrderRequest(reader, log))
                refusals.push_back({Msg::config_refused_transaction, failureLinesSince(from)});
            break;
        case PostingPath::Nothing: break;
    }
    return refusals;
}
