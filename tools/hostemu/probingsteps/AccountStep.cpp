// account: the Windows account and session the check runs in.
#include "TillProbes.h"
#include "TillSteps.h"

StepVerdict accountStep(CheckContext& c) {
    return judgeAccount(readAccount(), c.windowsMajor, *c.catalog);
}
