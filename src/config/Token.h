#pragma once
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>

class CheckXml;
class HttpClient;
class Logger;

// Where the service is: ApiAddress as written (no trimming) and whether SSL
// is exactly "true".
struct ServiceAddress {
    std::string host;
    bool secure = false;
};
ServiceAddress readServiceAddress(const pugi::xml_node& configuration);

// Chooses the API token for the check's order category and opens the service
// connection; the empty string on any failure (logged under `tag`). Never throws.
std::string getToken(const std::string& tag, const pugi::xml_node& configuration,
                     CheckXml& checkXml, HttpClient& httpClient, Logger& logger) noexcept;

// The check's order category: CHECKDATA's order_cat, -1 for a check without
// CHECKDATA. Throws AttributeNotFound("order_cat").
int32_t orderCategory(CheckXml& checkXml);

// The first place whose PlaceCode matches the order category, else the last
// Default="true" token, else none.
std::optional<std::string> selectToken(int32_t orderCategory, const pugi::xml_node& configuration);

// The PlaceOfService whose token selectToken gives; an empty node when none.
pugi::xml_node tokenPlace(int32_t orderCategory, const pugi::xml_node& configuration);
