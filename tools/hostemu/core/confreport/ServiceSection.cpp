#include <algorithm>
#include <cctype>

#include "config/Token.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "http/Endpoint.h"

namespace {

// What an installer may have meant as "on".
bool meantAsTrue(std::string text) {
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
    text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text == "true" || text == "1" || text == "yes" || text == "on";
}

}  // namespace

void reportService(const pugi::xml_node& configuration, Report& report) {
    report.section("Service");
    const ServiceAddress address = readServiceAddress(configuration);
    const std::string& host = address.host;

    if (!configuration.child("ApiAddress")) {
        report.warn(
            "no ApiAddress: the DLL connects to an empty host name and no request can "
            "reach the service");
    } else {
        report.line("ApiAddress  " + quoted(host));
        if (host.empty()) {
            report.warn("ApiAddress is empty: no request can reach the service");
        } else if (hasWhiteSpace(host)) {
            report.warn(
                "ApiAddress holds blanks or line feeds: the DLL uses the text as written, "
                "untrimmed, so the host name cannot be found; write "
                "<ApiAddress>host</ApiAddress> on one line");
        }
        if (host.find_first_of(":/") != std::string::npos) {
            report.warn(
                "ApiAddress must be a bare host name: the DLL takes no scheme, port or "
                "path out of it (the port follows from SSL)");
        }
    }

    const pugi::xml_node ssl = configuration.child("SSL");
    const std::string sslText = ssl.first_child().value();
    if (address.secure) {
        report.line(
            "SSL         \"true\" -> HTTPS on port 443 (the service's certificate must be "
            "trusted by Windows and name this host)");
    } else {
        report.line("SSL         " + (ssl ? quoted(sslText) : std::string("(none)")) +
                    " -> plain HTTP on port 80");
        if (meantAsTrue(sslText)) {
            report.warn("SSL is written " + quoted(sslText) +
                        ": only the exact text \"true\" turns HTTPS on; the DLL uses plain HTTP "
                        "on port 80");
        }
    }
    if (host.empty() || hasWhiteSpace(host)) return;
    report.line("requests go to " + serviceRoot(host, address.secure) +
                "/v1/GuestInfo/<token> (and GetDiscount, CloseOrder, ReturnOrder)");
}
