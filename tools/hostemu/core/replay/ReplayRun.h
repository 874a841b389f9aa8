#pragma once
// The replay's run: the calls of a till's log made again, one by one, through
// the folder's DLL against the stand-in service, each judged as it ends. The
// machine's part (a scratch folder, the DLL, sockets) comes in through the two
// interfaces below, so that the sequencing runs natively on fakes too.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "logread/LogCalls.h"
#include "replay/ReplayCompare.h"

class Output;

namespace replay {

// The host side: the folder's DLL, called with a scratch folder as its
// working directory (the log there may hold a full API token).
class ReplayHost {
  public:
    virtual ~ReplayHost() = default;
    // Makes the scratch folder and loads the DLL; false with the complaint
    // (the replay then cannot run).
    virtual bool prepare(std::string& complaint) = 0;
    // The DLL, as the run's first line names it.
    virtual std::string dllPath() const = 0;
    // The scratch folder's file of that name (conf.xml, brisvane.log).
    virtual std::string pathOf(const char* name) const = 0;
    virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
    virtual void removeFile(const std::string& path) = 0;
    virtual long long fileSize(const std::string& path) = 0;
    // The file from `offset` on (from the start when it has become shorter).
    virtual std::string readFrom(const std::string& path, long long offset) = 0;
    // The call through the DLL's export; empty when the DLL lacks it.
    virtual std::optional<int32_t> call(const Call& call) = 0;
};

// The stand-in service.
class ReplayService {
  public:
    virtual ~ReplayService() = default;
    // Binds a free address from `first` on; false with the reason.
    virtual bool start(const std::string& first, std::string& error) = 0;
    virtual const std::string& address() const = 0;
    // Why the DLL's requests would not reach the service (a proxy); empty
    // when they would.
    virtual std::string proxyProblem() = 0;
    // Around one call: the requests the log recorded for it, where its log
    // entries will start, and what the service received meanwhile.
    virtual void beginCall(const std::vector<Attempt>& attempts, const std::string& logPath,
                           long long logOffset) = 0;
    virtual std::vector<Received> endCall() = 0;
};

struct ReplayRequest {
    std::string logFile;  // as given, for the messages
    std::string logBytes;
    std::string folderConfig;  // the folder's conf.xml as read from disk
    bool folderHasConfig = false;
    long long onlyCall = 0;    // 0: every call
    std::string firstAddress;  // where the service looks for a free address first
};

// The whole replay; returns the exit status: kBadInput nothing to replay or no
// such call, kCannotRun the replay cannot run (or the DLL lacks an export it
// needs), else as exitStatus() says of the calls.
ExitStatus runReplay(const ReplayRequest& request, ReplayHost& host, ReplayService& service,
                     Output& output);

}  // namespace replay
