// TLS: the handshake and the certificate's verdict, when SSL is on.
#include "NetProbes.h"
#include "NetworkSteps.h"
#include "http/Timings.h"

StepVerdict tlsStep(CheckContext& c) {
    if (!c.secure) return StepVerdict::skipped("TLS", c.text(Msg::check_not_used));
    return judgeTls(probeTls(c.host, timings::kRequestIoTimeoutMs), c.host,
                    localTimeText(*c.catalog), *c.catalog);
}
