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
// connection. None on any failure (logged under `tag`), and for the empty
// token of a matching place, with the connection then open (the flow closes
// it). Never throws.
std::optional<std::string> getToken(const std::string& tag, const pugi::xml_node& configuration,
                                    CheckXml& checkXml, HttpClient& httpClient,
                                    Logger& logger) noexcept;

// The check's order category: CHECKDATA's order_cat, -1 for a check without
// CHECKDATA. Throws AttributeNotFound("order_cat").
int32_t orderCategory(CheckXml& checkXml);

// Which place gives the token, and why.
struct TokenChoice {
    enum class Why {
        Match,     // the first place whose PlaceCode reads as the order category
        Fallback,  // no place matches; the last token marked Default="true"
        None,      // no place matches and none is marked: no token
    };
    Why why = Why::None;
    int place = 0;        // the chosen PlaceOfService, 1-based in document order; 0 for None
    std::string token;    // its LoyltyApiToken text (empty when it is missing or empty)
    pugi::xml_node node;  // that PlaceOfService; empty for None

    explicit operator bool() const { return why != Why::None; }
};

// The first place whose PlaceCode matches the order category, else the last
// Default="true" token, else none.
TokenChoice selectToken(int32_t orderCategory, const pugi::xml_node& configuration);
