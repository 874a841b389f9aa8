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
            c.text("check.tcp-failed",
                   {{"host", c.target}, {"port", port}, {"why", systemText(error)}}),
            c.via.empty() ? c.text("check.tcp-nothing", {{"host", c.target}, {"port", port}})
            : c.bypassAdvice.empty() ? c.text("check.tcp-proxy", {{"proxy", c.via}})
                                     : c.text("check.tcp-proxy-or-bypass",
                                              {{"proxy", c.via}, {"bypass", c.bypassAdvice}}));
    }
    return StepVerdict::ok("TCP", c.text("check.tcp", {{"address", connected}, {"port", port}}));
}
