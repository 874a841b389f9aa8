// token: the one the DLL chooses for the order category (-1, or --place).
#include <optional>

#include "config/Token.h"
#include "confreport/Report.h"
#include "connectioncheck/CheckStep.h"
#include "display/ShownValues.h"

StepVerdict tokenStep(CheckContext& c) {
    const int32_t orderCategory = c.hasPlace ? c.place : -1;
    const std::string number = std::to_string(orderCategory);
    const std::string category =
        c.hasPlace ? number + " (--place)"
                   : "-1, as for a check without CHECKDATA (--place CODE chooses a place)";
    const std::optional<std::string> token = selectToken(orderCategory, c.configuration);
    if (!token) {
        const std::string failure = "no place of service has PlaceCode " + number +
                                    " and none is marked Default=\"true\": the DLL finds no token";
        return StepVerdict::failed("token", failure, failure);
    }
    if (token->empty()) {
        const std::string failure =
            "the LoyltyApiToken chosen for order category " + number +
            " (its place's, or the fallback) is empty: the DLL fails every call";
        return StepVerdict::failed("token", failure, failure);
    }
    c.token = *token;
    return StepVerdict::ok("token", maskToken(*token) + " for order category " + category);
}
