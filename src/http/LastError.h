#pragma once
#include <cstdint>

// Last operating-system error code recorded by the transport (module-wide);
// many failure lines end with it.
extern uint32_t lastErrorCode;
