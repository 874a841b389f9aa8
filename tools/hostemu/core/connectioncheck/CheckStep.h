#pragma once
// The connection check as a list of steps. Each step is a function from the
// shared context to its result; one runner prints the results in order and
// stops at the first failed step. Steps print nothing themselves.
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "connectioncheck/OptionsDialog.h"
#include "i18n/Messages.h"

class Output;

// What the steps are given and what they find for the steps after them.
struct CheckContext {
    CheckContext() = default;
    CheckContext(const CheckContext&) = delete;
    CheckContext& operator=(const CheckContext&) = delete;

    // Given. The steps word their lines in the reader's language.
    const Catalog* catalog = &kEnglishCatalog;
    std::string folder;
    std::string configPath;  // the folder's conf.xml
    bool hasPlace = false;   // --place CODE
    int32_t place = -1;

    // conf.xml and what the DLL reads from it.
    pugi::xml_document document;
    pugi::xml_node configuration;
    std::string host;  // ApiAddress as written
    bool secure = false;
    std::string token;
    // The place whose token the DLL chooses, as advice names it ("the default
    // place (PlaceCode 1)").
    std::string tokenPlace;

    // Where the connection goes: the service, or the proxy WinInet uses.
    std::string via;  // "host:port" of the proxy; empty when direct
    // What to add to the proxy's bypass list for the service, when a proxy is set.
    std::string bypassAdvice;
    std::string target;
    uint16_t port = 80;
    std::vector<std::string> addresses;

    // What the till's own steps find: the Windows version (for its TLS rules),
    // the service certificate's revocation addresses, the reply's Date header.
    uint32_t windowsMajor = 0;
    uint32_t windowsMinor = 0;
    uint32_t internetExplorer = 0;  // its major version; 0: not known
    bool certificateRead = false;
    bool revocationUnavailable = false;  // this Windows does not hand out the addresses
    std::vector<std::string> ocspUrls;
    std::vector<std::string> crlUrls;
    std::string replyDate;

    // Milliseconds from some fixed point, for each step's time; none shown
    // when not set.
    uint32_t (*tickMs)() = nullptr;

    std::string text(Msg id, MessageArgs args = {}) const {
        return formatMessage(*catalog, id, args);
    }
    std::string plural(PluralMsg id, unsigned long long count, MessageArgs args = {}) const {
        return formatPlural(*catalog, id, count, args);
    }
    // Internet Options as this till's Windows names it.
    OptionsDialog dialog() const {
        return optionsDialog(windowsMajor, windowsMinor, internetExplorer);
    }
    std::string optionsName() const { return optionsDialogName(*catalog, dialog()); }
};

struct StepVerdict {
    enum class Status { Ok, Failed, Skipped };
    Status status = Status::Ok;
    std::string label;              // "conf.xml", "TCP", ...
    std::string line;               // what the step found; no line when empty
    std::vector<std::string> more;  // further lines under it
    // What deserves attention but does not fail the check (a clock hours off).
    std::vector<std::string> warnings;
    // Failed: what to do about it, the check's verdict. Ok: when not empty,
    // the verdict should no later step have one.
    std::string advice;

    static StepVerdict ok(std::string label, std::string line, std::string advice = "");
    static StepVerdict failed(std::string label, std::string line, std::string advice);
    static StepVerdict skipped(std::string label, std::string line);
};

using CheckStep = StepVerdict (*)(CheckContext& context);

// The labels that read the same in every language; the others are the
// catalog's check_label_* messages.
inline constexpr const char* kPlainCheckLabels[] = {"conf.xml", "TCP", "TLS", "GuestInfo"};

// The width of the label column in `catalog`'s language: its longest label,
// in characters. Labels carry no padding of their own.
std::size_t checkLabelWidth(const Catalog& catalog);

// Runs the steps in order and prints each result as it comes, with its time
// when the context has a clock; at the first failed step, or after the last,
// prints the verdict (an OK one counts the warnings above it). Returns kDone
// when no step failed, kFound otherwise.
ExitStatus runCheckSteps(const std::vector<CheckStep>& steps, CheckContext& context,
                         Output& output);

// The steps that need no network: conf.xml, the service address, the token.
StepVerdict confXmlStep(CheckContext& context);
StepVerdict serviceStep(CheckContext& context);
StepVerdict tokenStep(CheckContext& context);
