// hostemu <folder> check [--place CODE]: tests the connection to the loyalty
// service step by step as the DLL makes it, and ends with a one-line verdict.
// Read-only: with a proxy set, the proxy step sends one "HEAD /" request to
// learn the route WinInet takes; with TLS, the certificate step sends one and
// the handshake step up to five (one more for each kind of certificate problem
// it looks past), the revocation step one GET of each OCSP and CRL address;
// then one GuestInfo request for a card that names nobody, and nothing else.
#include "NetworkSteps.h"
#include "TillProbes.h"
#include "TillSteps.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "config/Config.h"

namespace {

// In the order they run; the first failed step ends the check. A new step is a
// function from the context to a StepVerdict in a file of its own
// (core/connectioncheck when it needs nothing of this machine, probingsteps/
// when it probes it), declared beside its kind and listed here.
// The certificate and its revocation servers come before the TLS verdict:
// a failed handshake would hide what they show.
const std::vector<CheckStep> kSteps = {
    windowsStep,         accountStep, confXmlStep,   serviceStep, tokenStep,
    internetOptionsStep, proxyStep,   nameStep,      tcpStep,     certificateStep,
    revocationStep,      tlsStep,     guestInfoStep, clockStep,
};

constexpr OptionSpec kPlace = numberOption("--place", Msg::option_place_value, parseWholeNumber32);

ExitStatus run(const Invocation& invocation, Output& output) {
    output.out(output.text(Msg::check_title, {{"folder", invocation.folder}}) + "\n");
    CheckContext context;
    context.folder = invocation.folder;
    context.configPath = invocation.folder + "\\" + kConfigFileName;
    context.hasPlace = invocation.has(kPlace);
    context.place = static_cast<int32_t>(invocation.value(kPlace, -1));
    context.tickMs = tickMs;
    return runCheckSteps(kSteps, context, output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kCheckCommand = [] {
    CommandSpec c;
    c.name = "check";
    c.usage = Msg::usage_check;
    c.description = Msg::help_check;
    c.options = {kPlace};
    c.countError = Msg::count_check;
    c.run = run;
    return c;
}();
