// hostemu [--brief] <folder> transaction <check.xml>: calls TransactionsEx as
// a host does when an order is closed or returned.
#include "HostCall.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "host/DllModule.h"

namespace {

ExitStatus run(const Invocation& invocation, Output& output) {
    std::string check;
    if (!readCheckFile(invocation, invocation.words[0], check, output))
        return exitstatus::kBadInput;
    return runHostCall(invocation, output, [&](const DllModule& dll, Output& out) {
        const std::optional<int32_t> result = dll.callTransactionsEx(check);
        if (!result) return missingExport(dll, kTransactionsExExport, out);
        out.out(
            out.text(*result == 0 ? Msg::call_transaction_posted : Msg::call_transaction_not_posted,
                     {{"result", std::to_string(*result)}}));
        return true;
    });
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kTransactionCommand = [] {
    CommandSpec c;
    c.name = "transaction";
    c.usage = Msg::usage_transaction;
    c.description = Msg::help_hostcall;
    c.arguments = 1;
    c.countError = Msg::count_transaction;
    c.run = run;
    return c;
}();
