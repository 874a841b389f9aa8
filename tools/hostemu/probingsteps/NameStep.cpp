// name: the service's (or the proxy's) name resolves.
#include "NetProbes.h"
#include "NetworkSteps.h"

StepVerdict nameStep(CheckContext& c) {
    uint32_t error = 0;
    if (!resolveName(c.target, c.addresses, error)) {
        return StepVerdict::failed(
            c.text(Msg::check_label_name),
            c.text(Msg::check_name_unresolved,
                   {{"name", c.target}, {"why", systemText(error, *c.catalog)}}),
            c.via.empty() ? c.text(Msg::check_name_unknown, {{"name", c.target}})
                          : c.text(Msg::check_name_proxy_unknown,
                                   {{"name", c.target}, {"options", c.optionsName()}}));
    }
    std::string list;
    for (const std::string& a : c.addresses) list += (list.empty() ? "" : ", ") + a;
    return StepVerdict::ok(c.text(Msg::check_label_name), c.target + " -> " + list);
}
