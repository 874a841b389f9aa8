// proxy: the proxy WinInet will use; the name and TCP steps go where it goes.
#include "NetProbes.h"
#include "NetworkSteps.h"
#include "TillProbes.h"
#include "http/Endpoint.h"

namespace {

// Detection may ask DHCP and DNS before it gives up; WinInet waits as long.
constexpr uint32_t kAutomaticProxyLimitMs = 10000;

}  // namespace

StepVerdict proxyStep(CheckContext& c) {
    const ProxySetting setting = readProxySetting();
    StepVerdict r = judgeProxy(setting, c);
    if (setting.autoDetect || !setting.autoConfigUrl.empty()) {
        const std::string url = serviceRoot(c.host, c.secure) + "/";
        addAutomaticProxy(r,
                          resolveAutomaticProxy(setting.autoDetect, setting.autoConfigUrl, url,
                                                kAutomaticProxyLimitMs),
                          url, c);
    }
    return r;
}
