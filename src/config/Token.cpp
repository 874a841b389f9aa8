#include "config/Token.h"

#include <cstdlib>
#include <cstring>

#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "config/Config.h"
#include "http/HttpClient.h"
#include "log/LogPhrases.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

int32_t orderCategory(CheckXml& checkXml) {
    return checkXml.checkData ? getAttributeInt(checkXml.checkData, "order_cat") : -1;
}

pugi::xml_node tokenPlace(int32_t orderCategory, const pugi::xml_node& configuration) {
    pugi::xml_node fallback;
    for (pugi::xml_node place = configuration.child("PlaceOfService"); place;
         place = place.next_sibling("PlaceOfService")) {
        const pugi::xml_attribute isDefault = place.child("LoyltyApiToken").attribute("Default");
        if (isDefault && std::strcmp(isDefault.value(), "true") == 0) fallback = place;
        // Even when its token is empty: no fallback then.
        if (atoiText(place.child("PlaceCode")) == orderCategory) return place;
    }
    return fallback;
}

std::optional<std::string> selectToken(int32_t orderCategory, const pugi::xml_node& configuration) {
    const pugi::xml_node place = tokenPlace(orderCategory, configuration);
    if (!place) return std::nullopt;
    return std::string(place.child("LoyltyApiToken").text().get());
}

ServiceAddress readServiceAddress(const pugi::xml_node& configuration) {
    ServiceAddress address;
    // Used as written: a value spread over lines keeps its line feeds and blanks.
    address.host = configuration.child("ApiAddress").first_child().value();
    address.secure = std::strcmp(configuration.child("SSL").first_child().value(), "true") == 0;
    return address;
}

std::string getToken(const std::string& tag, const pugi::xml_node& configuration,
                     CheckXml& checkXml, HttpClient& httpClient, Logger& logger) noexcept {
    const auto fail = [&](const char* head, const std::string& tail) {
        logQuietly(logger, tag, [&] { return head + tail; });
        return std::string();
    };
    try {
        const ServiceAddress address = readServiceAddress(configuration);
        const std::optional<std::string> token =
            selectToken(orderCategory(checkXml), configuration);
        logger.logMessage(tag, "getToken success");
        if (!token) return fail(logphrase::kNoTokenFound, {});
        if (httpClient.init(address.host, address.secure) != 0) {
            return fail("ERROR server connection init", {});
        }
        return *token;
    } catch (const XmlElementNotFound& e) {
        return fail(logphrase::kTokenCheckMissing, e.message);
    } catch (...) {
        return fail("ERROR getToken ", std::to_string(lastErrorCode));
    }
}
