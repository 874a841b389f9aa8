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

// conf.xml's element names as a column: padded to the longest, ApiAddress.
std::string field(const std::string& name) {
    const std::size_t width = sizeof "ApiAddress" - 1 + 2;
    return name + std::string(width - std::min(width - 1, name.size()), ' ');
}

}  // namespace

void reportService(const pugi::xml_node& configuration, Report& report) {
    report.section(report.text(Msg::config_service_section));
    const ServiceAddress address = readServiceAddress(configuration);
    const std::string& host = address.host;

    if (!configuration.child("ApiAddress")) {
        report.warn(report.text(Msg::config_no_api_address));
    } else {
        report.line(field("ApiAddress") + quoted(host));
        if (host.empty()) {
            report.warn(report.text(Msg::config_api_address_empty));
        } else if (hasWhiteSpace(host)) {
            report.warn(report.text(Msg::config_api_address_blanks));
        }
        if (host.find_first_of(":/") != std::string::npos) {
            report.warn(report.text(Msg::config_api_address_not_bare));
        }
    }

    const pugi::xml_node ssl = configuration.child("SSL");
    const std::string sslText = ssl.first_child().value();
    if (address.secure) {
        report.line(field("SSL") + report.text(Msg::config_ssl_https));
    } else {
        report.line(field("SSL") + report.text(Msg::config_ssl_http,
                                               {{"value", ssl ? quoted(sslText)
                                                              : report.text(Msg::config_none)}}));
        if (meantAsTrue(sslText)) {
            report.warn(report.text(Msg::config_ssl_meant_true, {{"value", quoted(sslText)}}));
        }
    }
    if (host.empty() || hasWhiteSpace(host)) return;
    report.line(
        report.text(Msg::config_requests_go, {{"root", serviceRoot(host, address.secure)}}));
}
