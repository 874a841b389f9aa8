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
            "TCP", "no connection to " + c.target + " port " + port + ": " + systemText(error),
            c.via.empty() ? "nothing accepts connections on " + c.target + " port " + port +
                                ": the service is down, the port is wrong (SSL), or a firewall "
                                "stops the till"
                          : "the proxy " + c.via +
                                " of this account's Internet Options does not accept connections");
    }
    return StepVerdict::ok("TCP", "connected to " + connected + " port " + port);
}
