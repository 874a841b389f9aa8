// Arbitrary bytes as a till's brisvane.log through hostemu's replay reader:
// no crash, no hang, entries whose byte spans lie in the log, and every call
// either fully parsed or reported not replayable. A parsed call must compare
// equal to itself, and differ once one of its requests reaching the service
// has another body, is missing or comes twice. The same bytes also go through
// the replay server's request parser, the summary (its figures agree, its JSON
// parses) and the redaction.
#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "logread/LogCalls.h"
#include "redact/LogRedact.h"
#include "replay/ReplayCompare.h"
#include "replay/ReplayVerdict.h"
#include "replay/RequestParser.h"
#include "summary/LogSummary.h"

namespace {

const char kFolderConfig[] =
    "<Configuration><ApiAddress>h</ApiAddress><SSL>true</SSL>"
    "<BonusAccount><CardSubAccount>2</CardSubAccount></BonusAccount></Configuration>";

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte says whether the folder beside the log holds a conf.xml.
    const bool folderConfig = data[0] & 1;
    const std::string log(reinterpret_cast<const char*>(data + 1), size - 1);
    // The same bytes as a request reaching the replay's server.
    std::string path, body;
    if (replay::parseRequest(log, path, body) == replay::Parse::Done)
        require(body.size() <= replay::kMaxRequestBytes && path.size() < log.size());
    // Entries and the damaged stretches after them tile the log from the first entry on.
    const std::vector<replay::LogEntry> entries = replay::splitEntries(log);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const replay::LogEntry& e = entries[i];
        require(e.begin < e.end && e.end <= log.size() && log[e.begin] == '[');
        require(e.end + e.damagedAfter ==
                (i + 1 < entries.size() ? entries[i + 1].begin : log.size()));
    }
    // Read in small pieces, as summary reads a file: the same entries.
    {
        replay::EntryReader reader(replay::bytesOf(log), 1 + size % 13);
        replay::LogEntry e;
        std::size_t i = 0;
        for (; reader.next(e); ++i)
            require(i < entries.size() && e.begin == entries[i].begin && e.end == entries[i].end &&
                    e.damagedAfter == entries[i].damagedAfter && e.text == entries[i].text &&
                    e.stamp == entries[i].stamp && e.event.row == entries[i].event.row);
        require(i == entries.size());
    }
    const std::vector<replay::Call> calls = replay::splitCalls(log, kFolderConfig, folderConfig);
    for (const replay::Call& call : calls) {
        require(!call.entries.empty());
        if (!call.notReplayable.empty()) continue;
        require(call.kind != replay::Call::Kind::Unknown);
        require(call.configFromLog || call.configPresent);
        std::vector<replay::Received> received;
        for (const replay::Attempt& a : call.attempts) {
            require(a.outcome != replay::Attempt::Outcome::Unknown);
            if (a.reachesService()) received.push_back({a.path, a.body});
        }
        require(replay::compareRequests(call.attempts, received).empty());
        replay::Tally same;
        replay::judgeReplayedCall(call, call.result, received, call.entries, call.config(),
                                  kEnglishCatalog, same);
        require(same.same == 1);
        if (!received.empty()) {
            // One request changed, missing or sent twice: the verdict must say so.
            const std::size_t which = size % received.size();
            std::vector<replay::Received> changed = received;
            changed[which].body += 'x';
            std::vector<replay::Received> fewer = received;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(which));
            std::vector<replay::Received> more = received;
            more.push_back(received[which]);
            for (const std::vector<replay::Received>* r : {&changed, &fewer, &more}) {
                require(!replay::compareRequests(call.attempts, *r).empty());
                replay::Tally tally;
                const std::string verdict = replay::judgeReplayedCall(
                    call, call.result, *r, call.entries, call.config(), kEnglishCatalog, tally);
                require(verdict.find(": DIFFERS: ") != std::string::npos && tally.differ == 1);
            }
        }
        require(replay::compareEntries(call.entries, call.entries, call.config(), call.config())
                    .verdict == replay::EntryComparison::Verdict::Same);
        if (call.kind != replay::Call::Kind::Init) require(call.record.Deleted == 0);
        std::string pointed;
        replay::Reason why;
        if (call.configPresent && replay::pointConfigAt(call.config(), "127.0.0.1", pointed, why) &&
            pointed != call.config())
            require(pointed.find("127.0.0.1") != std::string::npos);
    }
    const summary::Summary s = summary::summarize(log);
    require(s.failedExchanges <= s.exchanges && s.longest.size() <= 5);
    int errors = 0;
    for (const auto& e : s.errors) errors += e.second;
    require(errors >= s.failedExchanges);
    for (std::size_t i = 1; i < s.longest.size(); ++i)
        require(s.longest[i - 1].seconds >= s.longest[i].seconds);
    for (const summary::Outage& o : s.outages) require(o.failed > 0 && !o.causes.empty());
    const std::vector<summary::NamedSummary> logs = {{"a", s}, {"b", s}};
    rapidjson::Document json;
    json.Parse(summary::jsonReport(logs).c_str());
    require(!json.HasParseError() && json.IsObject() && json["errors"].IsObject());
    require(summary::textReport(logs).size() > 0 && summary::htmlReport(logs).size() > 0);
    redact::Tally tally;
    const std::string redacted = redact::redactLog(log, tally);
    require(tally.droppedHead <= log.size());
    return 0;
}
