// token: the one the DLL chooses for the order category (-1, or --place).
#include <optional>

#include "CheckStep.h"
#include "Report.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "config/Token.h"

StepResult tokenStep(CheckContext& c) {
    CheckXml reader;
    const std::string number = std::to_string(c.hasPlace ? c.place : -1);
    std::string category = "-1, as for a check without CHECKDATA (--place CODE chooses a place)";
    if (c.hasPlace) {
        const std::string element = "<CHECKDATA order_cat=\"" + std::to_string(c.place) + "\"/>";
        reader.doc.load_string(element.c_str());
        reader.checkData = reader.doc.child("CHECKDATA");
        category = std::to_string(c.place) + " (--place)";
    }
    std::optional<std::string> token;
    try {
        token = selectToken(reader, c.configuration);
    } catch (const XmlElementNotFound& e) {
        const std::string failure = "no token: " + e.message;
        return StepResult::failed("token", failure, failure);
    }
    if (!token) {
        const std::string failure = "no place of service has PlaceCode " + number +
                                    " and none is marked Default=\"true\": the DLL finds no token";
        return StepResult::failed("token", failure, failure);
    }
    if (token->empty()) {
        const std::string failure =
            "the LoyltyApiToken chosen for order category " + number +
            " (its place's, or the fallback) is empty: the DLL fails every call";
        return StepResult::failed("token", failure, failure);
    }
    c.token = *token;
    return StepResult::ok("token", maskToken(*token) + " for order category " + category);
}
