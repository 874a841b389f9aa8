// token: the one the DLL chooses for the order category (-1, or --place).
#include "config/Config.h"
#include "config/Token.h"
#include "confreport/Report.h"
#include "connectioncheck/CheckStep.h"
#include "display/ShownValues.h"

namespace {

// A conf.xml without place -1 and without a default place still serves every
// check that has CHECKDATA: the check goes on with a place of its own.
std::string wayOn(const CheckContext& c) {
    std::string codes;
    for (pugi::xml_node place = c.configuration.child("PlaceOfService"); place;
         place = place.next_sibling("PlaceOfService")) {
        const std::string code = std::to_string(atoiText(place.child("PlaceCode")));
        codes += (codes.empty() ? "" : ", ") + code;
    }
    if (codes.empty()) return c.text(Msg::check_token_no_places);
    return c.text(Msg::check_token_way_on, {{"folder", c.folder}, {"codes", codes}});
}

}  // namespace

StepVerdict tokenStep(CheckContext& c) {
    const int32_t orderCategory = c.hasPlace ? c.place : -1;
    const std::string number = std::to_string(orderCategory);
    const std::string category = c.hasPlace
                                     ? number + " (--place)"
                                     : c.text(Msg::check_token_no_place, {{"number", number}});
    const TokenChoice token = selectToken(orderCategory, c.configuration);
    if (!token) {
        const std::string failure = c.text(Msg::check_token_none, {{"number", number}});
        return StepVerdict::failed(c.text(Msg::check_label_token), failure,
                                   failure + ": " + wayOn(c));
    }
    if (token.token.empty()) {
        const std::string failure = c.text(Msg::check_token_empty, {{"number", number}});
        return StepVerdict::failed(c.text(Msg::check_label_token), failure, failure);
    }
    c.token = token.token;
    const int32_t code = atoiText(token.node.child("PlaceCode"));
    c.tokenPlace = c.text(token.why == TokenChoice::Why::Match ? Msg::check_token_place
                                                               : Msg::check_token_place_default,
                          {{"code", std::to_string(code)}});
    return StepVerdict::ok(c.text(Msg::check_label_token),
                           c.text(Msg::check_token, {{"token", maskToken(token.token, *c.catalog)},
                                                     {"category", category}}));
}
