// HTTPS through WinInet with certificate validation on: the fixture makes a
// test CA trusted and maps the service's host names in /etc/hosts.
#include <gmock/gmock.h>

#include "TransportFixture.h"

using namespace transporttest;

namespace {

class TlsTest : public TransportTest {};

TEST_F(TlsTest, ASecureClientTalksHttpsOn443WithATrustedCertificate) {
    const std::string token = fakeloyalty::uniqueToken("t");
    const std::string path = "v1/GuestInfo/" + token;
    service_.setScenario(token, R"({"GuestInfo": {"body": "{\"Status\":1}"}})");
    ASSERT_EQ(client_.init(BRISVANE_TLS_HOST, true), 0);

    const WrapperResult r = wrapped(path, "{\"Card\":2}");
    EXPECT_EQ(r.outcome, WrapperOutcome::Replied);
    EXPECT_EQ(text(r.reply), "{\"Status\":1}");
    auto got = service_.requests(token);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].tls) << "the request did not come over TLS";
    EXPECT_EQ(got[0].body, "{\"Card\":2}");
}

TEST_F(TlsTest, AnUntrustedCertificateFailsTheExchange) {
    const std::string token = fakeloyalty::uniqueToken("t");
    const std::string path = "v1/GuestInfo/" + token;
    service_.setScenario(token, R"({"GuestInfo": {"body": "{\"Status\":1}"}})");
    ASSERT_EQ(client_.init(BRISVANE_UNTRUSTED_HOST, true), 0);

    const ExchangeResult r = exchange(path, "{}");

    EXPECT_EQ(r.outcome, ExchangeOutcome::SendFailed);
    EXPECT_TRUE(r.reply.empty());
    EXPECT_EQ(r.windowsError, 12057u);
    // Wine reports an untrusted chain as 12057; it has no text of its own for it.
    EXPECT_EQ(entries(), entry("SendRequest", "RETURN vector<char> dwExitCode != 0 1") +
                             entry("SendRequest",
                                   "Windows error 12057: The revocation check of the "
                                   "server's certificate failed."));
    EXPECT_TRUE(service_.requests(token).empty()) << "a request went over an untrusted channel";
}

}  // namespace
