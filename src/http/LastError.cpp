#include "http/LastError.h"

// Module-wide: written by the transport, appended to failure lines elsewhere.
uint32_t lastErrorCode = 0;
