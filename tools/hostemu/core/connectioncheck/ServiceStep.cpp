// service: the address and scheme the DLL takes from conf.xml.
#include "config/Token.h"
#include "confreport/Report.h"
#include "connectioncheck/CheckStep.h"
#include "display/ShownValues.h"
#include "http/Endpoint.h"

StepVerdict serviceStep(CheckContext& c) {
    const ServiceAddress address = readServiceAddress(c.configuration);
    c.host = address.host;
    c.secure = address.secure;
    const std::string url = serviceRoot(address.host, address.secure);
    if (address.host.empty() || hasWhiteSpace(address.host)) {
        const std::string failure =
            "ApiAddress " + quoted(address.host) +
            " is empty or holds blanks or line feeds: no request can reach the service";
        return StepVerdict::failed("service", failure, failure);
    }
    const std::string ssl = c.configuration.child("SSL").first_child().value();
    return StepVerdict::ok(
        "service", "ApiAddress " + quoted(address.host) + ", SSL " + quoted(ssl) + ": " + url +
                       (address.secure ? "" : " (only SSL \"true\" turns TLS on)"));
}
