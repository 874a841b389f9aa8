#pragma once

// The module's version, shown by Init in the log and carried by the version
// resources of the DLL and hostemu. This line is the only place it is written:
// the build, the tests and the documents' check read it from here.
#define BRISVANE_VERSION 37

#define BRISVANE_VERSION_STR2(v) #v
#define BRISVANE_VERSION_STR(v) BRISVANE_VERSION_STR2(v)
#define BRISVANE_VERSION_TEXT BRISVANE_VERSION_STR(BRISVANE_VERSION)
