#pragma once
// What init, lookup and transaction share: the check file, the host's folder
// and DLL, and the log entries a call wrote.
#include <functional>
#include <string>

#include "cli/CommandLine.h"

class DllModule;
class Output;

// The full path of the DLL to load: --dll's, else <folder>\brisvane.dll; a
// relative one is taken from the current folder, before the folder is entered.
std::string dllPath(const Invocation& invocation);

// Reads the check file: a relative name from the console's folder, else from
// the invocation's folder (files/CheckFileSearch.h); false after naming each
// place looked and why (the command then returns kBadInput).
bool readCheckFile(const Invocation& invocation, const std::string& name, std::string& check,
                   Output& output);

// Makes the call and prints its outcome; false when the DLL lacks the export
// (said with missingExport).
using HostCallFn = std::function<bool(const DllModule& dll, Output& output)>;

// Enters the invocation's folder, loads its brisvane.dll as a host does, makes
// the call and prints the log entries it wrote. Returns the exit status:
// kDone when the export was called, whatever it returned (exitStatusText).
ExitStatus runHostCall(const Invocation& invocation, Output& output, const HostCallFn& call);

// Says that the DLL, named by its full path, lacks an export; returns false.
bool missingExport(const DllModule& dll, const char* name, Output& output);
