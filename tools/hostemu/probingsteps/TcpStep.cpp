// TCP: something accepts connections on the port the DLL uses.
#include "NetProbes.h"
#include "NetworkSteps.h"
#include "http/Timings.h"

StepVerdict tcpStep(CheckContext& c) {
    std::string connected;
    uint32_t error = 0;
    const std::string port = std::to_string(c.port);
    if (!connectTcp(c.addresses, c.port, timings::kRequestIoTimeoutMs, connected, error)) {
        return StepVerdict::failed(
            "TCP",
            c.text(Msg::check_tcp_failed,
                   {{"host", c.target}, {"port", port}, {"why", systemText(error, *c.catalog)}}),
            c.via.empty() ? c.text(Msg::check_tcp_nothing, {{"host", c.target}, {"port", port}})
            : c.bypassAdvice.empty()
                ? c.text(Msg::check_tcp_proxy, {{"proxy", c.via}, {"options", c.optionsName()}})
                : c.text(Msg::check_tcp_proxy_or_bypass, {{"proxy", c.via},
                                                          {"bypass", c.bypassAdvice},
                                                          {"options", c.optionsName()}}));
    }
    return StepVerdict::ok("TCP", c.text(Msg::check_tcp, {{"address", connected}, {"port", port}}));
}
