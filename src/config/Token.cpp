#include "config/Token.h"

#include <cstdlib>
#include <cstring>

#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "config/Config.h"
#include "http/HttpClient.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "log/QuietLog.h"

int32_t orderCategory(CheckXml& checkXml) {
    return checkXml.checkData ? getAttributeInt(checkXml.checkData, "order_cat") : -1;
}

std::optional<std::string> selectToken(int32_t orderCategory, const pugi::xml_node& configuration) {
    std::optional<std::string> fallback;
    for (pugi::xml_node place = configuration.child("PlaceOfService"); place;
         place = place.next_sibling("PlaceOfService")) {
        const pugi::xml_node token = place.child("LoyltyApiToken");
        const pugi::xml_attribute isDefault = token.attribute("Default");
        if (isDefault && std::strcmp(isDefault.value(), "true") == 0) {
            fallback = token.text().get();
        }
        if (atoiText(place.child("PlaceCode")) == orderCategory) {
            return std::string(token.text().get());  // even when empty: no fallback then
        }
    }
    return fallback;
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
    using logevent::Event;
    const auto fail = [&](Event event, const char* name = "", const std::string& value = {}) {
        logQuietly(logger, tag, [&] { return logevent::format(event, {{name, value}}); });
        return std::string();
    };
    try {
        const ServiceAddress address = readServiceAddress(configuration);
        const std::optional<std::string> token =
            selectToken(orderCategory(checkXml), configuration);
        logger.log(tag, Event::TokenFound);
        if (!token) return fail(Event::NoTokenFound);
        if (httpClient.init(address.host, address.secure) != 0) {
            return fail(Event::ConnectionInitFailed);
        }
        return *token;
    } catch (const XmlElementNotFound& e) {
        return fail(Event::TokenCheckMissing, "missing", e.message);
    } catch (...) {
        return fail(Event::TokenFailed, "code", std::to_string(lastErrorCode));
    }
}
