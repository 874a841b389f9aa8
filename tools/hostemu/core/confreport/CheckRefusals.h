#pragma once
// What a lookup or a transaction with a check would end with before anything
// is sent, told by running the DLL's own code for it (host/PostingBody.h,
// api/Discount.h) without a service: the card holders a close would ask the
// service about are taken as known to it.
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "i18n/Messages.h"

class CheckXml;

struct CheckRefusal {
    Msg call;                        // names the call: a lookup, a transaction
    std::vector<std::string> lines;  // what the DLL logs, "Tag : message", in UTF-8
};

// Runs in the current folder and appends to its brisvane.log: the caller's
// scratch folder. Nothing for a check without a working mode (the report says
// so already) or one the DLL would send on.
std::vector<CheckRefusal> checkRefusals(CheckXml& reader, const pugi::xml_node& configuration);
