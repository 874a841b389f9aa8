#pragma once
// The transport's platform seam served from a script instead of a network, for
// the flow fuzzer: every exchange the module makes takes the next scripted
// outcome, nothing waits, and every handle is accounted for.
#include <cstdint>
#include <string>
#include <vector>

namespace scripted {

// What the service (or the network) does with one request.
enum class Outcome : char {
    Reply = 'R',      // answers with `body`
    Empty = 'E',      // answers with an empty body
    Big = 'B',        // answers with `body` repeated to just around the reply limit
    CutShort = 'C',   // answers, but the connection breaks halfway through the body
    SendFails = 'F',  // connection refused or dropped before the answer
    TimesOut = 'T',   // the send never finishes within the limit
    NoRequest = 'O',  // not even a request handle can be made
};

struct Exchange {
    Outcome outcome = Outcome::Reply;
    std::string body;
};

// What an exchange was used for: its path and what the module got back.
struct Served {
    std::string path;
    Outcome outcome;
    std::string body;  // the full body the script answered with
};

struct Script {
    std::vector<Exchange> exchanges;  // used in order; once spent, every send is refused
    bool probeSucceeds = false;
    bool connectFails = false;  // InternetOpen/InternetConnect give no handle
};

void load(Script script);
const std::vector<Served>& served();
// Handles opened through the seam and not closed yet.
int openHandles();

}  // namespace scripted
