#pragma once
#include <optional>
#include <string>

#include "check/CheckXml.h"
#include "confreport/CheckRefusals.h"

// Reads the host text into `reader` with the module's own initCheckXml, inside
// a scratch folder that is removed afterwards, so that the reader's log lines
// and debug files never land in the host's folder. Returns initCheckXml's
// result (none if no scratch folder could be made); `readerLog` receives what
// the reader logged.
std::optional<CheckInit> readCheckAside(CheckXml& reader, const std::string& text,
                                        std::string& readerLog);

// checkRefusals likewise in a scratch folder of its own, with the conf.xml at
// `configPath` (a full path); none when no scratch folder could be made.
std::vector<CheckRefusal> refusalsAside(CheckXml& reader, const std::string& configPath);
