#pragma once
// The connection check's steps about the till's own Windows: what it is, who
// runs the check, Internet Options, the clock, and the service's certificate
// with its revocation servers.
#include "CheckStep.h"

StepResult windowsStep(CheckContext& context);
StepResult accountStep(CheckContext& context);
StepResult internetOptionsStep(CheckContext& context);
StepResult certificateStep(CheckContext& context);
StepResult revocationStep(CheckContext& context);
StepResult clockStep(CheckContext& context);
