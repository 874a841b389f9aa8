// The texts that name the cause of a failed exchange in the log.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "http/ErrorText.h"

namespace {

#ifdef _WIN32
// The system's own text for `code` in Windows-1251, as the machine's language
// words it: from wininet.dll's message table or the system's.
std::string systemText(uint32_t code) {
    HMODULE wininet = LoadLibraryA("wininet.dll");
    wchar_t text[512];
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        wininet, code, 0, text, 512, nullptr);
    char narrow[1024];
    int m = WideCharToMultiByte(1251, 0, text, static_cast<int>(n), narrow, sizeof narrow, nullptr,
                                nullptr);
    return std::string(narrow, m > 0 ? m : 0);
}
#endif

TEST(ErrorTextTest, SystemTextFirstThenOurOwnThenNoDescription) {
    struct Case {
        uint32_t code;
        std::string text;
    };
    const Case cases[] = {
#ifdef _WIN32
        // wininet.dll's own message table and the system's (a code that is not
        // WinInet's), in whatever language the system speaks.
        {12029, oneLine(systemText(12029))},
        {12007, oneLine(systemText(12007))},
        {6, oneLine(systemText(6))},
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
        ASSERT_FALSE(c.text.empty()) << c.code << ": the system has no text for it";
        EXPECT_EQ(describeError(c.code), c.text) << c.code;
    }
    // Ours only where the system has none: none of ours stands in for a system text.
#ifdef _WIN32
    EXPECT_NE(describeError(12029), ownErrorText(12029));
#endif
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
