#pragma once
// The connection check's steps about the till's own Windows: what it is, who
// runs the check, Internet Options, the clock, and the service's certificate
// with its revocation servers.
#include "connectioncheck/CheckStep.h"

StepVerdict windowsStep(CheckContext& context);
StepVerdict accountStep(CheckContext& context);
StepVerdict internetOptionsStep(CheckContext& context);
StepVerdict certificateStep(CheckContext& context);
StepVerdict revocationStep(CheckContext& context);
StepVerdict clockStep(CheckContext& context);
