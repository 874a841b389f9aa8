#pragma once

// Size of a file in bytes, 0 when it does not exist.
long long fileSize(const char* name);
