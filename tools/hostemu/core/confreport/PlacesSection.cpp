#include <algorithm>
#include <cstring>
#include <vector>

#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "config/Token.h"
#include "confreport/ConfigSections.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "log/LogEvents.h"

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

std::string placeName(const Place& p, const Report& report) {
    return report.text(Msg::config_place_name, {{"number", std::to_string(p.number)}});
}

void warnEmptyToken(const Place& p, Report& report) {
    report.warn(report.text(p.hasToken ? Msg::config_empty_token : Msg::config_missing_token,
                            {{"place", placeName(p, report)},
                             {"code", std::to_string(p.code)},
                             {"lookup", logevent::format(logevent::Event::NoTokenLookup)},
                             {"posting", logevent::format(logevent::Event::NoTokenPosting)}}));
}

}  // namespace

void reportPlaces(const pugi::xml_node& configuration, Report& report) {
    report.section(report.text(Msg::config_places_section));
    const std::vector<Place> places = readPlaces(configuration);
    if (places.empty()) {
        report.warn(report.text(Msg::config_no_places,
                                {{"line", logevent::format(logevent::Event::NoTokenFound)}}));
        return;
    }
    std::vector<int> fallbacks;
    for (const Place& p : places) {
        const std::string name = placeName(p, report);
        std::string text =
            report.text(Msg::config_place_line,
                        {{"place", name},
                         {"code", p.hasCode ? quoted(p.codeText) : report.text(Msg::config_none)},
                         {"value", std::to_string(p.code)},
                         {"token", maskToken(p.token, report.catalog())}});
        if (p.fallback) text += report.text(Msg::config_place_fallback);
        report.line(text);

        if (!p.hasCode) {
            report.warn(report.text(Msg::config_no_place_code, {{"place", name}}));
        } else if (!isPlainInteger(p.codeText)) {
            report.warn(
                report.text(Msg::config_place_code_reads, {{"place", name},
                                                           {"code", quoted(p.codeText)},
                                                           {"value", std::to_string(p.code)}}));
        }
        if (p.token.empty()) warnEmptyToken(p, report);
        if (hasWhiteSpace(p.token))
            report.warn(report.text(Msg::config_token_blanks, {{"place", name}}));
        if (p.hasDefault && !p.fallback) {
            report.warn(report.text(Msg::config_default_not_true,
                                    {{"place", name}, {"value", quoted(p.defaultText)}}));
        }
        if (p.fallback) fallbacks.push_back(p.number);
        for (const Place& earlier : places) {
            if (earlier.number >= p.number) break;
            if (earlier.code == p.code) {
                report.warn(
                    report.text(Msg::config_same_code, {{"place", name},
                                                        {"code", std::to_string(p.code)},
                                                        {"earlier", placeName(earlier, report)}}));
                break;
            }
        }
    }
    if (fallbacks.size() > 1) {
        std::string list;
        for (int n : fallbacks)
            list += (list.empty() ? "" : ", ") +
                    report.text(Msg::config_place_number, {{"number", std::to_string(n)}});
        report.warn(
            report.text(Msg::config_many_fallbacks,
                        {{"count", std::to_string(fallbacks.size())},
                         {"list", list},
                         {"last", report.text(Msg::config_place_number,
                                              {{"number", std::to_string(fallbacks.back())}})}}));
    } else if (fallbacks.empty()) {
        report.line(report.text(Msg::config_no_fallback));
    }
}

void reportTokenChoice(CheckXml& reader, const pugi::xml_node& configuration, Report& report) {
    report.section(report.text(Msg::config_token_section));
    int32_t category = -1;
    if (reader.checkData) {
        const pugi::xml_attribute orderCat = reader.checkData.attribute("order_cat");
        if (!orderCat) {
            report.warn(report.text(
                Msg::config_no_order_cat,
                {{"line",
                  logevent::format(logevent::Event::TokenCheckMissing,
                                   {{"missing", AttributeNotFound("order_cat").message}})}}));
            return;
        }
        category = getAttributeInt(reader.checkData, "order_cat");
        report.line(report.text(Msg::config_order_category, {{"category", std::to_string(category)},
                                                             {"value", quoted(orderCat.value())}}));
    } else {
        report.line(report.text(Msg::config_order_category_none));
    }

    // The DLL's own choice, which names its place and its reason.
    TokenChoice choice;
    try {
        choice = selectToken(orderCategory(reader), configuration);
    } catch (const XmlElementNotFound& e) {
        report.warn(report.text(Msg::config_cannot_choose, {{"why", e.message}}));
        return;
    }
    const std::vector<Place> places = readPlaces(configuration);
    const std::string categoryText = std::to_string(category);
    switch (choice.why) {
        case TokenChoice::Why::Match: {
            // Later places with the same code, which the first match hides.
            for (const Place& p : places) {
                if (p.number > choice.place && p.code == category) {
                    report.line(
                        report.text(Msg::config_also_matches,
                                    {{"place", placeName(p, report)}, {"category", categoryText}}));
                }
            }
            const bool anyFallback = std::any_of(places.begin(), places.end(),
                                                 [](const Place& p) { return p.fallback; });
            const std::string place = placeName(places.at(choice.place - 1), report);
            report.line(
                report.text(anyFallback ? Msg::config_matches_over_fallback : Msg::config_matches,
                            {{"place", place}, {"category", categoryText}}));
            if (choice.token.empty()) {
                report.warn(report.text(Msg::config_match_empty_token, {{"place", place}}));
            }
            break;
        }
        case TokenChoice::Why::Fallback:
            report.line(report.text(Msg::config_fallback_used,
                                    {{"category", categoryText},
                                     {"place", placeName(places.at(choice.place - 1), report)}}));
            break;
        case TokenChoice::Why::None:
            report.warn(report.text(Msg::config_no_match,
                                    {{"category", categoryText},
                                     {"line", logevent::format(logevent::Event::NoTokenFound)}}));
            break;
    }
    if (choice) {
        report.line(
            report.text(Msg::config_token, {{"token", maskToken(choice.token, report.catalog())}}));
    }
}
