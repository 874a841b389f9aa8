// The card lookup and the transaction posting end to end, with an arbitrary
// check and arbitrary service behaviour: replies of any shape, refused and
// broken connections, time-outs, oversize bodies. The transport's platform
// seam is served from the input (fuzz/platform), so nothing waits.
//
// Input: a header line, the check, then one section per exchange:
//   <L|T><card digits>[P][N] "\n" <check bytes> { "\n@@" <outcome letter><body> }
// L: GetCardInfoEx, T: TransactionsEx; P: the connectivity probe succeeds;
// N: no connection can be opened. Outcome letters are those of
// scripted::Outcome; a section starting with anything else is a plain reply.
#include <rapidjson/document.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "WorkDir.h"
#include "host/Entry.h"
#include "http/HttpClient.h"
#include "http/ServicePaths.h"
#include "log/Logger.h"
#include "platform/ScriptedPlatform.h"
#include "record/CardInfoRecord.h"

namespace {

// Two places of service, bonus payments in code 5 and deposits in code 6.
constexpr const char* kConf =
    "<Configuration><ApiAddress>loyalty.test</ApiAddress><SSL>false</SSL>"
    "<PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default=\"true\">tokA"
    "</LoyltyApiToken></PlaceOfService>"
    "<PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken>tokB</LoyltyApiToken>"
    "</PlaceOfService>"
    "<BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>"
    "<DepositAccount><CurrencyCode>6</CurrencyCode><CardSubAccount>3</CardSubAccount>"
    "</DepositAccount></Configuration>";

struct Case {
    bool transaction = false;
    int64_t card = 0;
    std::string check;
    scripted::Script script;
};

bool isOutcome(char c) {
    for (char o : {'R', 'E', 'B', 'C', 'F', 'T', 'O'})
        if (c == o) return true;
    return false;
}

Case parse(std::string_view in) {
    Case c;
    const std::size_t eol = in.find('\n');
    const std::string_view header = in.substr(0, eol);
    c.transaction = !header.empty() && header[0] == 'T';
    uint64_t card = 0;
    for (char ch : header.substr(header.empty() ? 0 : 1)) {
        if (ch >= '0' && ch <= '9') card = card * 10 + static_cast<uint64_t>(ch - '0');
        if (ch == 'P') c.script.probeSucceeds = true;
        if (ch == 'N') c.script.connectFails = true;
    }
    c.card = static_cast<int64_t>(card);
    if (eol == std::string_view::npos) return c;

    std::string_view rest = in.substr(eol + 1);
    constexpr std::string_view kSeparator = "\n@@";
    std::size_t cut = rest.find(kSeparator);
    c.check = std::string(rest.substr(0, cut));
    while (cut != std::string_view::npos) {
        rest = rest.substr(cut + kSeparator.size());
        cut = rest.find(kSeparator);
        std::string_view piece = rest.substr(0, cut);
        scripted::Exchange e;
        if (!piece.empty() && isOutcome(piece[0])) {
            e.outcome = static_cast<scripted::Outcome>(piece[0]);
            piece.remove_prefix(1);
        }
        e.body = std::string(piece);
        c.script.exchanges.push_back(std::move(e));
    }
    return c;
}

// The text the module was handed for this exchange, if it was handed any.
bool deliveredText(const scripted::Served& s, std::string& text) {
    if (s.outcome != scripted::Outcome::Reply && s.outcome != scripted::Outcome::Big) return false;
    text = s.body.substr(0, std::min(s.body.size(), kReplyLimit));
    text.resize(std::strlen(text.c_str()));
    return !text.empty();
}

// A close or return counts as done only when the service's last answer, to a
// close or return request, says "Status" 1.
bool serviceConfirmed() {
    const auto& served = scripted::served();
    if (served.empty()) return false;
    const scripted::Served& last = served.back();
    if (last.path.rfind(servicepath::kCloseOrder, 0) != 0 &&
        last.path.rfind(servicepath::kReturnOrder, 0) != 0)
        return false;
    std::string text;
    if (!deliveredText(last, text)) return false;
    rapidjson::Document doc;
    doc.Parse(text.c_str());
    return !doc.HasParseError() && doc.IsObject() && doc.HasMember("Status") &&
           doc["Status"].IsInt() && doc["Status"].GetInt() == 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path& dir = fuzzsupport::enterWorkDir("flows");
    std::ofstream(dir / "conf.xml", std::ios::binary) << kConf;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Case c = parse(std::string_view(reinterpret_cast<const char*>(data), size));
    scripted::load(std::move(c.script));

    // Exactly the host's length: ASan reports any read past it.
    std::unique_ptr<char[]> check(c.check.empty() ? nullptr : new char[c.check.size()]);
    if (check) std::memcpy(check.get(), c.check.data(), c.check.size());
    const auto inpLen = static_cast<uint32_t>(c.check.size());

    int32_t result = -1;
    try {
        if (c.transaction) {
            result = runTransactionsEx(check.get(), inpLen);
            if (result == 0 && !serviceConfirmed()) __builtin_trap();  // a close nobody confirmed
        } else {
            auto record = std::make_unique<CardInfoRecord>();
            result = runGetCardInfoEx(c.card, record.get(), check.get(), inpLen);
            if (result == 2) __builtin_trap();  // the lookup answers 0 or 1 only
        }
    } catch (...) {
        __builtin_trap();  // nothing may leave the flows
    }
    if (result < 0 || result > 2) __builtin_trap();
    // Every handle and worker of the call is gone when it returns.
    if (scripted::openHandles() != 0 || openTransportHandles() != 0 || runningSendWorkers() != 0)
        __builtin_trap();

    if (std::getenv("BRISVANE_FUZZ_VERBOSE") != nullptr) {  // replaying one input by hand
        std::fprintf(stderr, "result %d\n", result);
        for (const auto& s : scripted::served())
            std::fprintf(stderr, "  %c %s (%zu bytes)\n", static_cast<char>(s.outcome),
                         s.path.c_str(), s.body.size());
        std::ifstream log(kLogFileName, std::ios::binary);
        std::fprintf(stderr, "%s\n", std::string(std::istreambuf_iterator<char>(log), {}).c_str());
        std::remove(kLogFileName);
    }
    static unsigned runs = 0;
    if (++runs % 256 == 0) std::remove(kLogFileName);  // keep the log small
    return 0;
}
