#include <cstring>
#include <optional>
#include <vector>

#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "config/Token.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "log/LogPhrases.h"

namespace {

struct Place {
    int number = 0;  // 1-based, in document order
    bool hasCode = false;
    std::string codeText;
    int32_t code = 0;  // as the DLL reads it
    bool hasToken = false;
    std::string token;  // as the DLL reads it
    bool hasDefault = false;
    std::string defaultText;
    bool fallback = false;  // Default is exactly "true"
};

std::vector<Place> readPlaces(const pugi::xml_node& configuration) {
    std::vector<Place> places;
    for (pugi::xml_node node = configuration.child("PlaceOfService"); node;
         node = node.next_sibling("PlaceOfService")) {
        Place p;
        p.number = static_cast<int>(places.size()) + 1;
        const pugi::xml_node code = node.child("PlaceCode");
        p.hasCode = code;
        p.codeText = code.text().get();
        p.code = atoiText(code);
        const pugi::xml_node token = node.child("LoyltyApiToken");
        p.hasToken = token;
        p.token = token.text().get();
        const pugi::xml_attribute isDefault = token.attribute("Default");
        p.hasDefault = isDefault;
        p.defaultText = isDefault.value();
        p.fallback = isDefault && std::strcmp(isDefault.value(), "true") == 0;
        places.push_back(p);
    }
    return places;
}

std::string placeName(const Place& p) { return "place #" + std::to_string(p.number); }

const Place* lastFallback(const std::vector<Place>& places) {
    const Place* found = nullptr;
    for (const Place& p : places) {
        if (p.fallback) found = &p;
    }
    return found;
}

void warnEmptyToken(const Place& p, Report& report) {
    report.warn(placeName(p) +
                (p.hasToken ? " has an empty LoyltyApiToken" : " has no LoyltyApiToken") +
                ": a check of order category " + std::to_string(p.code) +
                " gets an empty token and the call fails (\"" + logphrase::kNoTokenLookup +
                "\" / \"" + logphrase::kNoTokenPosting + "\"); the fallback is not used for it");
}

}  // namespace

void reportPlaces(const pugi::xml_node& configuration, Report& report) {
    report.section("Places of service (in document order)");
    const std::vector<Place> places = readPlaces(configuration);
    if (places.empty()) {
        report.warn(std::string("no PlaceOfService: the DLL finds no token for any check (\"") +
                    logphrase::kNoTokenFound + "\")");
        return;
    }
    std::vector<int> fallbacks;
    for (const Place& p : places) {
        std::string text = placeName(p) + "  PlaceCode " +
                           (p.hasCode ? quoted(p.codeText) : std::string("(none)")) + " reads as " +
                           std::to_string(p.code) + "  token " + maskToken(p.token);
        if (p.fallback) text += "  Default=\"true\": fallback";
        report.line(text);

        if (!p.hasCode) {
            report.warn(placeName(p) + " has no PlaceCode: it counts as code 0");
        } else if (!isPlainInteger(p.codeText)) {
            report.warn(placeName(p) + ": PlaceCode " + quoted(p.codeText) + " reads as " +
                        std::to_string(p.code) +
                        " (the DLL reads leading blanks, a sign and digits, and no digits as 0)");
        }
        if (p.token.empty()) warnEmptyToken(p, report);
        if (hasWhiteSpace(p.token)) {
            report.warn(placeName(p) +
                        ": the token holds blanks or line feeds; they become part "
                        "of every request path");
        }
        if (p.hasDefault && !p.fallback) {
            report.warn(placeName(p) + ": Default=" + quoted(p.defaultText) +
                        " does not make a fallback; only the exact text \"true\" does");
        }
        if (p.fallback) fallbacks.push_back(p.number);
        for (const Place& earlier : places) {
            if (earlier.number >= p.number) break;
            if (earlier.code == p.code) {
                report.warn(placeName(p) + " has the same code " + std::to_string(p.code) + " as " +
                            placeName(earlier) + ": only the first one is ever used");
                break;
            }
        }
    }
    if (fallbacks.size() > 1) {
        std::string list;
        for (int n : fallbacks) list += (list.empty() ? "#" : ", #") + std::to_string(n);
        report.warn(std::to_string(fallbacks.size()) + " places are marked Default=\"true\" (" +
                    list + "): only the last one, #" + std::to_string(fallbacks.back()) +
                    ", is the fallback");
    } else if (fallbacks.empty()) {
        report.line(
            "no place is marked Default=\"true\": a check whose order category matches no "
            "place gets no token");
    }
}

void reportTokenChoice(CheckXml& reader, const pugi::xml_node& configuration, Report& report) {
    report.section("Token for this check");
    int32_t category = -1;
    if (reader.checkData) {
        const pugi::xml_attribute orderCat = reader.checkData.attribute("order_cat");
        if (!orderCat) {
            report.warn(std::string("CHECKDATA has no order_cat: the DLL logs \"") +
                        logphrase::kTokenCheckMissing + AttributeNotFound("order_cat").message +
                        "\" and the call fails; the fallback does not help");
            return;
        }
        category = getAttributeInt(reader.checkData, "order_cat");
        report.line("order category " + std::to_string(category) + " (CHECKDATA order_cat " +
                    quoted(orderCat.value()) + ")");
    } else {
        report.line("order category -1 (the check has no CHECKDATA)");
    }

    // The DLL's own choice, and beside it the reason, found by the same rules.
    std::optional<std::string> chosen;
    try {
        chosen = selectToken(orderCategory(reader), configuration);
    } catch (const XmlElementNotFound& e) {
        report.warn("the DLL cannot choose a token: " + e.message);
        return;
    }
    const std::vector<Place> places = readPlaces(configuration);
    const Place* match = nullptr;
    for (const Place& p : places) {
        if (p.code != category) continue;
        if (!match) {
            match = &p;
        } else {
            report.line(placeName(p) + " has code " + std::to_string(category) +
                        " too but is never used: the first matching place wins");
        }
    }
    const Place* fallback = lastFallback(places);
    std::optional<std::string> explained;
    if (match) {
        report.line(placeName(*match) + " matches: the first place whose PlaceCode reads as " +
                    std::to_string(category) +
                    (fallback ? " (a match wins over the fallback)" : ""));
        explained = match->token;
        if (match->token.empty()) {
            report.warn("this check matches " + placeName(*match) +
                        ", whose token is empty: the DLL opens the connection, then fails the call "
                        "on the empty token; the fallback does not stand in");
        }
    } else if (fallback) {
        report.line("no place has code " + std::to_string(category) + ": the fallback of " +
                    placeName(*fallback) + " is used (the last place marked Default=\"true\")");
        explained = fallback->token;
    } else {
        report.warn("no place of service matches order category " + std::to_string(category) +
                    " and none is marked Default=\"true\": the DLL logs \"" +
                    logphrase::kNoTokenFound + "\" and the call fails with 1");
    }
    if (chosen != explained) {
        report.warn("hostemu's explanation differs from the DLL's rule; trust the token below");
    }
    if (chosen) report.line("token " + maskToken(*chosen));
}
