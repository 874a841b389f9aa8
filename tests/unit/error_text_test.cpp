// The texts that name the cause of a failed exchange in the log.
#include <gtest/gtest.h>

#include "http/ErrorText.h"

namespace {

TEST(ErrorTextTest, SystemTextFirstThenOurOwnThenNoDescription) {
    struct Case {
        uint32_t code;
        std::string text;
    };
    const Case cases[] = {
#ifdef _WIN32
        // wininet.dll's own message table (Wine's texts).
        {12029, "The attempt to connect to the server failed."},
        {12007, "The server name could not be resolved."},
        // The system's table, for a code that is not WinInet's.
        {6, "Invalid handle."},
#else
        {12029, "No connection could be made to the server."},
        {12007, "The host name could not be resolved."},
        {6, "no description"},
#endif
        // No system text under Wine nor natively: the module's own.
        {12057, "The revocation check of the server's certificate failed."},
        {12045, "The server's certificate is issued by an untrusted certificate authority."},
        {12157, "The secure channel could not be set up (TLS handshake failed)."},
        {99999, "no description"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describeError(c.code), c.text) << c.code;
    }
    EXPECT_EQ(windowsErrorMessage(99999), "Windows error 99999: no description");
}

TEST(ErrorTextTest, SystemTextsBecomeOneLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"The request has timed out.\r\n", "The request has timed out."},
        {"  two\r\nlines\tand  blanks \n", "two lines and blanks"},
        {"\r\n", ""},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(oneLine(in), out) << in;
}

}  // namespace
