#pragma once
// The connection check's steps that probe the network from this till.
#include "CheckStep.h"

StepResult proxyStep(CheckContext& context);
StepResult nameStep(CheckContext& context);
StepResult tcpStep(CheckContext& context);
StepResult tlsStep(CheckContext& context);
StepResult guestInfoStep(CheckContext& context);
