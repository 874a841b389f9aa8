#pragma once

// The module's version, shown by Init in the log and carried by the version resource.
#define BRISVANE_VERSION 37
#define BRISVANE_VERSION_TEXT "37"
