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

TokenChoice selectToken(int32_t orderCategory, const pugi::xml_node& configuration) {
    TokenChoice fallback;
    int number = 0;
    for (pugi::xml_node place = configuration.child("PlaceOfService"); place;
         place = place.next_sibling("PlaceOfService")) {
        ++number;
        const pugi::xml_node token = place.child("LoyltyApiToken");
        const pugi::xml_attribute isDefault = token.attribute("Default");
        if (isDefault && std::strcmp(isDefault.value(), "true") == 0) {
            fallback = {TokenChoice::Why::Fallback, number, token.text().get(), place};
        }
        if (atoiText(place.child("PlaceCode")) == orderCategory) {
            // Even an empty token: no fallback then.
            return {TokenChoice::Why::Match, number, token.text().get(), place};
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

std::optional<std::string> getToken(const std::string& tag, const pugi::xml_node& configuration,
                                    CheckXml& checkXml, HttpClient& httpClient,
                                    Logger& logger) noexcept {
    using logevent::Event;
    const auto fail = [&](Event event, const char* name = "", const std::string& value = {}) {
        logQuietly(logger, tag, [&] { return logevent::format(event, {{name, value}}); });
        return std::nullopt;
    };
    try {
        const ServiceAddress address = readServiceAddress(configuration);
        const TokenChoice choice = selectToken(orderCategory(checkXml), configuration);
        logger.log(tag, Event::TokenFound);
        if (!choice) return fail(Event::NoTokenFound);
        if (httpClient.init(address.host, address.secure) != 0) {
            return fail(Event::ConnectionInitFailed);
        }
        // A matching place's empty token is found, yet nothing to send with.
        if (choice.token.empty()) return std::nullopt;
        return choice.token;
    } catch (const XmlElementNotFound& e) {
        return fail(Event::TokenCheckMissing, "missing", e.message);
    } catch (...) {
        return fail(Event::TokenFailed, "code", std::to_string(lastErrorCode));
    }
}
