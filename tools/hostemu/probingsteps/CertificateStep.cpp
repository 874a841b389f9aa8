// certificate: the one the service (or whatever inspects HTTPS on the way)
// shows this till, whatever is wrong with it; the TLS step judges it.
#include "TillProbes.h"
#include "TillSteps.h"
#include "http/Timings.h"

StepVerdict certificateStep(CheckContext& c) {
    if (!c.secure)
        return StepVerdict::skipped(c.text(Msg::check_label_certificate),
                                    c.text(Msg::check_not_used));
    const CertificateFacts facts = readCertificate(c.host, timings::kRequestIoTimeoutMs);
    return judgeCertificate(facts, readClock("", *c.catalog).utcNow, c);
}
