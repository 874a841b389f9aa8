#pragma once
// Test-side client of the fake loyalty service's control API
// (tools/fakeloyalty): sets a token's scenario and reads what the service
// received. Plain sockets, so it works natively and under Wine alike and never
// goes through the transport it is used to test.
#include <string>
#include <utility>
#include <vector>

namespace fakeloyalty {

struct Request {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // the bytes as received
    bool tls = false;
    bool clientClosed = false;  // the client hung up before an answer came
    // Fault mode only: the fault chosen, whether the whole reply was written, and
    // the integer "Status" the reply carries (-1000 when it carries none).
    std::string fault;
    bool replied = false;
    long long replyStatus = kNoStatus;
    static constexpr long long kNoStatus = -1000;
    std::string header(const std::string& name) const;
};

class Service {
  public:
    explicit Service(std::string address, unsigned short port = 80);

    // `pathsJson` is the scenario's "paths" object, e.g.
    // R"({"GuestInfo": {"body": "{\"Status\":1}"}})".
    void setScenario(const std::string& token, const std::string& pathsJson) const;
    std::vector<Request> requests(const std::string& token) const;
    // Drops the token's scenario and records.
    void forget(const std::string& token) const;
    const std::string& address() const { return address_; }

    // One HTTP exchange with the service; the reply body (throws on failure).
    std::string call(const std::string& method, const std::string& target,
                     const std::string& body) const;

  private:
    std::string address_;
    unsigned short port_;
};

// A token nobody else uses in this run of the tests.
std::string uniqueToken(const std::string& prefix);

}  // namespace fakeloyalty
