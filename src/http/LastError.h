#pragma once
#include <cstdint>

// The last operating-system error the transport recorded, module-wide: the
// Windows error of the latest exchange (also one of an earlier call). Failure
// lines that stand apart from any exchange (the check reader's, the token's,
// the working mode's) end with it, so their text depends on it; an exchange's
// own callers take the same value from the exchange's result instead.
extern uint32_t lastErrorCode;
