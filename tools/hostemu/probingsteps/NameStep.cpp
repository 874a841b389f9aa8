// name: the service's (or the proxy's) name resolves.
#include "NetProbes.h"
#include "NetworkSteps.h"

StepVerdict nameStep(CheckContext& c) {
    uint32_t error = 0;
    if (!resolveName(c.target, c.addresses, error)) {
        return StepVerdict::failed(
            c.text("check.label-name"),
            c.text("check.name-unresolved", {{"name", c.target}, {"why", systemText(error)}}),
            c.text(c.via.empty() ? "check.name-unknown" : "check.name-proxy-unknown",
                   {{"name", c.target}}));
    }
    std::string list;
    for (const std::string& a : c.addresses) list += (list.empty() ? "" : ", ") + a;
    return StepVerdict::ok(c.text("check.label-name"), c.target + " -> " + list);
}
