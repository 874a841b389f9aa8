// hostemu [--brief] <folder> lookup <card-or-phone-number> <check.xml>: calls
// GetCardInfoEx as a host does for a presented card, and prints the record.
#include <cerrno>
#include <cstdlib>

#include "HostCall.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "display/RecordTable.h"
#include "host/DllModule.h"
#include "record/CardInfoRecord.h"

namespace {

bool parseCard(const std::string& s, int64_t& card) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || end == s.c_str() || *end != '\0') return false;
    card = v;
    return true;
}

bool checkWords(const std::vector<std::string>& words, const Catalog& catalog, std::string& error) {
    int64_t card = 0;
    if (parseCard(words[0], card)) return true;
    error = formatMessage(catalog, Msg::error_card_number, {{"word", words[0]}});
    return false;
}

ExitStatus run(const Invocation& invocation, Output& output) {
    int64_t card = 0;
    parseCard(invocation.words[0], card);
    std::string check;
    if (!readCheckFile(invocation, invocation.words[1], check, output))
        return exitstatus::kBadInput;
    const bool brief = invocation.brief;
    return runHostCall(invocation, output, [&](const DllModule& dll, Output& out) {
        CardInfoRecord record{};
        record.Size = sizeof record;
        const std::optional<int32_t> result = dll.callGetCardInfoEx(card, &record, check);
        if (!result) return missingExport(dll, kGetCardInfoExExport, out);
        out.out(out.text(*result == 0 ? Msg::call_lookup_answered : Msg::call_lookup_failed,
                         {{"card", std::to_string(static_cast<long long>(card))},
                          {"result", std::to_string(*result)}}));
        out.out(recordTable(record, brief, out.catalog()));
        return true;
    });
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kLookupCommand = [] {
    CommandSpec c;
    c.name = "lookup";
    c.usage = Msg::usage_lookup;
    c.description = Msg::help_hostcall;
    c.arguments = 2;
    c.countError = Msg::count_lookup;
    c.checkWords = checkWords;
    c.run = run;
    return c;
}();
