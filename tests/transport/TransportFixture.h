#pragma once
// Shared set-up of the transport tests: a fresh working folder, the fake
// loyalty service of the ctest fixture, and the log read back without stamps.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>

#include "FakeLoyalty.h"
#include "TestSupport.h"
#include "http/HttpClient.h"
#include "http/SendRequestWrapper.h"
#include "log/Logger.h"

namespace transporttest {

using logtext::answer;
using logtext::entry;
using logtext::nullDump;
using testsupport::kEol;

inline const char* const kAccept[] = {"*/*", nullptr};
inline const char* const kHeaders = "Content-Type:application/json;";

inline std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class TransportTest : public testsupport::InTempDir {
  protected:
    void SetUp() override {
        InTempDir::SetUp();
        setProbeUrl(wide("http://" + service_.address() + "/"));
    }
    void TearDown() override {
        client_.close();
        EXPECT_EQ(openTransportHandles(), 0) << "a WinInet handle was left open";
        InTempDir::TearDown();
    }

    // The log with every stamp replaced by "[S]".
    std::string entries() const { return logtext::stampless(logText()); }

    static std::string text(const ByteBuffer& b) {
        return isEmptyReply(b) ? std::string() : std::string(b.data());
    }

    ExchangeResult exchange(const std::string& path, const std::string& body) {
        return client_.SendRequest("POST", kHeaders, path.c_str(), body.c_str(), kAccept, log_);
    }
    ByteBuffer send(const std::string& path, const std::string& body) {
        return exchange(path, body).reply;
    }
    WrapperResult wrapped(const std::string& path, const std::string& body) {
        return SendRequestWrapper(client_, "POST", kHeaders, path.c_str(), body.c_str(), kAccept,
                                  log_);
    }

    fakeloyalty::Service service_{BRISVANE_FAKE_ADDRESS};
    HttpClient client_;
    Logger log_;
};

// Milliseconds spent by `f`.
template <typename F>
long long elapsedMs(F f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

}  // namespace transporttest
