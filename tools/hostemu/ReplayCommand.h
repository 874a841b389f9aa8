#pragma once
#include "Args.h"

// Replays the calls of a till's brisvane.log through args.folder's DLL and
// reports per call whether it did the same; returns the exit status.
int runReplay(const Args& args);
