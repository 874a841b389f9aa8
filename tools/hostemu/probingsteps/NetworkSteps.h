#pragma once
// The connection check's steps that probe the network from this till.
#include "connectioncheck/CheckStep.h"

StepVerdict proxyStep(CheckContext& context);
StepVerdict nameStep(CheckContext& context);
StepVerdict tcpStep(CheckContext& context);
StepVerdict tlsStep(CheckContext& context);
StepVerdict guestInfoStep(CheckContext& context);
