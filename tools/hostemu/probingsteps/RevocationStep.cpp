// revocation: whether the certificate's OCSP and CRL servers answer this till.
#include "TillProbes.h"
#include "TillSteps.h"

namespace {

// A firewall that drops packets must not hold the check a minute per address.
constexpr uint32_t kRevocationLimitMs = 15000;

}  // namespace

StepVerdict revocationStep(CheckContext& c) {
    if (!c.secure)
        return StepVerdict::skipped(c.text(Msg::check_label_revocation),
                                    c.text(Msg::check_not_used));
    std::vector<RevocationAnswer> answers;
    if (c.certificateRead && !c.revocationUnavailable) {
        for (const std::string& url : c.ocspUrls)
            answers.push_back(askRevocationServer("OCSP", url, kRevocationLimitMs));
        for (const std::string& url : c.crlUrls)
            answers.push_back(askRevocationServer("CRL", url, kRevocationLimitMs));
    }
    return judgeRevocation(answers, c);
}
