// token: the one the DLL chooses for the order category (-1, or --place).
#include "config/Token.h"
#include "confreport/Report.h"
#include "connectioncheck/CheckStep.h"
#include "display/ShownValues.h"

StepVerdict tokenStep(CheckContext& c) {
    const int32_t orderCategory = c.hasPlace ? c.place : -1;
    const std::string number = std::to_string(orderCategory);
    const std::string category =
        c.hasPlace ? number + " (--place)" : c.text("check.token-no-place", {{"number", number}});
    const TokenChoice token = selectToken(orderCategory, c.configuration);
    if (!token) {
        const std::string failure = c.text("check.token-none", {{"number", number}});
        return StepVerdict::failed(c.text("check.label-token"), failure, failure);
    }
    if (token.token.empty()) {
        const std::string failure = c.text("check.token-empty", {{"number", number}});
        return StepVerdict::failed(c.text("check.label-token"), failure, failure);
    }
    c.token = token.token;
    return StepVerdict::ok(c.text("check.label-token"),
                           c.text("check.token", {{"token", maskToken(token.token, *c.catalog)},
                                                  {"category", category}}));
}
