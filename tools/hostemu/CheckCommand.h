#pragma once
#include "Args.h"

// The check command: tests the connection to the loyalty service step by step
// as the DLL makes it, and ends with a one-line verdict. Read-only: with TLS,
// its handshake step sends up to five "HEAD /" requests (one more for each kind
// of certificate problem it looks past); then one GuestInfo request for a card
// that names nobody, and nothing else.
// Returns 0 when the service answered with JSON, 1 when a step failed.
int runConnectionCheck(const Args& args);
