// internet options: Work Offline, automatic proxy configuration, and whether
// WinInet may use TLS 1.2 here.
#include "TillProbes.h"
#include "TillSteps.h"

StepVerdict internetOptionsStep(CheckContext& c) {
    return judgeInternetOptions(readInternetOptions(), c);
}
