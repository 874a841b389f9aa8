// name: the service's (or the proxy's) name resolves.
#include "NetProbes.h"
#include "NetworkSteps.h"

StepVerdict nameStep(CheckContext& c) {
    uint32_t error = 0;
    if (!resolveName(c.target, c.addresses, error)) {
        return StepVerdict::failed(
            "name", c.target + " cannot be resolved: " + systemText(error),
            "the name " + c.target +
                (c.via.empty() ? " is not known to this till: check ApiAddress, the till's DNS "
                                 "server, or its hosts file"
                               : " of the proxy in this account's Internet Options is not known "
                                 "to this till"));
    }
    std::string list;
    for (const std::string& a : c.addresses) list += (list.empty() ? "" : ", ") + a;
    return StepVerdict::ok("name", c.target + " -> " + list);
}
