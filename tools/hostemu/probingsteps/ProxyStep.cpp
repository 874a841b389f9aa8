// proxy: the proxy WinInet will use; the name and TCP steps go where it goes.
#include "NetProbes.h"
#include "NetworkSteps.h"
#include "TillProbes.h"
#include "http/Endpoint.h"

namespace {

// Detection may ask DHCP and DNS before it gives up; WinInet waits as long.
constexpr uint32_t kAutomaticProxyLimitMs = 10000;
// WinInet names where it connects before the connection is made.
constexpr uint32_t kRouteLimitMs = 5000;

}  // namespace

StepVerdict proxyStep(CheckContext& c) {
    const ProxySetting setting = readProxySetting();
    // Only the route a request takes tells whether a bypass entry works.
    const RouteTaken route = configuredProxy(setting, c.secure).empty()
                                 ? RouteTaken()
                                 : probeRoute(c.host, c.secure, kRouteLimitMs);
    StepVerdict r = judgeProxy(setting, route, c);
    if (setting.autoDetect || !setting.autoConfigUrl.empty()) {
        const std::string url = serviceRoot(c.host, c.secure) + "/";
        addAutomaticProxy(r,
                          resolveAutomaticProxy(setting.autoDetect, setting.autoConfigUrl, url,
                                                kAutomaticProxyLimitMs),
                          url, c);
    }
    return r;
}
