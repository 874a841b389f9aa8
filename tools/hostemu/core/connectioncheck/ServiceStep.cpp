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
            c.text(Msg::check_service_bad, {{"address", quoted(address.host)}});
        return StepVerdict::failed(c.text(Msg::check_label_service), failure, failure);
    }
    const std::string ssl = c.configuration.child("SSL").first_child().value();
    return StepVerdict::ok(
        c.text(Msg::check_label_service),
        c.text(address.secure ? Msg::check_service : Msg::check_service_plain,
               {{"address", quoted(address.host)}, {"ssl", quoted(ssl)}, {"url", url}}));
}
