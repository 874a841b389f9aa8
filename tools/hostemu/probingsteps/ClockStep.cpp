// clock: this clock against the Date of the service's GuestInfo reply.
#include "TillProbes.h"
#include "TillSteps.h"

StepVerdict clockStep(CheckContext& c) {
    return judgeClock(readClock(c.replyDate, *c.catalog), *c.catalog);
}
