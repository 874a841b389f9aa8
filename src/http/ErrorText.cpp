#include "http/ErrorText.h"

#include "log/LogEvents.h"
#include "platform/Platform.h"
#include "text/TextCodec.h"

namespace {

struct OwnText {
    uint32_t code;
    const char* text;
};

// For the codes an installer meets where the system has no text of its own
// (Wine's wininet has none for most of the TLS codes, for instance).
constexpr OwnText kOwnTexts[] = {
    {12002, "The request timed out."},
    {12007, "The host name could not be resolved."},
    {12017, "The operation was cancelled (its handle was closed)."},
    {12029, "No connection could be made to the server."},
    {12030, "The server ended the connection."},
    {12031, "The server reset the connection."},
    {12037, "The server's certificate has expired or is not yet valid."},
    {12038, "The server's certificate is made out for another host name."},
    {12044, "The server asks for a client certificate."},
    {12045, "The server's certificate is issued by an untrusted certificate authority."},
    {12057, "The revocation check of the server's certificate failed."},
    {12152, "The server response could not be parsed."},
    {12157, "The secure channel could not be set up (TLS handshake failed)."},
    {12165, "The proxy server could not be reached."},
    {12175, "The reply's content could not be decoded."},
};

}  // namespace

std::string ownErrorText(uint32_t code) {
    for (const OwnText& t : kOwnTexts) {
        if (t.code == code) return t.text;
    }
    return std::string();
}

std::string oneLine(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string describeError(uint32_t code) {
    std::string system;
    for (uint32_t cp : platform::systemErrorText(code)) system += cp1251FromCodePoint(cp);
    std::string text = oneLine(system);
    if (text.empty()) text = ownErrorText(code);
    if (text.empty()) text = "no description";
    return text;
}

std::string windowsErrorMessage(uint32_t code) {
    return logevent::format(logevent::Event::WindowsError,
                            {{"code", std::to_string(code)}, {"text", describeError(code)}});
}
