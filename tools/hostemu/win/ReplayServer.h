#pragma once
// The replay's stand-in for the loyalty service: plain HTTP on port 80 of a
// free loopback address, on a thread of its own, answering each request with
// the reply the till's log recorded for it (in order, per path), holding it
// unanswered where the log shows a time-out, and refusing the connection where
// the log shows that the request never got through.
#include <string>
#include <vector>

#include "logread/LogCalls.h"
#include "replay/ReplayCompare.h"

class ReplayServer {
  public:
    ReplayServer();
    ~ReplayServer();
    ReplayServer(const ReplayServer&) = delete;
    ReplayServer& operator=(const ReplayServer&) = delete;

    // Binds the first free address of `first` and the 15 after it (last byte
    // counted up) and starts the thread. False with the reason otherwise.
    bool start(const std::string& first, replay::Reason& why);
    const std::string& address() const { return address_; }

    // The requests of the call about to be made, in the order the log shows
    // them; `logName` / `logOffset` say where that call's entries will start
    // in the replay's own log (a refused request is known to be over once
    // the module has logged past it).
    void beginCall(const std::vector<replay::Attempt>& attempts, const std::string& logName,
                   long long logOffset);
    // After the call returned: what the server received during it. Whatever
    // the log recorded but the call did not ask for is dropped.
    std::vector<replay::Received> endCall();

    struct State;

  private:
    State* state_;
    std::string address_;
};
