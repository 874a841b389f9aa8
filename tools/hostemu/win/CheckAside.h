#pragma once
#include <optional>
#include <string>

#include "check/CheckXml.h"

// Reads the host text into `reader` with the module's own initCheckXml, inside
// a scratch folder that is removed afterwards, so that the reader's log lines
// and debug files never land in the host's folder. Returns initCheckXml's
// result (none if no scratch folder could be made); `readerLog` receives what
// the reader logged.
std::optional<CheckInit> readCheckAside(CheckXml& reader, const std::string& text,
                                        std::string& readerLog);
