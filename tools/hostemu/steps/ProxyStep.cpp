// proxy: the proxy WinInet will use; the name and TCP steps go where it goes.
#include "NetProbes.h"
#include "NetworkSteps.h"

StepResult proxyStep(CheckContext& c) { return judgeProxy(readProxySetting(), c); }
