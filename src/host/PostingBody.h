#pragma once
// The bodies TransactionsEx posts, built from the check with the lines it logs
// when it refuses one: a check that cannot be posted is told before anything is
// sent. hostemu's config runs the same code on a check to warn about it.
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "api/CloseOrder.h"

class CheckXml;
class Logger;

struct CloseOrderRequest {
    std::vector<char> body;
    std::string clientId;  // whose order it is
};

// The CloseOrder body (working modes 1 and 4), or none after logging the line
// the call ends with (it then returns 1). `holders` asks the service about the
// card holders when no payment or discount names the guest.
std::optional<CloseOrderRequest> closeOrderRequest(CheckXml& reader,
                                                   const pugi::xml_node& configuration,
                                                   const HolderLookup& holders, Logger& log);

// The ReturnOrder body (working modes 2 and 3), or none after logging the line
// the call ends with (it then returns 1).
std::optional<std::vector<char>> returnOrderRequest(CheckXml& reader, Logger& log);
