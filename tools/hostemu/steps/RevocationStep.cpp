// revocation: whether the certificate's OCSP and CRL servers answer this till.
#include "TillProbes.h"
#include "TillSteps.h"
#include "http/Timings.h"

StepResult revocationStep(CheckContext& c) {
    if (!c.secure) return StepResult::skipped("revocation", "not used (plain HTTP)");
    std::vector<RevocationAnswer> answers;
    if (c.certificateRead && !c.revocationUnavailable) {
        for (const std::string& url : c.ocspUrls)
            answers.push_back(askRevocationServer("OCSP", url, timings::kRequestIoTimeoutMs));
        for (const std::string& url : c.crlUrls)
            answers.push_back(askRevocationServer("CRL", url, timings::kRequestIoTimeoutMs));
    }
    return judgeRevocation(answers, c);
}
